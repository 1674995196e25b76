// Message boxes: modal Qt boxes in a GUI session, one line on standard error otherwise.
#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

#include <cerrno>
#include <cstdio>

#include "platform/qt/qt_internal.h"

namespace lekta::qtplat {
namespace {

int g_modal_depth = 0;

// A title bar's buttons and margins beside its text.
constexpr int TITLE_ROOM = 120;

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
        // Nobody can answer a question here: it is left unanswered, as by closing the box.
        return (style & 0xF) == MB_YESNOCANCEL ? IDCLOSE : IDOK;
    }
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QWidget* parent = qtplat::alive_client(owner) ? static_cast<QWidget*>(owner->top) : nullptr;
    const bool yes_no_cancel = (style & 0xF) == MB_YESNOCANCEL;
    const QMessageBox::StandardButtons buttons =
        yes_no_cancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel : QMessageBox::Ok;
    QMessageBox box(qtplat::icon_of(style), title, body, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (yes_no_cancel) {
        // Escape and the close box press a button of their own, never shown, so that backing
        // out is told apart from the Cancel button.
        QPushButton* close = box.addButton(QMessageBox::Close);
        close->hide();
        box.setEscapeButton(close);
    }
    // Wide enough for its title, which a window manager would otherwise cut short.
    const int title_width = box.fontMetrics().horizontalAdvance(title) + qtplat::TITLE_ROOM;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(title_width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    qtplat::keep_centred_over(&box, parent, false);
    qtplat::ModalScope modal;
    const int pressed = box.exec();
    // The reader takes the keys back, with or without a window manager to hand them over.
    if (parent) parent->activateWindow();
    if (!yes_no_cancel) return IDOK;
    if (pressed == QMessageBox::Yes) return IDYES;
    if (pressed == QMessageBox::No) return IDNO;
    if (pressed == QMessageBox::Cancel) return 2;  // IDCANCEL
    return IDCLOSE;
}

bool modal_dialog_open() {
    return qtplat::g_modal_depth > 0 ||
           (qobject_cast<QApplication*>(QCoreApplication::instance()) &&
            QApplication::activeModalWidget());
}

}  // namespace lekta::plat
