// Edit boxes: the limit, the selection and typing into the selection.
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>

#include "platform/qt/qt_internal.h"

namespace lekta::plat {

void limit_text(Window* dialog, uint16_t id, int32_t max_chars) {
    if (auto* e = qobject_cast<QLineEdit*>(qtplat::control_widget(dialog, id)))
        e->setMaxLength(max_chars > 0 ? max_chars : 32767);
}

void select_text(Window* dialog, uint16_t id, int32_t start, int32_t end) {
    QWidget* w = qtplat::control_widget(dialog, id);
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        const int len = int(e->text().size());
        if (start < 0) {  // no selection; the caret stays
            const int caret = e->cursorPosition();
            e->deselect();
            e->setCursorPosition(caret);
            return;
        }
        if (end < 0) end = len;
        start = std::min(start, len);
        end = std::min(end, len);
        // The caret goes to end, as with EM_SETSEL.
        e->setSelection(start, end - start);
    } else if (auto* t = qobject_cast<QTextEdit*>(w)) {
        QTextCursor cursor = t->textCursor();
        const int len = int(t->toPlainText().size());
        if (start < 0) {
            cursor.clearSelection();
        } else {
            if (end < 0) end = len;
            cursor.setPosition(std::min(start, len));
            cursor.setPosition(std::min(end, len), QTextCursor::KeepAnchor);
        }
        t->setTextCursor(cursor);
    }
}

TextSelection text_selection(Window* dialog, uint16_t id) {
    QWidget* w = qtplat::control_widget(dialog, id);
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (!e->hasSelectedText()) return {e->cursorPosition(), e->cursorPosition()};
        return {int32_t(e->selectionStart()), int32_t(e->selectionEnd())};
    }
    if (auto* t = qobject_cast<QTextEdit*>(w)) {
        const QTextCursor c = t->textCursor();
        return {int32_t(c.selectionStart()), int32_t(c.selectionEnd())};
    }
    return {};
}

void replace_selection(Window* dialog, uint16_t id, const char16_t* text) {
    QWidget* w = qtplat::control_widget(dialog, id);
    const QSignalBlocker block(w);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->insert(qtplat::to_qstring(text));  // within the limit, undoable
    else if (auto* t = qobject_cast<QTextEdit*>(w))
        t->insertPlainText(qtplat::to_qstring(text));
}

}  // namespace lekta::plat
