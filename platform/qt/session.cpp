// The GUI session: the application object, the message loop and window capture.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QIcon>
#include <QIconEngine>
#include <QLibraryInfo>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QWidget>

#if !defined(_WIN32) && !defined(__APPLE__)
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#endif

#include "lekta_version.h"
#include "platform/qt/qt_internal.h"

namespace lekta::qtplat {
namespace {

bool g_quit_posted = false;
int g_quit_code = 0;

#if !defined(_WIN32) && !defined(__APPLE__)
bool connects(const char* path, bool abstract) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    size_t offset = abstract ? 1 : 0;
    size_t len = std::min(std::strlen(path), sizeof(addr.sun_path) - 1 - offset);
    std::memcpy(addr.sun_path + offset, path, len);
    socklen_t size = socklen_t(offsetof(sockaddr_un, sun_path) + offset + len);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), size) == 0;
    ::close(fd);
    return ok;
}

// Whether DISPLAY names an X server that answers. A local display is tried on its socket; a
// remote one is taken on trust.
bool x_display_answers() {
    QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) return false;
    qsizetype colon = display.lastIndexOf(':');
    if (colon < 0) return false;
    QByteArray host = display.left(colon);
    if (!host.isEmpty() && host != "unix") return true;
    QByteArray number = display.mid(colon + 1);
    qsizetype dot = number.indexOf('.');
    if (dot >= 0) number = number.left(dot);
    bool ok = false;
    int n = number.toInt(&ok);
    if (!ok || n < 0) return false;
    QByteArray path = "/tmp/.X11-unix/X" + QByteArray::number(n);
    return connects(path.constData(), false) || connects(path.constData(), true);
}

bool wayland_usable() {
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return false;
    QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    return !platforms.entryList({QStringLiteral("*wayland*")}, QDir::Files).isEmpty();
}
#endif

// Constructing the application without a display ends the process, so look first.
bool display_available() {
#if defined(_WIN32) || defined(__APPLE__)
    return true;
#else
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return true;
    return x_display_answers() || wayland_usable();
#endif
}

// The program's icon, its pictures read when a size is first asked for: a window system that
// shows no window icons never pays for decoding them.
class ProgramIconEngine : public QIconEngine {
  public:
    explicit ProgramIconEngine(QList<int> sizes) : sizes_(std::move(sizes)) {}

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> list;
        for (int size : sizes_)
            list.append(QSize(size, size));
        return list;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = best_size(size);
        return QSize(side, side).scaled(size, Qt::KeepAspectRatio);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const int side = best_size(size);
        QPixmap& picture = pictures_[side];
        if (picture.isNull()) picture.load(QStringLiteral(":/lekta/icons/%1.png").arg(side));
        if (picture.isNull()) return picture;
        QPixmap result = picture.size() == size
                             ? picture
                             : picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode == QIcon::Disabled)
            result = QApplication::style()->generatedIconPixmap(mode, result, nullptr);
        return result;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

    QIconEngine* clone() const override { return new ProgramIconEngine(*this); }
    QString key() const override { return QStringLiteral("lekta-program"); }

  private:
    // The smallest picture at least as large as asked, else the largest.
    int best_size(const QSize& size) const {
        const int want = std::max(size.width(), size.height());
        for (int side : sizes_)
            if (side >= want) return side;
        return sizes_.isEmpty() ? 0 : sizes_.last();
    }

    QList<int> sizes_;  // ascending
    QHash<int, QPixmap> pictures_;
};

// The program's icon on its windows, from the pictures built into the program (a test program
// has none). The desktop file name ties the windows to the installed menu entry and its icon.
void set_program_icon() {
    QList<int> sizes;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        if (QFile::exists(QStringLiteral(":/lekta/icons/%1.png").arg(size))) sizes.append(size);
    if (!sizes.isEmpty()) QApplication::setWindowIcon(QIcon(new ProgramIconEngine(sizes)));
    QGuiApplication::setDesktopFileName(QStringLiteral(LEKTA_APP_ID));
    QCoreApplication::setApplicationVersion(QStringLiteral(LEKTA_VERSION_TEXT));
}

}  // namespace
}  // namespace lekta::qtplat

namespace lekta::plat {

bool init_gui(int& argc, char** argv) {
    if (QCoreApplication::instance())
        return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    if (!qtplat::display_available()) return false;
    auto* app = new QApplication(argc, argv);
    // The program ends its loop itself, after saving, when its main window is destroyed.
    app->setQuitOnLastWindowClosed(false);
    qtplat::set_program_icon();
    qtplat::install_accessibility();
    return true;
}

int run_message_loop() {
    // A quit posted before the loop ends it at once, as a queued quit message would.
    if (qtplat::g_quit_posted || !QCoreApplication::instance()) {
        qtplat::g_quit_posted = false;
        return qtplat::g_quit_code;
    }
    int code = QCoreApplication::exec();
    qtplat::g_quit_posted = false;
    return code;
}

void post_quit_message(int code) {
    qtplat::g_quit_posted = true;
    qtplat::g_quit_code = code;
    if (QCoreApplication::instance()) QCoreApplication::exit(code);
}

// Light compression: the picture is written at once, while the program waits to end.
constexpr int kPngQuality = 80;

bool save_window_image(Window* window, const char* path) {
    if (!window || window->kind != Window::Kind::main || !window->alive || !window->top || !path)
        return false;
    const QPixmap pixmap = window->top->grab();
    const QString name = QString::fromLocal8Bit(path);
    const bool bmp = name.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive);
    return !pixmap.isNull() && pixmap.save(name, bmp ? "BMP" : "PNG", bmp ? -1 : kPngQuality);
}

}  // namespace lekta::plat
