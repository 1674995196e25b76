// What we draw ourselves, told to assistive programs through Qt's accessibility: a client area
// whose window has a source gets an interface that adds the source's nodes after its child
// widgets. Qt makes interfaces only when an assistive program asks, so none of this runs, and
// no source is asked, while nobody listens.
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QVariant>
#include <QWidget>

#include <memory>

#include "platform/qt/qt_internal.h"

namespace lekta::qtplat {
namespace {

constexpr char WINDOW_PROPERTY[] = "lekta_window";

QAccessible::Role role_of(plat::AccessibleRole role) {
    switch (role) {
        case plat::AccessibleRole::document:
            return QAccessible::Document;
        case plat::AccessibleRole::heading:
            return QAccessible::Heading;
        case plat::AccessibleRole::paragraph:
            return QAccessible::Paragraph;
        case plat::AccessibleRole::label:
            return QAccessible::StaticText;
        case plat::AccessibleRole::button:
            return QAccessible::Button;
        case plat::AccessibleRole::cell:
            return QAccessible::Cell;
        case plat::AccessibleRole::tree_item:
            return QAccessible::TreeItem;
    }
    return QAccessible::NoRole;
}

QString qstring(const std::u16string& s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

class ClientAccessible;

// What the client's interface and its nodes share; the nodes outlive it (Qt owns them).
struct Shared {
    ClientAccessible* client = nullptr;
    std::vector<plat::AccessibleNode> nodes;
};

// One node of the source: its data read afresh from the shared list on every question.
class NodeAccessible : public QAccessibleInterface, public QAccessibleTextInterface {
  public:
    NodeAccessible(std::shared_ptr<Shared> shared, int index)
        : shared_(std::move(shared)), index_(index) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface && node() && !node()->text.empty())
            return static_cast<QAccessibleTextInterface*>(this);
        return nullptr;
    }

    // The text interface: readable text, its reading position and its selection.
    void selection(int i, int* start, int* end) const override {
        const plat::AccessibleNode* n = node();
        *start = *end = 0;
        if (i == 0 && n && n->selection_end > n->selection_start) {
            *start = n->selection_start;
            *end = n->selection_end;
        }
    }
    int selectionCount() const override {
        const plat::AccessibleNode* n = node();
        return n && n->selection_end > n->selection_start ? 1 : 0;
    }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return node() ? node()->caret : 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        const plat::AccessibleNode* n = node();
        if (!n) return {};
        const int count = int(n->text.size());
        start = std::clamp(start, 0, count);
        end = end < 0 ? count : std::clamp(end, start, count);
        return QString::fromUtf16(n->text.data() + start, end - start);
    }
    int characterCount() const override { return node() ? int(node()->text.size()) : 0; }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = 0;
        *end = std::max(offset, characterCount());
        return {};
    }

    void set_index(int index) { index_ = index; }

  private:
    const plat::AccessibleNode* node() const {
        if (!shared_->client || index_ < 0 || size_t(index_) >= shared_->nodes.size())
            return nullptr;
        return &shared_->nodes[size_t(index_)];
    }
    QAccessibleInterface* node_interface(int index) const;
    std::vector<int> children() const;

    std::shared_ptr<Shared> shared_;
    int index_;
};

// A client area: its child widgets first, then the source's top nodes.
class ClientAccessible : public QAccessibleWidget {
  public:
    ClientAccessible(QWidget* widget, plat::Window* window)
        : QAccessibleWidget(widget, QAccessible::Client),
          window_(window),
          shared_(std::make_shared<Shared>()) {
        shared_->client = this;
    }
    ~ClientAccessible() override {
        shared_->client = nullptr;
        // Qt owns the nodes' interfaces; while it is not ending they go with the client.
        if (!QCoreApplication::closingDown())
            for (QAccessible::Id id : ids_)
                if (QAccessible::accessibleInterface(id))
                    QAccessible::deleteAccessibleInterface(id);
    }

