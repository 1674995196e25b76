// List boxes and combo boxes: items, sorted insertion and the selection. The program's own
// changes do not notify: a dialog procedure hears only of what the user did.
#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

#include "platform/qt/qt_internal.h"

namespace lekta::qtplat {
namespace {

QString item_text(QWidget* w, int i) {
    if (auto* l = qobject_cast<QListWidget*>(w)) return l->item(i) ? l->item(i)->text() : QString();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->itemText(i);
    return {};
}

int item_count(QWidget* w) {
    if (auto* l = qobject_cast<QListWidget*>(w)) return l->count();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->count();
    return 0;
}

void select(QWidget* w, int i) {
    const QSignalBlocker block(w);
    if (auto* l = qobject_cast<QListWidget*>(w)) {
        l->setCurrentRow(i);
        if (i >= 0 && l->item(i)) l->scrollToItem(l->item(i));
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        c->setCurrentIndex(i);
    }
}

std::u16string to_u16(const QString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size()));
}

}  // namespace
}  // namespace lekta::qtplat

namespace lekta::plat {

void list_reset(Window* dialog, uint16_t id) {
    QWidget* w = qtplat::control_widget(dialog, id);
    const QSignalBlocker block(w);
    if (auto* l = qobject_cast<QListWidget*>(w))
        l->clear();
    else if (auto* c = qobject_cast<QComboBox*>(w))
        c->clear();
}

int32_t list_add(Window* dialog, uint16_t id, const char16_t* text) {
    DialogControl* control = dialog ? dialog->find_control(id) : nullptr;
    QWidget* w = qtplat::control_widget(dialog, id);
    if (!control || !w) return -1;
    const QString s = qtplat::to_qstring(text);
    int at = qtplat::item_count(w);
    if (control->style & CS_SORT) {
        int lo = 0, hi = at;  // after the equal ones
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (QString::compare(qtplat::item_text(w, mid), s, Qt::CaseInsensitive) <= 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        at = lo;
    }
    const QSignalBlocker block(w);
    if (auto* l = qobject_cast<QListWidget*>(w))
        l->insertItem(at, s);
    else if (auto* c = qobject_cast<QComboBox*>(w))
        c->insertItem(at, s);
    else
        return -1;
    return at;
}

int32_t list_count(Window* dialog, uint16_t id) {
    return qtplat::item_count(qtplat::control_widget(dialog, id));
}

std::u16string list_text(Window* dialog, uint16_t id, int32_t index) {
    QWidget* w = qtplat::control_widget(dialog, id);
    if (index < 0 || index >= qtplat::item_count(w)) return {};
    return qtplat::to_u16(qtplat::item_text(w, index));
}

int32_t list_selection(Window* dialog, uint16_t id) {
    QWidget* w = qtplat::control_widget(dialog, id);
    if (auto* l = qobject_cast<QListWidget*>(w)) return l->currentRow();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentIndex();
    return -1;
}

void list_set_selection(Window* dialog, uint16_t id, int32_t index) {
    QWidget* w = qtplat::control_widget(dialog, id);
    if (!w) return;
    qtplat::select(w, index >= 0 && index < qtplat::item_count(w) ? index : -1);
}

int32_t list_select_prefix(Window* dialog, uint16_t id, int32_t start, const char16_t* prefix) {
    QWidget* w = qtplat::control_widget(dialog, id);
    const int n = qtplat::item_count(w);
    const QString p = qtplat::to_qstring(prefix);
    for (int k = 1; k <= n; ++k) {
        const int i = ((start < 0 ? -1 : start) + k) % n;
        if (qtplat::item_text(w, i).startsWith(p, Qt::CaseInsensitive)) {
            qtplat::select(w, i);
            return i;
        }
    }
    return -1;
}

}  // namespace lekta::plat
