#pragma once
// One running program per login session and display: a later start there
// hands its file to the running window over a local socket and ends. A
// start on another display, or in another login session, opens its own.
#include <QLocalServer>
#include <QObject>
#include <QString>

namespace vx {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString serverName, QObject* parent = nullptr);

    // The socket for this login session and display (the application's
    // platform must exist).
    static QString defaultServerName();
    // The socket path in `runtimeDir` (a plain name in the temporary folder
    // when there is none) for a session, a display and the user id.
    static QString serverName(const QString& runtimeDir, const QString& session, const QString& display,
                              unsigned userId);

    // Sends the (absolute) path, or an empty one only to raise the window,
    // to a running instance. False when none answers.
    bool sendToRunning(const QString& path);
    // Becomes the running instance. False when it cannot listen.
    bool listen();

Q_SIGNALS:
    // Another start asked to be shown, with a checked file path or none.
    void activationRequested(const QString& path);

private:
    void accept();

    QString name_;
    QLocalServer server_;
};

}  // namespace vx
