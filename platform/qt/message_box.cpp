// Message boxes: modal Qt boxes in a GUI session, one line on standard error otherwise.
#include <QApplication>
#include <QMessageBox>

#include <cerrno>
#include <cstdio>

#include "platform/qt/qt_internal.h"

namespace lekta::qtplat {
namespace {

int g_modal_depth = 0;

// What a box without a caption of its own is titled: the main window's title while there is
// one, else the program's name.
QString application_name() {
    if (plat::Window* main = first_main_window()) return main->top->windowTitle();
    QString name = QCoreApplication::instance() ? QCoreApplication::applicationName() : QString();
#if defined(__GLIBC__)
    if (name.isEmpty()) name = QString::fromLocal8Bit(program_invocation_short_name);
#endif
    return name;
}

QMessageBox::Icon icon_of(uint32_t style) {
    switch (style & 0xF0) {
        case 0x10:
            return QMessageBox::Critical;
        case 0x20:
            return QMessageBox::Question;
        case 0x30:
            return QMessageBox::Warning;
        case 0x40:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

ModalScope::ModalScope() {
    ++g_modal_depth;
}
ModalScope::~ModalScope() {
    --g_modal_depth;
}

}  // namespace lekta::qtplat

namespace lekta::plat {

int message_box(Window* owner, const char16_t* text, const char16_t* caption, uint32_t style) {
    QString body = qtplat::to_qstring(text);
    QString title = caption ? qtplat::to_qstring(caption) : qtplat::application_name();
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        body.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        body.replace(u'\r', u' ').replace(u'\n', u' ');
        std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(),
                     body.toLocal8Bit().constData());
        std::fflush(stderr);
        return IDOK;
    }
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QWidget* parent = qtplat::alive_client(owner) ? static_cast<QWidget*>(owner->top) : nullptr;
    QMessageBox box(qtplat::icon_of(style), title, body, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    qtplat::ModalScope modal;
    box.exec();
    return IDOK;
}

bool modal_dialog_open() {
    return qtplat::g_modal_depth > 0 ||
           (qobject_cast<QApplication*>(QCoreApplication::instance()) &&
            QApplication::activeModalWidget());
}

}  // namespace lekta::plat