    // Asks the source again when the nodes changed since the last time.
    void refresh() {
        if (!window_->alive || asked_ == window_->accessible_generation + 1) return;
        asked_ = window_->accessible_generation + 1;
        shared_->nodes.clear();
        if (window_->accessible_source) window_->accessible_source(window_, shared_->nodes);
        // One interface per place in the list: places beyond the new list are let go.
        while (nodes_.size() > shared_->nodes.size()) {
            const QAccessible::Id id = ids_.back();
            nodes_.pop_back();
            ids_.pop_back();
            if (QAccessible::accessibleInterface(id)) QAccessible::deleteAccessibleInterface(id);
        }
        while (nodes_.size() < shared_->nodes.size()) {
            auto* node = new NodeAccessible(shared_, int(nodes_.size()));
            nodes_.push_back(node);
            ids_.push_back(QAccessible::registerAccessibleInterface(node));
        }
    }
    const std::vector<plat::AccessibleNode>& nodes() {
        refresh();
        return shared_->nodes;
    }
    // The nodes as last asked, without asking again.
    const std::vector<plat::AccessibleNode>& nodes_seen() const { return shared_->nodes; }
    QAccessibleInterface* node(int index) {
        refresh();
        return index >= 0 && size_t(index) < nodes_.size() ? nodes_[size_t(index)] : nullptr;
    }
    int node_index(const QAccessibleInterface* iface) const {
        for (size_t i = 0; i < nodes_.size(); ++i)
            if (nodes_[i] == iface) return int(i);
        return -1;
    }
    std::vector<int> top_nodes() {
        std::vector<int> top;
        const auto& list = nodes();
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].parent < 0 || size_t(list[i].parent) >= list.size()) top.push_back(int(i));
        return top;
    }
    QRect screen_rect(const plat::Rect& r) const {
        if (r.right <= r.left || r.bottom <= r.top) return {};
        const QPoint origin = widget()->mapToGlobal(QPoint(0, 0));
        return QRect(origin.x() + r.left, origin.y() + r.top, r.right - r.left, r.bottom - r.top);
    }

    // The child widgets that show something: the focus frame is drawing only.
    std::vector<QAccessibleInterface*> widget_children() const {
        std::vector<QAccessibleInterface*> out;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            QAccessibleInterface* c = QAccessibleWidget::child(i);
            if (c && (!window_->focus_frame || c->object() != window_->focus_frame.data()))
                out.push_back(c);
        }
        return out;
    }
    int childCount() const override {
        auto* self = const_cast<ClientAccessible*>(this);
        return int(widget_children().size() + self->top_nodes().size());
    }
    QAccessibleInterface* child(int index) const override {
        const std::vector<QAccessibleInterface*> list = widget_children();
        const int widgets = int(list.size());
        if (index < 0) return nullptr;
        if (index < widgets) return list[size_t(index)];
        auto* self = const_cast<ClientAccessible*>(this);
        const std::vector<int> top = self->top_nodes();
        const size_t k = size_t(index - widgets);
        return k < top.size() ? self->node(top[k]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<QAccessibleInterface*> list = widget_children();
        const int n = node_index(child);
        if (n < 0) {
            for (size_t k = 0; k < list.size(); ++k)
                if (list[k] == child) return int(k);
            return -1;
        }
        auto* self = const_cast<ClientAccessible*>(this);
        const std::vector<int> top = self->top_nodes();
        for (size_t k = 0; k < top.size(); ++k)
            if (top[k] == n) return int(list.size() + k);
        return -1;
    }
    QAccessibleInterface* focusChild() const override {
        auto* self = const_cast<ClientAccessible*>(this);
        if (widget()->hasFocus()) {
            const auto& list = self->nodes();
            for (size_t i = 0; i < list.size(); ++i)
                if (list[i].state & plat::ACC_FOCUSED) return self->node(int(i));
        }
        return QAccessibleWidget::focusChild();
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && !window_->announcement.empty())
            return qstring(window_->announcement);
        return QAccessibleWidget::text(t);
    }

    plat::Window* platform_window() const { return window_; }

  private:
    plat::Window* window_;
    std::shared_ptr<Shared> shared_;
    std::vector<NodeAccessible*> nodes_;
    std::vector<QAccessible::Id> ids_;
    uint32_t asked_ = 0;  // the generation last asked for, plus one; 0: never
};

