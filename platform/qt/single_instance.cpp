// One running copy per user, display and settings file: the first copy listens on a local
// socket named after the program and those three; a later launch connects, greets it with a line of
// words of its own (what it was asked to show) and ends. A lock file makes connect-or-listen one
// step, so launches at the same moment still agree on a single first copy. Plain Unix-domain
// sockets watched by the Qt loop: Qt's own local sockets would bring in its network library, whose
// loading alone costs every start-up a few milliseconds.
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#if defined(Q_OS_UNIX)
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include "platform/qt/qt_internal.h"

namespace lekta::qtplat {
namespace {

void (*g_handler)(const char*) = nullptr;

#if defined(Q_OS_UNIX)

// The greeting: this line, then the launch's words and a newline. A copy that sends the first
// line alone hands over with no words.
constexpr char HELLO[] = "second launch\n";
constexpr size_t HELLO_SIZE = sizeof(HELLO) - 1;
constexpr size_t MAX_GREETING = 256;
constexpr int LOCK_WAIT_MS = 10000;
constexpr int SOCKET_WAIT_MS = 2000;

std::string g_socket_path;  // the socket of this copy, once it listens

// The socket goes when the copy ends, so that the next one finds no stale one (a crashed copy
// leaves it; the next launch then clears it under the lock).
void remove_socket() {
    if (!g_socket_path.empty()) ::unlink(g_socket_path.c_str());
    g_socket_path.clear();
}

// The display a launch shows on: ":15.0" and ":15" are the same display.
QString display_name() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
    const qsizetype colon = display.lastIndexOf(u':');
    const qsizetype dot = display.lastIndexOf(u'.');
    if (colon >= 0 && dot > colon) display.truncate(dot);
    return display;
}

// One copy per user, display and settings file: a launch on another display, or with other
// settings, is a reader of its own. The two are hashed to keep the socket's path short.
QString name_for(const char16_t* name) {
    QString base = QString::fromUtf16(name);
    for (QChar& c : base)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-' && c != u'_' && c != u'.')
            c = u'_';
    const QString settings = QFileInfo(registry_path()).absoluteFilePath();
    const QByteArray where = (display_name() + u'\n' + settings).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(where, QCryptographicHash::Sha256).toHex();
    return base + u'-' + QString::number(::getuid()) + u'-' + QString::fromLatin1(hash.left(16));
}

QString rendezvous_dir() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir)) dir = QDir::tempPath();
    return dir;
}

// The socket's address; false when the path does not fit one.
bool socket_address(const QString& path, sockaddr_un* address) {
    const QByteArray bytes = QFile::encodeName(path);
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    if (bytes.isEmpty() || size_t(bytes.size()) >= sizeof address->sun_path) return false;
    std::memcpy(address->sun_path, bytes.constData(), size_t(bytes.size()));
    return true;
}

void set_timeouts(int fd, int ms) {
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
}

// The greeting for the words: kept to one line of printable ASCII that fits the limit.
std::string greeting(const char* words) {
    std::string text(HELLO);
    for (const char* c = words ? words : ""; *c && text.size() < MAX_GREETING - 1; ++c)
        text += (*c >= 0x20 && *c < 0x7F) ? *c : ' ';
    return text + '\n';
}

bool tell_running_copy(const sockaddr_un& address, const std::string& message) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    set_timeouts(fd, SOCKET_WAIT_MS);
    bool told = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    size_t sent = 0;
    while (told && sent < message.size()) {
        const ssize_t n = ::send(fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            told = false;
        else
            sent += size_t(n);
    }
    if (told) {
        // Waits for the running copy to close its end, so the greeting has surely arrived.
        ::shutdown(fd, SHUT_WR);
        char byte;
        while (::recv(fd, &byte, 1, 0) > 0) {
        }
    }
    ::close(fd);
    return told;
}

