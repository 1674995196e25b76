// Qt dialogs as their procedure sees them: the messages Qt events become, the controls, the
// Done button, drawing through the kept dc and how the modal loop ends.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <array>
#include <functional>

#include "platform/qt/qt_internal.h"

using namespace lekta;

namespace {

std::vector<uint32_t> g_seen;
std::vector<uintptr_t> g_commands;
std::vector<intptr_t> g_taps;
std::vector<uint32_t> g_keys;
std::vector<uintptr_t> g_scrolls;
int g_draw_items = 0;

intptr_t proc(plat::Window* d, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    g_seen.push_back(message);
    switch (message) {
        case plat::WM_INITDIALOG:
            plat::init_full_screen_dialog(d, plat::DIALOG_FULL_SCREEN);
            return 0;
        case plat::WM_ERASEBKGND:
            plat::fill_rect(reinterpret_cast<plat::Dc*>(wparam), plat::client_rect(d), 0x00FF00);
            return 1;
        case plat::WM_PAINT: {
            plat::Dc* dc = plat::get_dc(d);
            plat::fill_rect(dc, {0, 0, 10, 10}, 0x0000FF);
            plat::release_dc(d, dc);
            return 0;
        }
        case plat::WM_COMMAND:
            g_commands.push_back(wparam);
            if ((wparam & 0xFFFF) == plat::IDOK || (wparam & 0xFFFF) == plat::IDCANCEL)
                plat::end_dialog(d, intptr_t(wparam & 0xFFFF));
            return 1;
        case plat::WM_LBUTTONDOWN:
            g_taps.push_back(lparam);
            return 0;
        case plat::WM_KEYDOWN:
            g_keys.push_back(uint32_t(wparam));
            return 0;
        case plat::WM_VSCROLL:
            g_scrolls.push_back(wparam);
            return 1;
        case plat::WM_DRAWITEM: {
            auto* item = reinterpret_cast<plat::DrawItem*>(lparam);
            ++g_draw_items;
            plat::fill_rect(item->dc, item->rect, 0xFF0000);
            return 1;
        }
        default:
            return 0;
    }
}

constexpr std::array<plat::ControlTemplate, 6> CONTROLS = {{
    {1001, plat::ControlKind::list_box, nullptr, 4, 4, 60, 60, plat::CS_SORT | plat::CS_NOTIFY},
    {1002, plat::ControlKind::edit, u"abc", 4, 70, 60, 12, plat::CS_BORDER},
    {1004, plat::ControlKind::auto_radio, u"224", 70, 4, 40, 10, 0},
    {1005, plat::ControlKind::auto_radio, u"5D0", 70, 16, 40, 10, 0},
    {1025, plat::ControlKind::owner_drawn_button, u"link", 70, 30, 40, 10, 0},
    {plat::ID_NONE, plat::ControlKind::static_text, u"Search", 70, 44, 40, 10, 0},
}};

const plat::DialogTemplate TEMPLATE{u"Test Dialog", 120, 100, CONTROLS};

class QtDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_seen.clear();
        g_commands.clear();
        g_taps.clear();
        g_keys.clear();
        g_draw_items = 0;
        g_scrolls.clear();
    }

    // Runs the dialog; body plays the user once it shows.
    intptr_t run(std::function<void(QWidget* dialog, QWidget* client)> body) {
        QTimer::singleShot(0, [body] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(nullptr, dialog);
            QWidget* client = dialog->findChild<QWidget*>("dialog_client");
            ASSERT_NE(nullptr, client);
            QApplication::processEvents();
            body(dialog, client);
        });
        return plat::run_dialog(nullptr, TEMPLATE, proc, 5);
    }
};

TEST_F(QtDialogTest, ClientEventsBecomeMessagesAndDoneEnds) {
    const intptr_t result = run([](QWidget* dialog, QWidget* client) {
        EXPECT_EQ(QStringLiteral("Test Dialog"), dialog->windowTitle());
        // The Done strip lies outside the client area.
        EXPECT_LT(client->height(), dialog->height());
        QTest::mouseClick(client, Qt::LeftButton, {}, QPoint(200, 150));
        QTest::keyClick(client, Qt::Key_Down);
        // The program's drawing shows at once, inside the focus frame round the client area.
        const QImage shown = client->grab().toImage();
        EXPECT_EQ(QColor(255, 0, 0), shown.pixelColor(6, 6));
        EXPECT_EQ(QColor(0, 255, 0), shown.pixelColor(client->width() / 2, client->height() - 6));
        EXPECT_NE(QColor(0, 255, 0), shown.pixelColor(client->width() / 2, client->height() - 2));
        auto* done = dialog->findChild<QPushButton*>("done_button");
        ASSERT_NE(nullptr, done);
        done->click();
    });
    EXPECT_EQ(plat::IDOK, result);
    ASSERT_GE(g_seen.size(), 4u);
    EXPECT_EQ(plat::WM_INITDIALOG, g_seen[0]);
    EXPECT_EQ(plat::WM_SIZE, g_seen[1]);
    EXPECT_EQ(plat::WM_DESTROY, g_seen.back());
    ASSERT_EQ(1u, g_taps.size());
    EXPECT_EQ(200 | 150 << 16, g_taps[0]);
    EXPECT_EQ(std::vector<uint32_t>{plat::VK_DOWN}, g_keys);
}

