#pragma once
// One running program per user: a later start hands its file to the
// running window over a local socket and ends.
#include <QLocalServer>
#include <QObject>
#include <QString>

namespace vx {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString serverName, QObject* parent = nullptr);

    // The server name for the current user.
    static QString defaultServerName();

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
