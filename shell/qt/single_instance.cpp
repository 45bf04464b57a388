#include "shell/qt/single_instance.h"

#include <unistd.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QTimer>
#include <memory>

#include "shell/batch_request.h"

namespace vx {

namespace {
constexpr int kTimeoutMs = 2000;
}

SingleInstance::SingleInstance(QString serverName, QObject* parent) : QObject(parent), name_(std::move(serverName)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

QString SingleInstance::serverName(const QString& runtimeDir, const QString& session, const QString& display,
                                   unsigned userId) {
    QString name = QString("vexalo-%1-%2").arg(session.isEmpty() ? QString::number(userId) : session,
                                               display.isEmpty() ? QString("none") : display);
    // ":0", "localhost:10.0" and "wayland-0" become parts of one file name.
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != '-' && c != '.') c = '_';
    if (!runtimeDir.isEmpty()) return runtimeDir + "/" + name;
    // The temporary folder is shared: the user id keeps users apart.
    return name + "-" + QString::number(userId);
}

QString SingleInstance::defaultServerName() {
    // The runtime folder is the user's own (mode 0700); the session id tells
    // two logins of the same user apart.
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.startsWith('/') || !QFileInfo(runtime).isDir()) runtime.clear();
    QString platform = QGuiApplication::platformName();
    QString display = qEnvironmentVariable(platform.startsWith("wayland") ? "WAYLAND_DISPLAY" : "DISPLAY");
    if (display.isEmpty()) display = platform;
    return serverName(runtime, qEnvironmentVariable("XDG_SESSION_ID"), display, ::getuid());
}

bool SingleInstance::sendToRunning(const QString& path) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kTimeoutMs)) return false;
    std::string message = encodeBatchRequest(path.toStdString());
    socket.write(message.data(), static_cast<qint64>(message.size()));
    if (!socket.waitForBytesWritten(kTimeoutMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kTimeoutMs);
    return true;
}

bool SingleInstance::listen() {
    // Listening with an access option replaces whatever socket has the
    // name, a live one included, so a live instance is asked for first.
    QLocalSocket probe;
    probe.connectToServer(name_);
    if (probe.waitForConnected(kTimeoutMs)) return false;
    // A socket file left behind by a program that ended without cleaning up.
    QLocalServer::removeServer(name_);
    return server_.listen(name_);
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        auto received = std::make_shared<QByteArray>();
        // The sender is another process: a request that is too long, too
        // slow or malformed is dropped.
        auto readRequest = [this, socket, received] {
            received->append(socket->readAll());
            std::string path;
            switch (decodeBatchRequest(std::string_view(received->constData(), static_cast<size_t>(received->size())),
                                       path)) {
                case RequestState::Incomplete: return;
                case RequestState::Invalid: socket->abort(); return;
                case RequestState::Complete: break;
            }
            received->clear();
            socket->disconnectFromServer();
            if (path.empty())
                Q_EMIT activationRequested(QString());
            else if (isRunnableBatchPath(path))
                Q_EMIT activationRequested(QString::fromStdString(path));
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequest);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kTimeoutMs, socket, [socket] { socket->abort(); });
        if (socket->bytesAvailable() > 0) readRequest();
        if (socket->state() == QLocalSocket::UnconnectedState) socket->deleteLater();
    }
}

}  // namespace vx