bool NodeAccessible::isValid() const {
    return node() != nullptr;
}

QWindow* NodeAccessible::window() const {
    return shared_->client ? shared_->client->window() : nullptr;
}

QAccessibleInterface* NodeAccessible::node_interface(int index) const {
    return shared_->client ? shared_->client->node(index) : nullptr;
}

std::vector<int> NodeAccessible::children() const {
    std::vector<int> out;
    for (size_t i = 0; i < shared_->nodes.size(); ++i)
        if (shared_->nodes[i].parent == index_) out.push_back(int(i));
    return out;
}

QAccessibleInterface* NodeAccessible::parent() const {
    const plat::AccessibleNode* n = node();
    if (!n) return nullptr;
    if (n->parent >= 0 && size_t(n->parent) < shared_->nodes.size())
        return node_interface(n->parent);
    return shared_->client;
}

QAccessibleInterface* NodeAccessible::child(int index) const {
    const std::vector<int> list = children();
    return index >= 0 && size_t(index) < list.size() ? node_interface(list[size_t(index)])
                                                     : nullptr;
}

int NodeAccessible::childCount() const {
    return int(children().size());
}

int NodeAccessible::indexOfChild(const QAccessibleInterface* iface) const {
    if (!shared_->client) return -1;
    const int n = shared_->client->node_index(iface);
    const std::vector<int> list = children();
    for (size_t k = 0; k < list.size(); ++k)
        if (list[k] == n) return int(k);
    return -1;
}

QAccessibleInterface* NodeAccessible::childAt(int x, int y) const {
    for (int i = 0; i < childCount(); ++i)
        if (QAccessibleInterface* c = child(i); c && c->rect().contains(x, y)) return c;
    return nullptr;
}

QString NodeAccessible::text(QAccessible::Text t) const {
    const plat::AccessibleNode* n = node();
    if (!n) return {};
    if (t == QAccessible::Name) return qstring(n->name.empty() ? n->text : n->name);
    if (t == QAccessible::Description && n->role == plat::AccessibleRole::tree_item)
        return QStringLiteral("level %1").arg(n->level);
    if (t == QAccessible::Value && n->role == plat::AccessibleRole::heading)
        return QString::number(n->level);
    return {};
}

QRect NodeAccessible::rect() const {
    const plat::AccessibleNode* n = node();
    return n && shared_->client ? shared_->client->screen_rect(n->rect) : QRect();
}

QAccessible::Role NodeAccessible::role() const {
    const plat::AccessibleNode* n = node();
    return n ? role_of(n->role) : QAccessible::NoRole;
}

QAccessible::State NodeAccessible::state() const {
    QAccessible::State s;
    const plat::AccessibleNode* n = node();
    if (!n) {
        s.invalid = true;
        return s;
    }
    s.focusable = (n->state & plat::ACC_FOCUSABLE) != 0;
    s.focused = (n->state & plat::ACC_FOCUSED) != 0;
    s.selectable = s.focusable;
    s.selected = (n->state & plat::ACC_SELECTED) != 0;
    s.expandable = (n->state & plat::ACC_EXPANDABLE) != 0;
    s.expanded = s.expandable && (n->state & plat::ACC_EXPANDED) != 0;
    s.collapsed = s.expandable && !s.expanded;
    s.readOnly = !n->text.empty();
    s.invisible = n->rect.right <= n->rect.left;
    s.offscreen = s.invisible;
    if (n->role == plat::AccessibleRole::document) s.multiLine = true;
    return s;
}

