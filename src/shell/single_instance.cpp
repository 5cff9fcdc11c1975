#include "shell/single_instance.h"

#include <unistd.h>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>

namespace rek {
namespace {

constexpr int kConnectRetryMs = 3000;  // the running instance may still be starting up
constexpr quint32 kMaxPathBytes = 1 << 20;

}  // namespace

SingleInstance::SingleInstance(QString runtimeDir, QObject* parent)
    : QObject(parent), runtimeDir_(std::move(runtimeDir)) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
}

SingleInstance::~SingleInstance() {
    server_.close();
}

QString SingleInstance::defaultRuntimeDir() {
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QDir(xdg).exists())
        return xdg;
    const QString fallback = QDir::temp().filePath(QStringLiteral("rektool-%1").arg(getuid()));
    QDir().mkpath(fallback);
    QFile::setPermissions(fallback,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return fallback;
}

QString SingleInstance::lockPath() const {
    return QDir(runtimeDir_).filePath(QStringLiteral("rektool.lock"));
}

QString SingleInstance::socketPath() const {
    return QDir(runtimeDir_).filePath(QStringLiteral("rektool.socket"));
}

bool SingleInstance::claim() {
    QDir().mkpath(runtimeDir_);
    lock_ = std::make_unique<QLockFile>(lockPath());
    // Never stale by age: a live instance keeps its lock however long it runs. A lock whose
    // process has died is still recognised and taken over.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        lock_.reset();
        return false;
    }
    // We own the lock, so any socket file left behind is a crashed instance's.
    QLocalServer::removeServer(socketPath());
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    // Without a socket (a runtime path too long for a socket address, say) a second start
    // cannot hand its file over, but this is still the one instance: holding the lock and
    // refusing to start would leave the user with no editor at all.
    server_.listen(socketPath());
    return true;
}

SingleInstance::HandOff SingleInstance::sendOpenRequest(const std::string& path) {
    QLocalSocket socket;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(500))
            break;
        if (waited.elapsed() > kConnectRetryMs)
            return HandOff::NoInstance;
        QThread::msleep(100);
    }

    const QByteArray bytes = QByteArray::fromStdString(path);
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << static_cast<quint32>(bytes.size());
    message.append(bytes);
    socket.write(message);
    if (!socket.waitForBytesWritten(5000))
        return HandOff::NoInstance;

    // The running instance may ask the user whether to save first: wait as long as it takes.
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(-1))
            break;
    }
    socket.disconnectFromServer();
    return HandOff::Delivered;
}

void SingleInstance::setOpenHandler(std::function<bool(const std::string&)> handler) {
    handler_ = std::move(handler);
    // A handler may run an event loop, in which other waiting senders can go away.
    QList<QPointer<QLocalSocket>> waiting;
    for (QLocalSocket* socket : server_.findChildren<QLocalSocket*>())
        waiting.append(socket);
    for (const QPointer<QLocalSocket>& socket : waiting) {
        if (socket)
            serve(socket);
    }
}

void SingleInstance::onNewConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { serve(socket); });
    }
}

void SingleInstance::serve(QLocalSocket* socket) {
    if (!handler_ || socket->property("handled").toBool())
        return;
    if (socket->bytesAvailable() < 4)
        return;
    QDataStream in(socket->peek(4));
    quint32 length = 0;
    in >> length;
    if (length > kMaxPathBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < 4 + static_cast<qint64>(length))
        return;
    socket->read(4);
    const std::string path = socket->read(length).toStdString();
    socket->setProperty("handled", true);
    // The handler may ask the user first; the sender can vanish meanwhile.
    QPointer<QLocalSocket> guard(socket);
    const bool ok = handler_(path);
    if (guard && guard->state() == QLocalSocket::ConnectedState) {
        socket->write(ok ? "1" : "0", 1);
        socket->flush();
    }
}

}  // namespace rek
