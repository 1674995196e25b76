// One running copy per user: the first copy listens on a local socket named after the program
// and the user; a later launch connects, says so and ends. A lock file makes connect-or-listen
// one step, so launches at the same moment still agree on a single first copy.
#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

#include <memory>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

#include "platform/qt/qt_internal.h"

namespace lekta::qtplat {
namespace {

constexpr char HELLO[] = "second launch\n";
constexpr qsizetype HELLO_SIZE = sizeof(HELLO) - 1;
constexpr int LOCK_WAIT_MS = 10000;
constexpr int SOCKET_WAIT_MS = 2000;

void (*g_handler)() = nullptr;
QLocalServer* g_server = nullptr;

QString server_name_for(const char16_t* name) {
    QString base = QString::fromUtf16(name);
    for (QChar& c : base)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-' && c != u'_' && c != u'.')
            c = u'_';
#if defined(Q_OS_UNIX)
    QString user = QString::number(::getuid());
#else
    QString user = qEnvironmentVariable("USERNAME");
#endif
    return base + u'-' + user;
}

QString lock_path(const QString& server_name) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir)) dir = QDir::tempPath();
    return dir + u'/' + server_name + QStringLiteral(".lock");
}

// Reads the greeting of one connection; anything else is dropped.
void serve(QLocalSocket* socket) {
    auto received = std::make_shared<QByteArray>();
    auto read = [socket, received] {
        *received += socket->read(HELLO_SIZE - received->size());
        if (received->size() < HELLO_SIZE) return;
        bool hello = *received == QByteArray(HELLO, HELLO_SIZE);
        socket->disconnect();
        socket->abort();
        socket->deleteLater();
        // Queued, so that the handler runs from the loop itself and may open dialogs.
        if (hello && g_handler)
            QMetaObject::invokeMethod(QCoreApplication::instance(), g_handler,
                                      Qt::QueuedConnection);
    };
    QObject::connect(socket, &QLocalSocket::readyRead, socket, read);
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(SOCKET_WAIT_MS * 2, socket, [socket] { socket->abort(); });
    if (socket->bytesAvailable() > 0) read();
}

bool tell_running_copy(const QString& server_name) {
    QLocalSocket socket;
    socket.connectToServer(server_name);
    if (!socket.waitForConnected(SOCKET_WAIT_MS)) return false;
    socket.write(HELLO, HELLO_SIZE);
    socket.waitForBytesWritten(SOCKET_WAIT_MS);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(SOCKET_WAIT_MS);
    return true;
}

}  // namespace
}  // namespace lekta::qtplat

namespace lekta::plat {

bool claim_single_instance(const char16_t* name) {
    // Without an application object there is no loop to listen on.
    if (!name || !QCoreApplication::instance()) return true;
    const QString server_name = qtplat::server_name_for(name);
    if (qtplat::g_server && qtplat::g_server->serverName() == server_name) return true;

    QLockFile lock(qtplat::lock_path(server_name));
    const bool locked = lock.tryLock(qtplat::LOCK_WAIT_MS);
    if (qtplat::tell_running_copy(server_name)) return false;

    // Nobody answered: a socket still there was left by a copy that crashed. Without the lock
    // (a holder stuck for seconds) it might be a copy just starting, so it is left alone.
    if (locked) QLocalServer::removeServer(server_name);
    auto* server = new QLocalServer(QCoreApplication::instance());
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(server_name)) {
        // Run alone rather than not at all.
        delete server;
        return true;
    }
    QObject::connect(server, &QLocalServer::newConnection, server, [server] {
        while (QLocalSocket* socket = server->nextPendingConnection())
            qtplat::serve(socket);
    });
    qtplat::g_server = server;
    return true;
}

void set_second_launch_handler(void (*handler)()) {
    qtplat::g_handler = handler;
}

}  // namespace lekta::plat
