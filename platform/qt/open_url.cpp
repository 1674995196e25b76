// Web addresses go to the desktop's URL handler. When the desktop cannot open one (no browser,
// no handler), a box says so and shows the address, selectable and with a button that copies
// it, so that the user can take it to a browser by hand.
//
// QUrl rewrites escapes of unreserved characters ("%2D" becomes "-"), so QDesktopServices would
// not pass on the address exactly as the program built it. Where the desktop's opener is
// xdg-open (which QDesktopServices itself runs on Linux desktops) it gets the text unchanged;
// its answer arrives when it ends, and the reader goes on meanwhile.
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

#include "platform/open_url.h"
#include "platform/qt/qt_internal.h"

namespace lekta::qtplat {
namespace {

void tell_not_opened(QWidget* parent, const QString& url) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    QMessageBox box(QMessageBox::Information, QStringLiteral("Lekta"),
                    QStringLiteral("No web browser could open this address:\n\n%1").arg(url),
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QPushButton* copy = box.addButton(QStringLiteral("Copy Address"), QMessageBox::ActionRole);
    copy->setObjectName(QStringLiteral("copy_address"));
    // Copying leaves the box open: the user may still read the address.
    copy->disconnect();
    QObject::connect(copy, &QPushButton::clicked, copy,
                     [url] { QGuiApplication::clipboard()->setText(url); });
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    keep_centred_over(&box, parent, false);
    ModalScope modal;
    box.exec();
    if (parent) parent->activateWindow();
}

}  // namespace
}  // namespace lekta::qtplat

namespace lekta::plat {

void open_url(Window* owner, const char16_t* url) {
    if (!url) return;
    const QString text = QString::fromUtf16(url);
    QPointer<QWidget> parent =
        qtplat::alive_client(owner) ? static_cast<QWidget*>(owner->top) : nullptr;
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty()) {
        // No parent: a process still running when the reader ends (xdg-open may wait for the
        // browser it started) is left running, where a parent would kill it.
        auto* process = new QProcess;
        // Its complaints are for the box, not for the terminal.
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        QObject::connect(process, &QProcess::finished, process,
                         [process, parent, text](int code, QProcess::ExitStatus status) {
                             process->deleteLater();
                             if (status != QProcess::NormalExit || code != 0)
                                 qtplat::tell_not_opened(parent, text);
                         });
        QObject::connect(process, &QProcess::errorOccurred, process,
                         [process, parent, text](QProcess::ProcessError error) {
                             if (error != QProcess::FailedToStart) return;
                             process->deleteLater();
                             qtplat::tell_not_opened(parent, text);
                         });
        process->start(opener, {text});
        return;
    }
#endif
    if (!QDesktopServices::openUrl(QUrl::fromEncoded(text.toUtf8(), QUrl::StrictMode)))
        qtplat::tell_not_opened(parent, text);
}

}  // namespace lekta::plat
