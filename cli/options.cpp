#include "cli/options.h"

#include <getopt.h>

#include <cstdlib>

namespace vx {

const char* const kCliUsage =
    "Usage: vexalo-cli [OPTIONS] [FILE]\n"
    "Runs FILE (or standard input when FILE is '-') as one submission and\n"
    "prints the answers. Without FILE or -e, reads standard input when it is\n"
    "not a terminal, otherwise starts an interactive session.\n"
    "\n"
    "Options:\n"
    "  -e, --eval TEXT   run TEXT as one submission\n"
    "      --data-dir DIR\n"
    "                    load the user data (vxdata.vxd, vxopts.vxd) from DIR\n"
    "                    before the run and save it there afterwards\n"
    "      --export-obj SLOT PATH\n"
    "                    after running FILE, compute plot SLOT with the quality\n"
    "                    settings and write its mesh to PATH as OBJ; status\n"
    "                    texts go to standard error\n"
    "      --export-png SLOT PATH [WIDTHxHEIGHT]\n"
    "                    after running FILE, compute plot SLOT and write its\n"
    "                    picture to PATH as a PNG image (default 640x480).\n"
    "                    Drawing uses OpenGL and needs an X display; without\n"
    "                    one, run under xvfb-run. Status texts go to standard\n"
    "                    error\n"
    "  -h, --help        show this help\n"
    "  -V, --version     show the version\n"
    "  --                end of options: what follows is the FILE\n"
    "\n"
    "Exit status: 0 when every statement answered without an error, 3 when at\n"
    "least one answered with an error message, 1 when FILE cannot be read, an\n"
    "export fails or the output cannot be written, 2 on a usage error, 130\n"
    "after Ctrl+C.\n";

namespace {

enum LongOnly { kDataDir = 256, kExportObj, kExportPng };

bool readSlot(const char* text, int& slot) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < 0 || value > 1000000) return false;
    slot = static_cast<int>(value);
    return true;
}

}  // namespace

CliAction parseCommandLine(int argc, char** argv, CliOptions& o, std::string& error) {
    static const option kLong[] = {
        {"eval", required_argument, nullptr, 'e'},
        {"data-dir", required_argument, nullptr, kDataDir},
        {"export-obj", required_argument, nullptr, kExportObj},
        {"export-png", required_argument, nullptr, kExportPng},
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'V'},
        {nullptr, 0, nullptr, 0},
    };
    auto usage = [&error](std::string message) {
        error = std::move(message);
        return CliAction::UsageError;
    };
    opterr = 0;
    optind = 0;  // a fresh scan, also when called a second time
    // -v stays as a quiet alias of -V: the desktop program has always taken it.
    for (int c; (c = getopt_long(argc, argv, ":e:hVv", kLong, nullptr)) != -1;) {
        switch (c) {
            case 'e':
                if (o.haveEval) return usage("give one FILE or one -e TEXT");
                o.evalText = optarg;
                o.haveEval = true;
                break;
            case kDataDir:
                if (!*optarg) return usage("--data-dir needs a folder");
                o.dataDir = optarg;
                break;
            case kExportObj:
                // The second operand is taken from the next word.
                if (optind >= argc) return usage("--export-obj needs a SLOT and a PATH");
                if (!readSlot(optarg, o.objSlot)) return usage("SLOT must be a plot number");
                o.objPath = argv[optind++];
                o.exportObj = true;
                break;
            case kExportPng:
                if (optind >= argc) return usage("--export-png needs a SLOT and a PATH");
                if (!readSlot(optarg, o.png.slot)) return usage("SLOT must be a plot number");
                o.png.path = argv[optind++];
                if (optind < argc && parseImageSize(argv[optind], o.png.width, o.png.height)) ++optind;
                o.exportPng = true;
                break;
            case 'h': return CliAction::Help;
            case 'V':
            case 'v': return CliAction::Version;
            case ':':
                switch (optopt) {
                    case 'e': return usage("-e needs a text");
                    case kDataDir: return usage("--data-dir needs a folder");
                    case kExportObj: return usage("--export-obj needs a SLOT and a PATH");
                    case kExportPng: return usage("--export-png needs a SLOT and a PATH");
                    default: return usage(std::string("option needs a value: ") + argv[optind - 1]);
                }
            default:
                if (optopt) return usage(std::string("unknown option '-") + static_cast<char>(optopt) + "'");
                return usage(std::string("unknown option '") + argv[optind - 1] + "'");
        }
    }
    for (int k = optind; k < argc; ++k) {
        if (o.haveFile || o.haveEval) return usage("give one FILE or one -e TEXT");
        o.file = argv[k];
        o.haveFile = true;
    }
    if (o.exportObj && !o.haveFile && !o.haveEval) return usage("--export-obj needs a FILE to run");
    if (o.exportPng && !o.haveFile && !o.haveEval) return usage("--export-png needs a FILE to run");
    return CliAction::Run;
}

}  // namespace vx
