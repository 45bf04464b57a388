// vexalo: the desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSurfaceFormat>
#include <QTimer>

#include "shell/qt/main_window.h"
#include "shell/qt/plot_area.h"
#include "shell/qt/plot_gl_widget.h"
#include "shell/qt/single_instance.h"
#include "shell/qt/termination_signals.h"

int main(int argc, char** argv) {
    // The plot renderer draws with the fixed-function pipeline.
    QSurfaceFormat format;
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);

    QApplication app(argc, argv);
    vx::setPlotAreaFactory(vx::plotGLAreaFactory());
    QApplication::setApplicationName("vexalo");
    QApplication::setApplicationDisplayName("Vexalo");
    QApplication::setApplicationVersion("v06.19.07");
    QApplication::setDesktopFileName("vexalo");

    QCommandLineParser parser;
    parser.setApplicationDescription("Vexalo mathematics workbench");
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption dataDir("data-dir", "Keep the user data (vxdata.vxd, vxopts.vxd) in DIR.", "DIR");
    parser.addOption(dataDir);
    parser.addPositionalArgument("file", "A batch file (.vxs) to run.", "[file]");
    parser.process(app);

    QString file;
    if (!parser.positionalArguments().isEmpty()) file = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();

    vx::SingleInstance instance(vx::SingleInstance::defaultServerName());
    if (instance.sendToRunning(file)) return 0;

    vx::MainWindowOptions options;
    options.dataDir = parser.isSet(dataDir) ? QDir(parser.value(dataDir)).absolutePath()
                                            : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    vx::MainWindow window(options);
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
    if (!file.isEmpty()) QTimer::singleShot(0, &window, [&window, file] { window.runBatch(file); });
    return app.exec();
}
