// The two user files through the window: exact bytes on Ctrl+S and at
// exit, loading at start-up before the locked definitions, Ctrl+L, and
// the message box for a damaged file.
#include <QDataStream>
#include <QTest>

#include "tests/shell/qt/qt_test_registry.h"
#include "tests/shell/qt/window_fixture.h"

namespace vx::test {

namespace {

QByteArray i32(qint32 v) {
    QByteArray b;
    QDataStream s(&b, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << v;
    return b;
}
QByteArray f64(double v) {
    QByteArray b;
    QDataStream s(&b, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s.setFloatingPointPrecision(QDataStream::DoublePrecision);
    s << v;
    return b;
}
QByteArray cstr(const char* s) { return QByteArray(s) + QByteArray(1, '\0'); }

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

class UserDataFilesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesTheDocumentedBytes() {
        struct Case {
            const char* session;
            QByteArray data;
        } cases[] = {
            {"new(L,{1,2})", QByteArray(1, 0x24) + cstr("L") + i32(2) + f64(1) + f64(0) + f64(2) + f64(0)},
            {"newfunc(f,x,x^2)", QByteArray("f") + cstr("f") + i32(1) + cstr("x") + i32(9) + cstr("x") + i32(1) +
                                     f64(2) + f64(0) + i32(4) + QByteArray("^") + QByteArray(1, 0) + i32(2) + i32(0)},
            {"1+1", QByteArray()},
        };
        for (const Case& c : cases) {
            WindowFixture f;
            f.submit(c.session);
            QVERIFY(f.waitIdle());
            f.window->runCommand(kCmdSaveUserData);
            QCOMPARE(f.window->statusText(), QString("Successfully saved user data"));
            QCOMPARE(readFile(f.dataPath("vxdata.vxd")), c.data);
            QByteArray options = readFile(f.dataPath("vxopts.vxd"));
            QCOMPARE(options.size(), 120);
            QCOMPARE(options.left(4), i32(1));
            QVERIFY(QFileInfo(f.dataPath("vxdata.vxd")).isFile());
        }
    }

    void roundTripAcrossRestarts() {
        QTemporaryDir folder;
        QByteArray first;
        {
            WindowFixture f(folder.path());
            f.submit("new(a,1+2i)\nnew(M,[1,2][3,4])\nnewfunc(h,x,y,[x,y]*2)\nnewcoords(mine,u,v,[u,v*2])");
            QVERIFY(f.waitIdle());
            f.window->runCommand(kCmdSyntaxHighlighting);  // off, saved with the options
            f.window->close();
            first = readFile(folder.filePath("vxdata.vxd"));
        }
        WindowFixture f(folder.path());
        QVERIFY(f.output().startsWith("Reading user data...\nLoaded value 'a'\nLoaded value 'M'\n"
                                      "Loaded function 'h'\nLoaded coords 'mine'\nFinished reading user data\n"
                                      "Vexalo is finished loading.\n"));
        QVERIFY(!f.window->syntaxHighlighting());
        QVERIFY(!f.window->actions()->menuItem(kCmdSyntaxHighlighting)->isChecked());
        f.submit("a\nh(1,2)\nchangecoords([1,1],coords=mine)");
        QVERIFY(f.waitIdle());
        QVERIFY(f.output().endsWith(">  1+2i\n>  [[2,4]]\n>  [[1,2]]\n"));
        f.window->runCommand(kCmdSaveUserData);
        QCOMPARE(readFile(f.dataPath("vxdata.vxd")), first);
    }

    void userEntriesComeBeforeTheLockedDefinitions() {
        QTemporaryDir folder;
        writeFile(folder.filePath("vxdata.vxd"), QByteArray("#") + cstr("pi") + f64(3) + f64(0));
        WindowFixture f(folder.path());
        f.submit("pi");
        QVERIFY(f.waitIdle());
        QVERIFY(f.output().endsWith(">  3.14159265359\n"));
        // Loading again skips the locked name.
        f.window->outputPane()->clear();
        f.window->runCommand(kCmdLoadUserData);
        QCOMPARE(f.output(), QString("Reading user data...\nFinished reading user data\n"));
        QCOMPARE(f.window->statusText(), QString("Finished reading user data"));
    }

    void damagedFilesShowAMessageAndKeepTheRest() {
        QTemporaryDir folder;
        writeFile(folder.filePath("vxdata.vxd"), QByteArray("#") + cstr("ok") + f64(1) + f64(0) + "x");
        QByteArray options(120, '\0');
        options.replace(4 + 6 * 4, 4, i32(50));  // zoom
        writeFile(folder.filePath("vxopts.vxd"), options);
        WindowFixture f(folder.path());
        QCOMPARE(f.errors, QStringList{"Error reading file: Invalid data identifier"});
        QVERIFY(f.output().contains("Loaded value 'ok'\nFinished reading user data\n"));
        QCOMPARE(f.window->displaySettings().zoom, 50);
        QVERIFY(!f.window->syntaxHighlighting());

        // A short options file is ignored as a whole.
        QTemporaryDir other;
        writeFile(other.filePath("vxopts.vxd"), QByteArray(119, '\0'));
        WindowFixture g(other.path());
        QVERIFY(g.window->syntaxHighlighting());
        QCOMPARE(g.window->displaySettings().zoom, 72);
    }

    void failedSaveSaysSo() {
        QTemporaryDir folder;
        QDir(folder.path()).mkdir("vxdata.vxd");  // a folder where the file should go
        WindowFixture f(folder.path());
        f.window->runCommand(kCmdSaveUserData);
        QCOMPARE(f.window->statusText(), QString("Could not save user data"));
        QCOMPARE(f.errors.size(), 1);
        QVERIFY(f.errors[0].startsWith("Error saving user data: "));
    }
};

VX_QT_TEST(UserDataFilesTest);

}  // namespace vx::test

#include "user_data_files_test.moc"
