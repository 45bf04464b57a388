// vexalo-cli: the engine without a window, for scripts, tests and a
// terminal session.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>

#include "cli/input_text.h"
#include "cli/interactive.h"
#include "cli/interrupt.h"
#include "cli/options.h"
#include "cli/png_export.h"
#include "cli/stdout_sink.h"
#include "engine/session.h"
#include "engine/startup.h"
#include "plot/obj_export.h"
#include "shell/standard_library.h"
#include "shell/user_data_files.h"
#include "vexalo_version.h"

namespace {

// Exit statuses; the README and the manual page list them.
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kErrorAnswers = 3;
constexpr int kInterrupted = 130;

int usageError(const std::string& message) {
    std::fprintf(stderr, "vexalo-cli: %s\nTry 'vexalo-cli --help'.\n", message.c_str());
    return kUsage;
}

int firstWriteError = 0;

void flushOutput() {
    if (std::fflush(stdout) != 0 && !firstWriteError) firstWriteError = errno;
}

// Answers that never reached their reader are a failure, whatever the
// statements said.
int finishOutput(int status) {
    flushOutput();
    if (!std::ferror(stdout)) return status;
    std::fprintf(stderr, "vexalo-cli: write error: %s\n",
                 firstWriteError ? std::strerror(firstWriteError) : "output failed");
    return status == kInterrupted ? status : kFailed;
}

// Computes plot `slot` and writes its OBJ file; the exit status.
// `meanwhile` runs on this thread while the plot is computed.
int exportObj(vx::Engine& engine, vx::StdoutSink& sink, int slot, const std::string& path,
              const std::function<void()>& meanwhile) {
    vx::PlotRegistry& plots = vx::plotRegistry(engine);
    vx::HeadlessPlotHost& host = plots.headlessHost();
    host.onStatus = [](std::string_view text) {
        if (text.starts_with("Precalculating ")) return;  // progress
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    };
    host.onOutput = [&sink](std::string_view text) { sink.appendOutput(text); };
    const vx::PlotRecord* record = plots.record(slot);
    if (!record) {
        std::fprintf(stderr, "Plot %i does not exist\n", slot);
        return kFailed;
    }
    if (!vx::isMeshKind(record->kind)) {
        std::fprintf(stderr, "%s\n", vx::kCannotExport);
        return kFailed;
    }
    if (!plots.startPrecalculation(slot)) return kFailed;
    meanwhile();
    plots.waitForWorker();
    if (!plots.meshReady.load()) return kFailed;
    return vx::exportPlotObj(plots, slot, path) == vx::ObjExport::Written ? 0 : kFailed;
}

}  // namespace

int main(int argc, char** argv) {
    vx::CliOptions o;
    std::string error;
    switch (vx::parseCommandLine(argc, argv, o, error)) {
        case vx::CliAction::Help: std::fputs(vx::kCliUsage, stdout); return finishOutput(0);
        case vx::CliAction::Version:
            std::fputs("vexalo-cli " VX_VERSION_TEXT "\n"
                       "Copyright (c) The Vexalo developers\n"
                       "This is free software under the MIT License; there is NO WARRANTY.\n",
                       stdout);
            return finishOutput(0);
        case vx::CliAction::UsageError: return usageError(error);
        case vx::CliAction::Run: break;
    }
    if (o.exportPng && !vx::pngExportBuiltIn()) return vx::handOffPngExport(argv);

    std::string text;
    bool interactive = false;
    if (o.haveEval) {
        text = o.evalText;
    } else if (o.haveFile && o.file != "-") {
        if (int reason = vx::readNamedFile(o.file, text)) {
            std::fputs("Error opening file\n", stdout);
            std::fprintf(stderr, "vexalo-cli: cannot open '%s': %s\n", o.file.c_str(), std::strerror(reason));
            return finishOutput(kFailed);
        }
        text = vx::withoutByteOrderMark(text);
    } else if (o.haveFile || !isatty(STDIN_FILENO)) {
        if (int reason = vx::readDescriptor(STDIN_FILENO, text)) {
            std::fprintf(stderr, "vexalo-cli: cannot read standard input: %s\n", std::strerror(reason));
            return kFailed;
        }
        text = vx::withoutByteOrderMark(text);
    } else {
        interactive = true;
    }

    bool colour = isatty(STDOUT_FILENO) && !std::getenv("NO_COLOR");
    vx::StdoutSink sink(stdout, colour);
    vx::Engine engine;
    // The user's definitions are installed before the locked start-up
    // definitions, as the desktop program does.
    vx::installStandardLibrary();
    vx::Options options;
    if (!o.dataDir.empty()) {
        vx::UserDataLoad load = vx::loadUserDataFiles(o.dataDir, engine.stores, [](const std::string&) {});
        if (load.options) options = *load.options;
        vx::PlotRegistry& plots = vx::plotRegistry(engine);
        plots.display = options.display;
        plots.quality = options.quality;
        if (!load.data.error.empty()) std::fprintf(stderr, "vexalo-cli: %s\n", load.data.error.c_str());
    }
    vx::runStartupDefinitions(engine);
    engine.output = &sink;
    vx::installInterruptHandler(engine, interactive ? vx::InterruptMode::Session : vx::InterruptMode::Run);
    if (interactive) {
        vx::runInteractive(engine);
    } else {
        engine.working.store(1);
        vx::submitText(engine, text);
    }
    bool interrupted = vx::runInterrupted();
    int status = 0;
    // The user files are taken now (the exports change neither) and
    // written while the plot to export is computed: their sync waits for
    // the disk, and for a large file written just before.
    std::optional<vx::UserDataBytes> unsaved;
    if (!o.dataDir.empty()) unsaved = vx::encodeUserDataFiles(options, engine.stores);
    std::string saveError;
    auto save = [&] {
        if (unsaved) saveError = vx::saveUserDataFiles(o.dataDir, *unsaved);
        unsaved.reset();
    };
    if (o.exportObj && !interrupted) status = exportObj(engine, sink, o.objSlot, o.objPath, save);
    flushOutput();
    if (o.exportPng && !interrupted && status == 0) status = vx::exportPlotPng(engine, sink, o.png, argc, argv);
    save();
    if (!saveError.empty()) {
        std::fprintf(stderr, "vexalo-cli: could not save user data: %s\n", saveError.c_str());
        status = kFailed;
    }
    if (vx::runInterrupted())
        status = kInterrupted;
    else if (status == 0 && !interactive && engine.errorAnswers > 0)
        status = kErrorAnswers;
    return finishOutput(status);
}
