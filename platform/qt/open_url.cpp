// Web addresses go to the desktop's URL handler.
//
// QUrl rewrites escapes of unreserved characters ("%2D" becomes "-"), so QDesktopServices would
// not pass on the address exactly as the program built it. Where the desktop's opener is
// xdg-open (which QDesktopServices itself runs on Linux desktops) it gets the text unchanged.
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "platform/open_url.h"

namespace lekta::plat {

void open_url(Window*, const char16_t* url) {
    if (!url) return;
    const QString text = QString::fromUtf16(url);
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty() && QProcess::startDetached(opener, {text})) return;
#endif
    QDesktopServices::openUrl(QUrl::fromEncoded(text.toUtf8(), QUrl::StrictMode));
}

}  // namespace lekta::plat