// The words of a whole greeting; false when it is not one.
bool words_of(const QByteArray& received, std::string* words) {
    if (!received.startsWith(QByteArray(HELLO, qsizetype(HELLO_SIZE)))) return false;
    const QByteArray rest = received.mid(qsizetype(HELLO_SIZE));
    const qsizetype end = rest.indexOf('\n');
    // Only the greeting's first line from a launch that has no words.
    if (end < 0 && !rest.isEmpty()) return false;
    *words = rest.left(end < 0 ? 0 : end).toStdString();
    return true;
}

// Reads the greeting of one connection up to the caller's end of it; anything else is dropped.
void serve(int fd) {
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, QCoreApplication::instance());
    auto received = std::make_shared<QByteArray>();
    auto finished = std::make_shared<bool>(false);
    auto finish = [notifier, fd, finished] {
        if (*finished) return;
        *finished = true;
        notifier->setEnabled(false);
        notifier->deleteLater();
        ::close(fd);
    };
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [received, finish, fd] {
        char buffer[MAX_GREETING];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
        if (n > 0) received->append(buffer, n);
        // The caller ends its side once it has said all; a greeting past the limit is no
        // greeting.
        if (n > 0 && size_t(received->size()) <= MAX_GREETING) return;
        std::string words;
        const bool hello = n == 0 && words_of(*received, &words);
        finish();
        // Queued, so that the handler runs from the loop itself and may open dialogs.
        if (hello && g_handler) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [words] { g_handler(words.c_str()); },
                Qt::QueuedConnection);
        }
    });
    // A caller that never finishes its greeting is dropped.
    QTimer::singleShot(SOCKET_WAIT_MS * 2, notifier, finish);
}

bool listen_on(const QString& path, const sockaddr_un& address) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    // Only this user may connect: the socket is created without access for anyone else.
    const mode_t old_mask = ::umask(0077);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::umask(old_mask);
    if (!bound || ::listen(fd, 16) != 0) {
        ::close(fd);
        return false;
    }
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [fd] {
        for (;;) {
            const int client = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (client < 0) {
                if (errno == EINTR) continue;
                return;
            }
            serve(client);
        }
    });
    QObject::connect(notifier, &QObject::destroyed, [fd] {
        ::close(fd);
        remove_socket();
    });
    static const bool removed_at_exit = std::atexit(remove_socket) == 0;
    (void)removed_at_exit;
    g_socket_path = QFile::encodeName(path).toStdString();
    return true;
}

#endif

}  // namespace
}  // namespace lekta::qtplat

namespace lekta::plat {

bool claim_single_instance(const char16_t* name, const char* words) {
    // Without an application object there is no loop to listen on.
    if (!name || !QCoreApplication::instance()) return true;
#if defined(Q_OS_UNIX)
    const QString base = qtplat::name_for(name);
    const QString dir = qtplat::rendezvous_dir();
    const QString path = dir + u'/' + base + QStringLiteral(".socket");
    if (qtplat::g_socket_path == QFile::encodeName(path).toStdString()) return true;
    sockaddr_un address;
    // A path too long for a socket address: run alone rather than not at all.
    if (!qtplat::socket_address(path, &address)) return true;

    QLockFile lock(dir + u'/' + base + QStringLiteral(".lock"));
    const bool locked = lock.tryLock(qtplat::LOCK_WAIT_MS);
    if (qtplat::tell_running_copy(address, qtplat::greeting(words))) return false;

    // Nobody answered: a socket still there was left by a copy that crashed. Without the lock
    // (a holder stuck for seconds) it might be a copy just starting, so it is left alone.
    if (locked) QFile::remove(path);
    qtplat::listen_on(path, address);  // when it fails, runs alone rather than not at all
    return true;
#else
    return true;  // one rendezvous only where Unix-domain sockets are
#endif
}

void set_second_launch_handler(void (*handler)(const char* words)) {
    qtplat::g_handler = handler;
}

}  // namespace lekta::plat
