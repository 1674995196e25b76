// The main window as its procedure sees it: the messages Qt events become, painting and
// immediate drawing, the bar's commands and checks, accelerators, closing, the loop and
// message boxes.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include "platform/qt/qt_internal.h"

using namespace lekta;

namespace {

struct Message {
    uint32_t message;
    uintptr_t wparam;
    intptr_t lparam;
};

std::vector<Message> g_messages;
std::function<void(plat::Window*, uint32_t, uintptr_t)> g_hook;

intptr_t record(plat::Window* w, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    g_messages.push_back({message, wparam, lparam});
    if (g_hook) g_hook(w, message, wparam);
    return 0;
}

int count(uint32_t message) {
    return int(std::count_if(g_messages.begin(), g_messages.end(),
                             [&](const Message& m) { return m.message == message; }));
}

std::vector<Message> all(uint32_t message) {
    std::vector<Message> out;
    for (const Message& m : g_messages)
        if (m.message == message) out.push_back(m);
    return out;
}

intptr_t size_lparam(plat::Rect r) {
    return intptr_t(r.right | r.bottom << 16);
}

QImage grab(plat::Window* w, const char* name = "grab.png") {
    QTemporaryDir dir;
    QString path = dir.path() + "/" + name;
    EXPECT_TRUE(plat::save_window_image(w, path.toLocal8Bit().constData()));
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_messages.clear();
        g_hook = [this](plat::Window* w, uint32_t message, uintptr_t) {
            if (message == plat::WM_CREATE) create_rect_ = plat::client_rect(w);
            if (message == plat::WM_PAINT)
                plat::fill_rect(plat::get_dc(w), plat::client_rect(w), 0xFF0000);  // blue
        };
        plat::WindowSpec params;
        params.class_name = u"Lekta-Hebrew";
        params.title = u"Lekta";
        params.proc = record;
        params.vscroll = true;
        window_ = plat::create_main_window(params);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        g_hook = nullptr;
        plat::destroy_window(window_);
        settle();
    }
    void show() {
        plat::show_window(window_);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_->top));
        settle();
    }

    plat::Window* window_ = nullptr;
    plat::Rect create_rect_;
};

TEST_F(WindowTest, CreationSizeAndFirstPaint) {
    ASSERT_GE(g_messages.size(), 2u);
    EXPECT_EQ(g_messages[0].message, plat::WM_CREATE);
    EXPECT_EQ(g_messages[1].message, plat::WM_SIZE);
    plat::Rect client = plat::client_rect(window_);
    EXPECT_GT(client.right, 100);
    EXPECT_GT(client.bottom, 100);
    EXPECT_EQ(create_rect_.right, client.right);
    EXPECT_EQ(g_messages[1].lparam, size_lparam(client));
    EXPECT_LT(client.right, window_->top->width()) << "the scroll bar is not client area";
    EXPECT_EQ(window_->top->objectName(), "Lekta-Hebrew");
    EXPECT_EQ(window_->top->windowTitle(), "Lekta");

    show();
    EXPECT_EQ(count(plat::WM_SIZE), 1) << "showing at the same size reports nothing new";
    EXPECT_EQ(count(plat::WM_PAINT), 1);
    QImage shot = grab(window_);
    EXPECT_EQ(shot.pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(shot, grab(window_, "grab.BMP")) << "the same picture either way";
}

// Drawing through the kept dc between paints reaches the screen without the program being
// asked to paint again, which would wipe it.
TEST_F(WindowTest, ImmediateDrawingShowsWithoutARepaint) {
    show();
    plat::fill_rect(plat::get_dc(window_), plat::Rect{0, 0, 50, 50}, 0x0000FF);  // red
    settle();
    QImage shot = grab(window_);
    EXPECT_EQ(shot.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(100, 100), qRgb(0, 0, 255));
    EXPECT_EQ(count(plat::WM_PAINT), 1);
}

TEST_F(WindowTest, ResizeReportsTheClientSizeAndRepaints) {
    show();
    window_->top->resize(300, 400);
    settle();
    plat::Rect client = plat::client_rect(window_);
    EXPECT_EQ(client.bottom, 400);
    auto sizes = all(plat::WM_SIZE);
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(sizes[1].lparam, size_lparam(client));
    grab(window_);
    EXPECT_EQ(count(plat::WM_PAINT), 2);
    EXPECT_EQ(window_->backing.deviceIndependentSize().toSize(), QSize(client.right, 400));
}

TEST_F(WindowTest, KeysTapsAndScrollBar) {
    show();
    QWidget* client = window_->client;
    QTest::keyClick(client, Qt::Key_PageDown);
    QTest::keyClick(client, Qt::Key_Left);
    QTest::keyClick(client, Qt::Key_Return);
    QTest::keyClick(client, Qt::Key_Left, Qt::ShiftModifier);
    auto keys = all(plat::WM_KEYDOWN);
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].wparam, plat::VK_NEXT);
    EXPECT_EQ(keys[1].wparam, plat::VK_LEFT);
    EXPECT_EQ(keys[2].wparam, plat::VK_RETURN);
    EXPECT_FALSE(plat::shift_held(keys[1].lparam));
    EXPECT_EQ(keys[3].wparam, plat::VK_LEFT);
    EXPECT_TRUE(plat::shift_held(keys[3].lparam));

    QTest::mouseClick(client, Qt::LeftButton, {}, QPoint(30, 40));
    auto taps = all(plat::WM_LBUTTONDOWN);
    ASSERT_EQ(taps.size(), 1u);
    EXPECT_EQ(taps[0].lparam, 30 | 40 << 16);
    auto releases = all(plat::WM_LBUTTONUP);
    ASSERT_EQ(releases.size(), 1u);
    EXPECT_EQ(releases[0].lparam, 30 | 40 << 16);

    plat::set_scroll_info(window_, 0, 100, 10);
    QScrollBar* bar = window_->scroll;
    EXPECT_EQ(bar->value(), 10);
    EXPECT_TRUE(bar->isEnabled()) << "a range to scroll: the user can move the bar";
    g_hook = [](plat::Window* w, uint32_t message, uintptr_t wparam) {
        if (message == plat::WM_VSCROLL && (wparam & 0xFFFF) == plat::SB_PAGEDOWN)
            plat::set_scroll_info(w, 0, 100, 20);
    };
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 20) << "the program's position";
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), 20) << "the program did not scroll, so neither does the bar";
    bar->setSliderPosition(50);
    auto requests = all(plat::WM_VSCROLL);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].wparam & 0xFFFF, plat::SB_PAGEDOWN);
    EXPECT_EQ(requests[1].wparam & 0xFFFF, plat::SB_LINEDOWN);
    EXPECT_EQ(requests[2].wparam, plat::SB_THUMBTRACK | 50 << 16);
}

