// A later start hands its file to the running one; what arrives is checked.
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "shell/qt/single_instance.h"
#include "tests/shell/qt/qt_test_registry.h"

namespace vx::test {

class SingleInstanceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void oneSocketPerSessionAndDisplay() {
        const QString runtime = "/run/user/1000";
        QCOMPARE(SingleInstance::serverName(runtime, "3", ":0", 1000), QString("/run/user/1000/vexalo-3-_0"));
        QVERIFY(SingleInstance::serverName(runtime, "3", ":1", 1000) != SingleInstance::serverName(runtime, "3", ":0", 1000));
        QVERIFY(SingleInstance::serverName(runtime, "4", ":0", 1000) != SingleInstance::serverName(runtime, "3", ":0", 1000));
        // No runtime folder or session: the shared temporary folder, told
        // apart by the user id.
        QCOMPARE(SingleInstance::serverName("", "", "localhost:10.0", 1000), QString("vexalo-1000-localhost_10.0-1000"));
    }

    void handsOverCheckedPaths() {
        const QString name = QString("vexalo-test-%1").arg(QCoreApplication::applicationPid());
        SingleInstance running(name);
        QVERIFY(!running.sendToRunning(QString()));  // nobody there yet
        QVERIFY(running.listen());
        SingleInstance second(name);
        QVERIFY(!second.listen());  // the first one is alive
        QSignalSpy spy(&running, &SingleInstance::activationRequested);

        QTemporaryDir folder;
        QString file = folder.filePath("a.vxs");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();

        QVERIFY(second.sendToRunning(file));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.takeFirst().at(0).toString(), file);
        QVERIFY(second.sendToRunning(QString()));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.takeFirst().at(0).toString(), QString());

        // Not a readable regular file, relative, or malformed: ignored.
        for (const QString& bad : {folder.path(), folder.filePath("missing.vxs"), QString("a.vxs")})
            QVERIFY(second.sendToRunning(bad));
        QLocalSocket raw;
        raw.connectToServer(name);
        QVERIFY(raw.waitForConnected(2000));
        raw.write(QByteArray("\xff\xff\xff\x7f" "abc", 7));
        raw.waitForBytesWritten(2000);
        QTest::qWait(300);
        QCOMPARE(spy.count(), 0);
    }
};

VX_QT_TEST(SingleInstanceTest);

}  // namespace vx::test

#include "single_instance_test.moc"