// The close box, the tap and the controls' values are in the contract both backends share.
TEST_F(QtDialogTest, EscapeCancels) {
    EXPECT_EQ(plat::IDCANCEL,
              run([](QWidget*, QWidget* client) { QTest::keyClick(client, Qt::Key_Escape); }));
}

TEST_F(QtDialogTest, ControlsAnswerTheProgramAndNotifyTheUsersChanges) {
    run([](QWidget* dialog, QWidget*) {
        auto* list = dialog->findChild<QListWidget*>();
        auto* edit = dialog->findChild<QLineEdit*>();
        ASSERT_NE(nullptr, list);
        ASSERT_NE(nullptr, edit);
        EXPECT_EQ(QStringLiteral("abc"), edit->text());
        const auto radios = dialog->findChildren<QRadioButton*>();
        ASSERT_EQ(2, radios.size());
        radios[0]->click();
        radios[1]->click();
        radios[1]->click();  // stays checked
        EXPECT_FALSE(radios[0]->isChecked());
        EXPECT_TRUE(radios[1]->isChecked());
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    // Three radio clicks, then Return as OK; the owner-drawn button was painted by the program.
    ASSERT_EQ(4u, g_commands.size());
    EXPECT_EQ(1004u, g_commands[0]);
    EXPECT_EQ(1005u, g_commands[1]);
    EXPECT_EQ(uintptr_t(plat::IDOK), g_commands[3]);
    EXPECT_GT(g_draw_items, 0);
}

// The procedure fills the list and the edit box when the dialog opens.
intptr_t filling_proc(plat::Window* d, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    if (message == plat::WM_INITDIALOG) {
        for (const char16_t* name : {u"Tahoma", u"arial", u"David", u"Courier"})
            plat::list_add(d, 1001, name);
        EXPECT_EQ(2, plat::list_select_prefix(d, 1001, -1, u"da"));
        EXPECT_EQ(u"arial", plat::list_text(d, 1001, 0));
        plat::limit_text(d, 1002, 5);
        plat::set_control_text(d, 1002, u"abc");
        plat::select_text(d, 1002, 1, 1);
        plat::replace_selection(d, 1002, u"XYZ");
        EXPECT_EQ(u"aXYbc", plat::control_text(d, 1002));
        EXPECT_EQ(plat::TextSelection({3, 3}), plat::text_selection(d, 1002));
        plat::check_control(d, 1004, true);
        plat::check_control(d, 1004, false);
        EXPECT_FALSE(plat::control_checked(d, 1004));
        plat::set_focus(d, 1001);
        return 0;
    }
    return proc(d, message, wparam, lparam);
}

TEST_F(QtDialogTest, TheProceduresOwnChangesDoNotNotify) {
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(nullptr, dialog);
        auto* list = dialog->findChild<QListWidget*>();
        EXPECT_EQ(2, list->currentRow());
        QTest::keyClick(list, Qt::Key_Down);  // the user's change notifies
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(plat::IDCANCEL, plat::run_dialog(nullptr, TEMPLATE, filling_proc, 0));
    ASSERT_EQ(2u, g_commands.size());
    EXPECT_EQ(1001u | uintptr_t{plat::LBN_SELCHANGE} << 16, g_commands[0]);
}

// The index's kind of dialog: no controls, a scroll bar over the client area's right edge.
intptr_t scrolling_proc(plat::Window* d, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    if (message == plat::WM_INITDIALOG) {
        plat::set_scroll_info(d, 0, 10, 3);
        return 0;
    }
    return proc(d, message, wparam, lparam);
}

TEST_F(QtDialogTest, AScrollBarOverTheRightEdgeSendsItsRequests) {
    const plat::DialogTemplate scrolling{u"Choose", 160, 160, {}, true};
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(nullptr, dialog);
        QWidget* client = dialog->findChild<QWidget*>("dialog_client");
        auto* bar = dialog->findChild<QScrollBar*>();
        ASSERT_NE(nullptr, bar);
        EXPECT_EQ(3, bar->value());
        EXPECT_EQ(10, bar->maximum());
        EXPECT_EQ(client->width(), bar->geometry().right() + 1);
        EXPECT_EQ(plat::system_metric(plat::SM_CXVSCROLL), bar->width());
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(plat::IDCANCEL, plat::run_dialog(nullptr, scrolling, scrolling_proc, 0));
    ASSERT_EQ(1u, g_scrolls.size());
    EXPECT_EQ(plat::SB_LINEDOWN, g_scrolls[0] & 0xFFFF);
}

}  // namespace