const uint8_t IMAGES[64] = {0xFF, 0xFF, 0x00, 0x01};  // first rows of two 16x16 images

TEST_F(WindowTest, BarCommandsChecksAndAccelerators) {
    const plat::MenuItemSpec items[] = {
        {40004, u"&About", nullptr, true},  {0, nullptr, nullptr, true},
        {122, u"Re&verse", nullptr, true},  {108, u"&Today", u"Ctrl+Home", true},
        {119, u"&Index", u"Ctrl+I", false},
    };
    const plat::ToolButtonSpec buttons[] = {{110, 0, u"Previous Day", true},
                                            {108, 1, u"Today", true}};
    plat::BarSpec params;
    params.menu_title = u"Go";
    params.items = items;
    params.buttons = buttons;
    params.image_bits = IMAGES;
    params.image_count = 2;
    plat::Window* bar = plat::create_bar(window_, params);
    ASSERT_NE(bar, nullptr);
    show();

    const int height = plat::bar_height(bar);
    EXPECT_GT(height, 16);
    EXPECT_EQ(bar->toolbar->geometry(), QRect(0, 0, plat::client_rect(window_).right, height));
    plat::Menu* menu = plat::bar_menu(bar);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions.at(108)->text(), "&Today\tCtrl+Home");
    EXPECT_FALSE(menu->actions.at(119)->isEnabled());
    EXPECT_EQ(menu->qmenu->actions().size(), 5);
    EXPECT_TRUE(menu->qmenu->actions()[1]->isSeparator());

    // The program owns the check mark: choosing the item only sends the command.
    g_messages.clear();
    menu->actions.at(122)->trigger();
    EXPECT_FALSE(plat::menu_item_checked(menu, 122));
    plat::check_menu_item(menu, 122, true);
    menu->actions.at(122)->trigger();
    EXPECT_TRUE(menu->actions.at(122)->isChecked());
    EXPECT_TRUE(plat::menu_item_checked(menu, 122));
    bar->buttons.at(110)->trigger();
    EXPECT_EQ(bar->buttons.at(110)->toolTip(), "Previous Day");
    auto commands = all(plat::WM_COMMAND);
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].wparam, 122u);
    EXPECT_EQ(commands[1].wparam, 122u);
    EXPECT_EQ(commands[2].wparam, 110u);
    plat::enable_tool_button(bar, 110, false);
    EXPECT_FALSE(bar->buttons.at(110)->isEnabled());

    const plat::Accelerator keys[] = {{108, "Ctrl+Home"}, {119, "Ctrl+I"}};
    plat::set_accelerators(window_, keys);
    window_->top->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_->top));
    g_messages.clear();
    QTest::keyClick(window_->client, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(window_->client, Qt::Key_I, Qt::ControlModifier);
    plat::enable_menu_item(menu, 119, true);
    QTest::keyClick(window_->client, Qt::Key_I, Qt::ControlModifier);
    commands = all(plat::WM_COMMAND);
    ASSERT_EQ(commands.size(), 2u) << "greyed Index sends nothing";
    EXPECT_EQ(commands[0].wparam, 108u);
    EXPECT_EQ(commands[1].wparam, 119u);
    EXPECT_EQ(count(plat::WM_KEYDOWN), 0);

    // At the bottom, and following the window's size.
    plat::destroy_bar(bar);
    params.at_bottom = true;
    bar = plat::create_bar(window_, params);
    window_->top->resize(320, 300);
    settle();
    EXPECT_EQ(bar->toolbar->geometry(),
              QRect(0, 300 - plat::bar_height(bar), plat::client_rect(window_).right,
                    plat::bar_height(bar)));
}