plat::Window* window_of(QObject* object) {
    if (!object) return nullptr;
    const QVariant v = object->property(WINDOW_PROPERTY);
    return v.isValid() ? reinterpret_cast<plat::Window*>(v.value<quintptr>()) : nullptr;
}

QAccessibleInterface* factory(const QString&, QObject* object) {
    plat::Window* window = window_of(object);
    if (!window || !object->isWidgetType()) return nullptr;
    return new ClientAccessible(static_cast<QWidget*>(object), window);
}

ClientAccessible* client_interface(plat::Window* window) {
    if (!window || !window->alive || !window->client) return nullptr;
    return dynamic_cast<ClientAccessible*>(QAccessible::queryAccessibleInterface(window->client));
}

// The readable nodes' text, reading position and selection, to tell what moved.
struct TextState {
    std::u16string text;
    int32_t caret = 0, selection_start = 0, selection_end = 0;
};

std::vector<TextState> text_states(const std::vector<plat::AccessibleNode>& nodes) {
    std::vector<TextState> out;
    for (const plat::AccessibleNode& n : nodes)
        out.push_back({n.text, n.caret, n.selection_start, n.selection_end});
    return out;
}

}  // namespace

void mark_accessible_client(QWidget* client, plat::Window* window) {
    client->setProperty(WINDOW_PROPERTY, QVariant::fromValue(reinterpret_cast<quintptr>(window)));
}

void install_accessibility() {
    QAccessible::installFactory(factory);
}

}  // namespace lekta::qtplat

namespace lekta::plat {

void set_accessible_source(Window* window, AccessibleSource source) {
    if (!window) return;
    window->accessible_source = source;
    ++window->accessible_generation;
}

bool accessibility_active() {
    return QAccessible::isActive();
}

void accessible_changed(Window* window, AccessibleChange change, int32_t node,
                        const std::u16string& announcement) {
    if (!window || !window->alive) return;
    if (change == AccessibleChange::content) ++window->accessible_generation;
    if (!announcement.empty()) window->announcement = announcement;
    if (!QAccessible::isActive()) return;
    qtplat::ClientAccessible* client = qtplat::client_interface(window);
    if (!client) return;
    if (change == AccessibleChange::content) {
        // What the readable nodes held before, against what they hold now.
        const std::vector<qtplat::TextState> before = qtplat::text_states(client->nodes_seen());
        const std::vector<AccessibleNode>& now = client->nodes();
        for (size_t i = 0; i < now.size() && i < before.size(); ++i) {
            QAccessibleInterface* iface = client->node(int(i));
            if (!iface || now[i].text.empty()) continue;
            if (now[i].text != before[i].text) {
                QAccessibleTextUpdateEvent ev(iface, 0, qtplat::qstring(before[i].text),
                                              qtplat::qstring(now[i].text));
                QAccessible::updateAccessibility(&ev);
            }
            if (now[i].caret != before[i].caret) {
                QAccessibleTextCursorEvent ev(iface, now[i].caret);
                QAccessible::updateAccessibility(&ev);
            }
            if (now[i].selection_start != before[i].selection_start ||
                now[i].selection_end != before[i].selection_end) {
                QAccessibleTextSelectionEvent ev(iface, now[i].selection_start,
                                                 now[i].selection_end);
                QAccessible::updateAccessibility(&ev);
            }
        }
    }
    if (change == AccessibleChange::focus && window->client->hasFocus())
        if (QAccessibleInterface* iface = client->node(node)) {
            QAccessibleEvent ev(iface, QAccessible::Focus);
            QAccessible::updateAccessibility(&ev);
        }
    if (!announcement.empty()) {
        QAccessibleEvent ev(client, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&ev);
    }
}

}  // namespace lekta::plat
