// vexalo's --help and --version need no display; bad options are usage
// errors (status 2), as in vexalo-cli.
#include <QTest>

#include "tests/shell/qt/qt_test_registry.h"
#include "tests/support/run_process.h"
#include "vexalo_version.h"

namespace vx::test {

class CommandLineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersWithoutADisplay() {
        struct Case {
            const char* args;
            int status;
            const char* outStart;
        } cases[] = {
            {"--version", 0, "vexalo " VX_VERSION_TEXT "\n"},
            {"-V", 0, "vexalo " VX_VERSION_TEXT "\n"},
            {"--help", 0, "Usage: vexalo [OPTIONS] [FILE]\n"},
            {"-h", 0, "Usage: vexalo [OPTIONS] [FILE]\n"},
            {"--bogus", 2, ""},
            {"--data-dir", 2, ""},
            {"a.vxs b.vxs", 2, ""},
        };
        for (const Case& c : cases) {
            ProcessResult r = runProcess(std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '") +
                                         VX_DESKTOP_PATH + "' " + c.args + " 2>/dev/null");
            QCOMPARE(r.status, c.status);
            QVERIFY2(r.out.rfind(c.outStart, 0) == 0, c.args);
            if (!*c.outStart) QCOMPARE(r.out, std::string());
        }
    }
};

VX_QT_TEST(CommandLineTest);

}  // namespace vx::test

#include "command_line_test.moc"
