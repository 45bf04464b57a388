// vexalo: the desktop program.
#include <getopt.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSurfaceFormat>
#include <QTimer>
#include <cstdio>
#include <string>

#include "shell/qt/main_window.h"
#include "shell/qt/plot_area.h"
#include "shell/qt/plot_gl_widget.h"
#include "shell/qt/single_instance.h"
#include "shell/qt/termination_signals.h"
#include "vexalo_version.h"

namespace {

constexpr const char* kUsage =
    "Usage: vexalo [OPTIONS] [FILE]\n"
    "Starts the Vexalo mathematics workbench. FILE, a batch file (.vxs), runs\n"
    "once the window is open; when Vexalo already runs in this login session\n"
    "on this display, FILE runs in that window instead.\n"
    "\n"
    "Options:\n"
    "      --data-dir DIR  keep the user data (vxdata.vxd, vxopts.vxd) in DIR\n"
    "                      instead of ~/.local/share/vexalo\n"
    "  -h, --help          show this help\n"
    "  -V, --version       show the version\n"
    "  --                  end of options: what follows is the FILE\n"
    "Qt's own options (-platform, -style, ...) are passed on to Qt.\n";

struct DesktopOptions {
    QString dataDir;
    QString file;
};

enum class Action { Run, Done, UsageError };

// Read before any window system is touched, so that --help and --version
// work without a display. Single-dash long options are Qt's (-style
// fusion): accepted here and left in argv for QApplication.
Action parseCommandLine(int argc, char** argv, DesktopOptions& options) {
    enum { kDataDir = 256, kQtWithValue, kQtFlag };
    static const option kLong[] = {
        {"data-dir", required_argument, nullptr, kDataDir},
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'V'},
        {"platform", required_argument, nullptr, kQtWithValue},
        {"platformtheme", required_argument, nullptr, kQtWithValue},
        {"plugin", required_argument, nullptr, kQtWithValue},
        {"display", required_argument, nullptr, kQtWithValue},
        {"geometry", required_argument, nullptr, kQtWithValue},
        {"qwindowgeometry", required_argument, nullptr, kQtWithValue},
        {"qwindowtitle", required_argument, nullptr, kQtWithValue},
        {"style", required_argument, nullptr, kQtWithValue},
        {"stylesheet", required_argument, nullptr, kQtWithValue},
        {"reverse", no_argument, nullptr, kQtFlag},
        {nullptr, 0, nullptr, 0},
    };
    auto usage = [](const std::string& message) {
        std::fprintf(stderr, "vexalo: %s\nTry 'vexalo --help'.\n", message.c_str());
        return Action::UsageError;
    };
    opterr = 0;
    // -v stays as a quiet alias of -V: earlier versions took it.
    for (int c; (c = getopt_long_only(argc, argv, ":hVv", kLong, nullptr)) != -1;) {
        switch (c) {
            case kDataDir:
                if (!*optarg) return usage("--data-dir needs a folder");
                options.dataDir = QDir(QString::fromLocal8Bit(optarg)).absolutePath();
                break;
            case kQtWithValue:
            case kQtFlag: break;
            case 'h': std::fputs(kUsage, stdout); return Action::Done;
            case 'V':
            case 'v':
                std::fputs("vexalo " VX_VERSION_TEXT "\n"
                           "Copyright (c) The Vexalo developers\n"
                           "This is free software under the MIT License; there is NO WARRANTY.\n",
                           stdout);
                return Action::Done;
            case ':': return usage(std::string("option needs a value: ") + argv[optind - 1]);
            default: return usage(std::string("unknown option '") + argv[optind - 1] + "'");
        }
    }
    if (argc - optind > 1) return usage("give one FILE");
    if (optind < argc) options.file = QFileInfo(QString::fromLocal8Bit(argv[optind])).absoluteFilePath();
    return Action::Run;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication::setApplicationName("vexalo");
    QApplication::setApplicationDisplayName("Vexalo");
    QApplication::setApplicationVersion(VX_VERSION_TEXT);
    QApplication::setDesktopFileName("io.github.vexalo.Vexalo");

    DesktopOptions options;
    switch (parseCommandLine(argc, argv, options)) {
        case Action::Done: return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
        case Action::UsageError: return 2;
        case Action::Run: break;
    }

    // The plot renderer draws with the fixed-function pipeline.
    QSurfaceFormat format;
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);

    QApplication app(argc, argv);
    vx::setPlotAreaFactory(vx::plotGLAreaFactory());

    vx::SingleInstance instance(vx::SingleInstance::defaultServerName());
    if (instance.sendToRunning(options.file)) return 0;

    vx::MainWindowOptions windowOptions;
    windowOptions.dataDir = !options.dataDir.isEmpty()
                                ? options.dataDir
                                : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    vx::MainWindow window(windowOptions);
    instance.listen();
    QObject::connect(&instance, &vx::SingleInstance::activationRequested, &window, [&window](const QString& path) {
        window.showNormal();
        window.raise();
        window.activateWindow();
        if (!path.isEmpty()) window.runBatch(path);
    });
    vx::TerminationSignals signals;
    QObject::connect(&signals, &vx::TerminationSignals::terminationRequested, &window, &QWidget::close);
    window.show();
    QString file = options.file;
    if (!file.isEmpty()) QTimer::singleShot(0, &window, [&window, file] { window.runBatch(file); });
    return app.exec();
}