TEST_F(WindowTest, ClosingSendsDestroyOnce) {
    show();
    window_->top->close();
    settle();
    EXPECT_EQ(count(plat::WM_DESTROY), 1);
    plat::destroy_window(window_);
    EXPECT_EQ(count(plat::WM_DESTROY), 1);
    const size_t before = g_messages.size();
    EXPECT_EQ(plat::send_message(window_, plat::WM_COMMAND, 108, 0), 0);
    EXPECT_EQ(g_messages.size(), before);
    EXPECT_FALSE(plat::save_window_image(window_, "/dev/null"));
    plat::fill_rect(plat::get_dc(window_), plat::Rect{0, 0, 10, 10}, 0);  // harmless
}

TEST_F(WindowTest, DestroyingThenClosingSendsDestroyOnce) {
    show();
    QPointer<QWidget> top = window_->top;
    plat::destroy_window(window_);
    EXPECT_FALSE(window_->alive);
    ASSERT_FALSE(top.isNull()) << "deleted later, not inside the call";
    EXPECT_FALSE(top->isVisible());
    top->close();
    settle();
    EXPECT_EQ(count(plat::WM_DESTROY), 1);
}

TEST(MessageLoop, QuitPostedBeforeOrDuringTheLoop) {
    plat::post_quit_message(5);
    EXPECT_EQ(plat::run_message_loop(), 5);
    QTimer::singleShot(0, [] { plat::post_quit_message(7); });
    EXPECT_EQ(plat::run_message_loop(), 7);
}

TEST_F(WindowTest, MessageBoxIsModalAndForegroundFollows) {
    show();
    window_->top->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_->top));
    EXPECT_TRUE(plat::is_foreground(window_));
    EXPECT_FALSE(plat::modal_dialog_open());
    bool seen = false;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->text(), "Could not open\nthe file");
        EXPECT_EQ(box->windowTitle(), "Error");
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_TRUE(plat::modal_dialog_open());
        EXPECT_FALSE(plat::is_foreground(window_));
        box->accept();
    });
    EXPECT_EQ(plat::message_box(window_, u"Could not open\r\nthe file", u"Error", 0x30),
              plat::IDOK);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(plat::modal_dialog_open());
}

TEST(MessageBox, WithoutAGuiSessionItIsOneLineOnStandardError) {
    QProcess helper;
    helper.start(INSTANCE_HELPER, {"box"});
    ASSERT_TRUE(helper.waitForFinished());
    EXPECT_EQ(helper.readAllStandardError(), "Error: Could not open the file\n");
}

// Without a display the session does not start, and the process lives on to say so.
TEST(GuiSession, StartsOnlyWithADisplay) {
    auto start = [](const QStringList& set) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        for (const QString& pair : set)
            env.insert(pair.section('=', 0, 0), pair.section('=', 1));
        QProcess helper;
        helper.setProcessEnvironment(env);
        helper.start(INSTANCE_HELPER, {"gui"});
        EXPECT_TRUE(helper.waitForFinished());
        EXPECT_EQ(helper.exitStatus(), QProcess::NormalExit);
        return helper.readAllStandardOutput();
    };
    EXPECT_EQ(start({}), "no gui\n");
    ASSERT_FALSE(QFile::exists("/tmp/.X11-unix/X97"));
    EXPECT_EQ(start({"DISPLAY=:97"}), "no gui\n");
    EXPECT_EQ(start({"QT_QPA_PLATFORM=offscreen"}), "gui\n");
}

}  // namespace
