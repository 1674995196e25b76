// The reader end to end on the offscreen platform: the real start-up, window, bar and views in
// this process, driven through Qt events, and the built program run as a child process for
// the command line, the hand-over to a running copy and the screenshot.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

#include "calendar/hebrew_calendar.h"
#include "calendar/schedule.h"
#include "calendar_dialog/calendar_state.h"
#include "platform/dialog.h"
#include "platform/platform.h"
#include "shell/main_window.h"
#include "shell/qt_tests/fail_fast.h"
#include "shell/startup.h"
#include "state/reader.h"
#include "state/registry.h"
#include "state/settings.h"
#include "state/settings_store.h"
#include "store/test_book_support.h"
#include "view/text_view.h"

using namespace lekta;
namespace ts = lekta::testing_support;

namespace {

#ifdef LEKTA_BINARY
constexpr const char* PROGRAM = LEKTA_BINARY;
#else
constexpr const char* PROGRAM = nullptr;  // the program is not built here
#endif
#define REQUIRE_PROGRAM() \
    if (!PROGRAM) QSKIP("the lekta program is not built")

// Lessons long enough to page through.
ts::TestBook long_book() {
    return ts::make_test_book(true, [](uint16_t) { return 60; });
}

// The dialog on screen, if one is.
QWidget* open_dialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits("QDialog")) return w;
    return nullptr;
}

// Plays the user on the next dialog as soon as it shows (it runs in a loop of its own).
void when_dialog_opens(std::function<void(QWidget*)> script) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, script] {
        if (QWidget* dialog = open_dialog()) {
            timer->stop();
            timer->deleteLater();
            script(dialog);
        }
    });
    timer->start(10);
}

uint16_t shown_key() {
    return g_reader.view ? ts::key_spelled_by(g_reader.view->text) : 0;
}

int32_t today() {
    const DateRecord t = today_civil();
    return day_number_from_civil(t.month, t.day, t.year);
}

// A DWORD the settings file holds, as the program wrote it; -1 when it is not there.
int64_t stored_dword(const QString& config_dir, const QString& name) {
    QFile file(config_dir + "/Halvern/Lekta-Hebrew.ini");
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QString text = QString::fromUtf8(file.readAll());
    const QRegularExpression line(
        "^" + QRegularExpression::escape(name) + "=dword:([0-9a-fA-F]{8})\\s*$",
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(text);
    return match.hasMatch() ? int64_t(match.captured(1).toUInt(nullptr, 16)) : -1;
}

}  // namespace

class FlowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir config_;         // LEKTA_CONFIG_DIR of this process and of its children
    QTemporaryDir child_runtime_;  // the rendezvous of children that run alone
    QString book_path_;            // the same book for the children
    plat::Window* window_ = nullptr;
    QWidget* top_ = nullptr;
    QWidget* client_ = nullptr;
    QWidget* bar_ = nullptr;

    // Starts the reader in this process as the program does, on a pinned day or the usual
    // choice (0).
    void start(int32_t start_day = 0) {
        g_settings = Settings{};
        g_reader = Reader{};
        read_shell_options();
        window_ = init_instance(start_day, "/usr/bin/lekta");
        QVERIFY(window_);
        top_ = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "Lekta-Hebrew" && w->isVisible()) top_ = w;
        QVERIFY(top_);
        QVERIFY(top_->windowTitle().endsWith(QString::fromUtf8(" \u2014 Lekta")));
        QVERIFY(QTest::qWaitForWindowExposed(top_));
        // Shortcuts reach an active window only; without a window manager nobody activates it.
        top_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(top_));
        client_ = top_->focusProxy();
        QVERIFY(client_);
        bar_ = top_->findChild<QWidget*>("bar");
        QVERIFY(bar_);
        QVERIFY(g_reader.view);
    }

    QToolButton* button_widget(const QString& tooltip) {
        for (QToolButton* b : bar_->findChildren<QToolButton*>())
            if (b->defaultAction() && b->defaultAction()->toolTip() == tooltip) return b;
        return nullptr;
    }
    QAction* button(const QString& tooltip) {
        QToolButton* b = button_widget(tooltip);
        return b ? b->defaultAction() : nullptr;
    }
    QAction* menu_item(const QString& label) {
        QMenu* menu = bar_->findChild<QMenu*>();
        if (!menu) return nullptr;
        for (QAction* a : menu->actions())
            if (a->text().section('\t', 0, 0) == label) return a;
        return nullptr;
    }
    void click(const QString& tooltip) {
        QAction* a = button(tooltip);
        QVERIFY2(a, qPrintable(tooltip));
        QVERIFY(a->isEnabled());
        QWidget* w = button_widget(tooltip);
        QVERIFY(w);
        QTest::mouseClick(w, Qt::LeftButton);
    }
    void exit_by_menu() {
        QAction* exit = menu_item("E&xit");
        QVERIFY(exit);
        exit->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!g_reader.view);
        window_ = nullptr;
    }

    // Runs the built program with this test's settings. Alone: as the only copy; otherwise it
    // meets the copy running in this process. Its output goes to out and err when given.
    int run_program(const QStringList& args, bool alone = true, int timeout_ms = 30000,
                    QByteArray* out = nullptr, QByteArray* err = nullptr,
                    const QString& config_dir = QString()) {
        QProcess child;
        child.setProgram(PROGRAM);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (alone) {
            env.insert("TMPDIR", child_runtime_.path());
            env.insert("XDG_RUNTIME_DIR", child_runtime_.path());
        }
        if (!config_dir.isEmpty()) env.insert("LEKTA_CONFIG_DIR", config_dir);
        child.setProcessEnvironment(env);
        child.setArguments(args);
        child.start();
        if (!child.waitForStarted()) return -1;
        // The running copy answers a second launch from this loop.
        QElapsedTimer timer;
        timer.start();
        while (child.state() != QProcess::NotRunning && timer.elapsed() < timeout_ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            child.waitForFinished(20);
        }
        if (child.state() != QProcess::NotRunning) {
            child.kill();
            child.waitForFinished();
            return -2;
        }
        if (out) *out = child.readAllStandardOutput();
        if (err) *err = child.readAllStandardError();
        return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -3;
    }

    // Plays the user on the calendar once it shows: body gets the dialog and its client area.
    void on_calendar(std::function<void(QWidget*, QWidget*)> body) {
        QTimer::singleShot(0, [body] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QString("Hebrew Calendar"));
            QWidget* client = dialog->findChild<QWidget*>("dialog_client");
            QVERIFY(client);
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            body(dialog, client);
        });
    }

    // The middle of a day's cell in the calendar's month on screen.
    static QPoint day_cell_centre(int32_t day) {
        const CalendarLayout& l = g_calendar.layout;
        const Cell c = day_cell(g_calendar, day);
        return {l.grid_left + c.column * l.cell_width + l.cell_width / 2,
                l.grid_top + c.row * l.cell_height + l.cell_height / 2};
    }

  private slots:
    void initTestCase() {
        lekta::flow::start_failure_watchdog();
        QVERIFY(config_.isValid());
        qputenv("LEKTA_CONFIG_DIR", config_.path().toLocal8Bit());
        book_path_ = config_.path() + "/test-book.res";
        const std::vector<uint8_t> bytes = ts::book_file_bytes(long_book());
        QFile book(book_path_);
        QVERIFY(book.open(QIODevice::WriteOnly));
        book.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        book.close();
        ts::use_test_book(long_book());
        // A face is stored, so no font dialog opens at start.
        write_string_value(u"FontName", u"DejaVu Sans");
        plat::registry_flush();
    }

    void cleanup() {
        if (window_) plat::destroy_window(window_);
        QCoreApplication::processEvents();
        window_ = nullptr;
    }

    void startsOnAStoredPinnedDay() {
        const int32_t day = day_number_from_civil(11, 13, 2012);  // 28 Heshvan 5773
        write_int_value(u"Day", day);
        write_int_value(u"Flags", int32_t(DEFAULT_FLAGS | FLAG_DAY_PINNED));
        write_int_value(u"Lesson", 0x081C);
        write_int_value(u"LastPosition", 0);
        start();
        QCOMPARE(g_settings.current_day, day);
        QCOMPARE(shown_key(), uint16_t(0x081C));
    }

    void stepsThroughDaysWithTheButtonsAndKeys() {
        start(day_number_from_civil(11, 13, 2012));
        const int32_t day = g_settings.current_day;
        click("Next Day");
        QCOMPARE(g_settings.current_day, day + 1);
        QCOMPARE(shown_key(), uint16_t(0x081F));  // the short month's slot 31
        click("Previous Day");
        click("Previous Day");
        QCOMPARE(g_settings.current_day, day - 1);
        QTest::keyClick(client_, Qt::Key_Right);
        QCOMPARE(g_settings.current_day, day);
        click("Today");
        QCOMPARE(g_settings.current_day, today());
        QVERIFY(!(g_settings.flags & FLAG_DAY_PINNED));
        QTest::keyClick(client_, Qt::Key_Left);
        QCOMPARE(g_settings.current_day, today() - 1);
        QTest::keyClick(client_, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(g_settings.current_day, today());
    }

    void pagesWithKeysAndTaps() {
        start(day_number_from_civil(11, 13, 2012));
        TextView* view = g_reader.view;
        QCOMPARE(view->top_row, uint16_t(0));
        QVERIFY(view->rows_drawn > 2);
        const int page = view->rows_drawn - 1;  // the last row in sight stays in sight
        QTest::keyClick(client_, Qt::Key_PageDown);
        QCOMPARE(int(view->top_row), page);
        QTest::keyClick(client_, Qt::Key_PageUp);
        QCOMPARE(int(view->top_row), 0);
        // A tap low in the text pages on, one high up pages back.
        const int x = view->left + view->width / 2;
        QTest::mouseClick(client_, Qt::LeftButton, {}, QPoint(x, view->top + view->height - 10));
        QCOMPARE(int(view->top_row), page);
        QTest::mouseClick(client_, Qt::LeftButton, {}, QPoint(x, view->top + 10));
        QCOMPARE(int(view->top_row), 0);
        QTest::keyClick(client_, Qt::Key_End);
        QCOMPARE(view->top_row, view->max_top_row);
    }

    // A page there and back shows the same pixels: from the top, and from the end of a lesson
    // whose last page is short.
    void pageThereAndBackGivesTheSamePixels() {
        start(day_number_from_civil(11, 13, 2012));
        const TextView* view = g_reader.view;
        auto shot = [this] {
            QCoreApplication::processEvents();
            return client_->grab().toImage();
        };
        QTest::keyClick(client_, Qt::Key_Home);
        QCOMPARE(int(view->top_row), 0);
        const QImage top = shot();
        QTest::keyClick(client_, Qt::Key_PageDown);
        QVERIFY(view->top_row > 0);
        QTest::keyClick(client_, Qt::Key_PageUp);
        QCOMPARE(int(view->top_row), 0);
        QCOMPARE(shot(), top);
        // From the last full page back and forth again.
        QTest::keyClick(client_, Qt::Key_End);
        const int end_row = view->top_row;
        const QImage end = shot();
        QTest::keyClick(client_, Qt::Key_PageUp);
        QVERIFY(view->top_row < end_row);
        QTest::keyClick(client_, Qt::Key_PageDown);
        QCOMPARE(int(view->top_row), end_row);
        QCOMPARE(shot(), end);
    }

    // Under every style the platform has, and when the style changes under an open window, the
    // text area ends where the scroll bar begins: nothing of the text is drawn under the bar.
    void noTextUnderTheScrollBar() {
        const QString style_before = QApplication::style()->name();
        const QStringList styles = QStyleFactory::keys();
        QVERIFY(!styles.isEmpty());
        auto check = [this](const QString& style) {
            QCoreApplication::processEvents();
            auto* bar = top_->findChild<QScrollBar*>();
            QVERIFY2(bar && bar->isVisible(), qPrintable(style));
            QTRY_VERIFY2(client_->geometry().right() < bar->geometry().left(), qPrintable(style));
            const TextView* view = g_reader.view;
            QVERIFY2(view->left + view->width <= bar->x(), qPrintable(style));
            // The client's own picture, which would include what the bar covers.
            const QImage image = client_->grab().toImage();
            int dark_under = 0, dark_near = 0;
            for (int y = view->top; y < view->top + view->height; ++y) {
                for (int x = bar->x() - 30; x < image.width(); ++x) {
                    if (x < 0 || image.pixelColor(x, y).lightness() >= 100) continue;
                    (x >= bar->x() ? dark_under : dark_near) += 1;
                }
            }
            QVERIFY2(dark_near > 0, qPrintable(style));  // right-aligned text reaches the edge
            QCOMPARE(dark_under, 0);
            // The thumb shows the share of the lesson on screen.
            QCOMPARE(bar->pageStep(), rows_in_view(*view));
            QCOMPARE(bar->maximum(), int(view->max_top_row));
        };
        for (const QString& style : styles) {
            QApplication::setStyle(style);
            start(day_number_from_civil(11, 13, 2012));
            check(style);
            for (const QString& other : styles) {
                if (other == style) continue;
                QApplication::setStyle(other);
                check(style + " then " + other);
            }
            cleanup();
        }
        QApplication::setStyle(style_before);
        // A style sheet (the desktop's, or -stylesheet) may widen the bar at any time.
        start(day_number_from_civil(11, 13, 2012));
        const int before = client_->width();
        qApp->setStyleSheet("QScrollBar:vertical { width: 31px; }");
        check("a style sheet");
        QVERIFY(client_->width() < before);
        qApp->setStyleSheet(QString());
        check("no style sheet");
        QCOMPARE(client_->width(), before);
    }

    // The bar and the scroll bar are never clipped, however small the window is made.
    void aMinimumSizeKeepsTheBarWhole() {
        start(day_number_from_civil(11, 13, 2012));
        top_->resize(60, 60);
        QCoreApplication::processEvents();
        int buttons_right = 0;
        for (QToolButton* b : bar_->findChildren<QToolButton*>())
            buttons_right = std::max(buttons_right, b->geometry().right());
        QVERIFY(buttons_right < client_->width());
        QVERIFY(client_->height() > bar_->height() + g_reader.strip_height);
        QVERIFY(g_reader.view->height > 0);
    }

    void menuKeysOpenTheGoMenu() {
        start(day_number_from_civil(11, 13, 2012));
        auto* menu = bar_->findChild<QMenu*>();
        QVERIFY(menu);
        for (const QKeySequence& keys : {QKeySequence(Qt::Key_F10), QKeySequence("Alt+G")}) {
            QVERIFY(!menu->isVisible());
            QTest::keySequence(client_, keys);
            QTRY_VERIFY(menu->isVisible());
            QVERIFY(menu->activeAction());  // ready for the arrow keys
            QVERIFY(menu->geometry().top() >= bar_->mapToGlobal(QPoint(0, 0)).y());
            QTest::keyClick(menu, Qt::Key_Escape);
            QTRY_VERIFY(!menu->isVisible());
        }
    }

    void theWindowKeepsItsSizeAndPlace() {
        start(day_number_from_civil(11, 13, 2012));
        top_->setGeometry(QRect(top_->geometry().topLeft(), QSize(400, 520)));
        QTRY_COMPARE(top_->size(), QSize(400, 520));
        const QRect was = top_->geometry();
        exit_by_menu();
        QCOMPARE(stored_dword(config_.path(), "WindowWidth"), int64_t(400));
        QCOMPARE(stored_dword(config_.path(), "WindowHeight"), int64_t(520));
        start();
        QCOMPARE(top_->size(), QSize(400, 520));
        QCOMPARE(top_->geometry().topLeft(), was.topLeft());
        QCOMPARE(g_reader.view->width, client_->width());
    }

    // Paged down in one lesson, then started on another: that one opens at its top.
    void anotherLessonOpensAtItsTop() {
        REQUIRE_PROGRAM();
        start(day_number_from_civil(11, 13, 2012));
        QTest::keyClick(client_, Qt::Key_PageDown);
        QVERIFY(g_reader.view->top_row > 0);
        exit_by_menu();
        start(day_number_from_civil(11, 20, 2012));  // as --date does
        QCOMPARE(int(g_reader.view->top_row), 0);
        QTest::keyClick(client_, Qt::Key_PageDown);
        exit_by_menu();
        QVERIFY(stored_dword(config_.path(), "LastPosition") > 0);
        QCOMPARE(run_program({"/today", "--book", book_path_, "--screenshot",
                              config_.path() + "/other.png"}),
                 0);
        QCOMPARE(stored_dword(config_.path(), "LastPosition"), int64_t(0));
        QCOMPARE(stored_dword(config_.path(), "Day"), int64_t(today()));
    }

    // Settings files that lie: each starts on a readable lesson with no message box (which
    // would keep the program from ending), and what it writes back starts the same way.
    void settingsThatLieStartOnAReadableLesson() {
        REQUIRE_PROGRAM();
        const int32_t day = day_number_from_civil(11, 13, 2012);
        struct Case {
            const char* what;
            std::function<void()> write;
            int32_t start_day;
        };
        const uint32_t pinned = DEFAULT_FLAGS | FLAG_DAY_PINNED;
        auto values = [](uint32_t flags, int32_t d, int32_t lesson) {
            write_int_value(u"Flags", int32_t(flags));
            write_int_value(u"Day", d);
            write_int_value(u"Lesson", lesson);
        };
        const Case cases[] = {
            {"no lesson", [&] { values(pinned, day, -1); }, day},
            {"a day of 0", [&] { values(pinned, 0, 0x081C); }, today()},
            {"the largest day", [&] { values(pinned, 0x7FFFFFFF, 0x081C); }, today()},
            {"a day of -1", [&] { values(pinned, -1, 0x081C); }, today()},
            {"another day's lesson", [&] { values(pinned, day, 0x0101); }, day},
            {"a day in words",
             [&] {
                 values(pinned, day, 0x081C);
                 write_string_value(u"Day", u"abc");
             },
             today()},
        };
        for (const Case& c : cases) {
            plat::registry_flush();  // sees what the last child wrote
            c.write();
            write_int_value(u"LastPosition", 7);
            QVERIFY(plat::registry_flush());
            for (int run = 0; run < 2; ++run) {
                const QString png = config_.path() + "/lie.png";
                QCOMPARE(run_program({"--book", book_path_, "--screenshot", png}, true, 15000), 0);
                QVERIFY2(!QImage(png).isNull(), c.what);
                QCOMPARE(stored_dword(config_.path(), "Day"), int64_t(c.start_day));
                const DateRecord date = hebrew_from_day_number(c.start_day);
                QCOMPARE(stored_dword(config_.path(), "Lesson"), int64_t(lesson_key_of_date(date)));
                QCOMPARE(stored_dword(config_.path(), "LastPosition"), int64_t(0));
            }
        }
    }

    // --print prints what the window would open on: the pinned day, unless --date says
    // otherwise.
    void printShowsThePinnedDay() {
        REQUIRE_PROGRAM();
        start(day_number_from_civil(11, 13, 2012));
        exit_by_menu();
        QByteArray pinned, dated, other;
        QCOMPARE(run_program({"--book", book_path_, "--print"}, true, 30000, &pinned), 0);
        QCOMPARE(run_program({"--book", book_path_, "--print", "--date", "2012-11-13"}, true, 30000,
                             &dated),
                 0);
        QCOMPARE(run_program({"--book", book_path_, "--print", "--date", "2012-11-14"}, true, 30000,
                             &other),
                 0);
        QVERIFY(!pinned.isEmpty());
        QCOMPARE(pinned, dated);
        QVERIFY(pinned != other);
        // Printing leaves the settings as they were.
        QCOMPARE(stored_dword(config_.path(), "Day"), int64_t(day_number_from_civil(11, 13, 2012)));
    }

    // A settings folder that cannot be made says so once, at the end.
    void unwritableSettingsGiveOneWarning() {
        REQUIRE_PROGRAM();
        QTemporaryDir dir;
        QFile blocker(dir.path() + "/file");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QByteArray err;
        QCOMPARE(run_program({"--book", book_path_, "--screenshot", dir.path() + "/x.png"}, true,
                             30000, nullptr, &err, dir.path() + "/file/config"),
                 0);
        const QList<QByteArray> lines = err.trimmed().split('\n');
        int warnings = 0;
        for (const QByteArray& line : lines)
            if (line.startsWith("lekta: could not save the settings to ")) ++warnings;
        QCOMPARE(warnings, 1);
    }

    void resizingKeepsTheFrame() {
        start(day_number_from_civil(11, 13, 2012));
        top_->resize(400, 500);
        QTRY_COMPARE(g_reader.strip_top + g_reader.strip_height, client_->height());
        QCOMPARE(g_reader.strip_width, client_->width());
        QCOMPARE(g_reader.view->width, client_->width());
        top_->resize(300, 380);
        QTRY_COMPARE(g_reader.view->width, client_->width());
        QCOMPARE(g_reader.strip_top + g_reader.strip_height, client_->height());
    }

    void reverseTwice() {
        start(day_number_from_civil(11, 13, 2012));
        QAction* reverse = menu_item("Re&verse");
        QVERIFY(reverse);
        const bool before = (g_settings.flags & FLAG_REVERSE) != 0;
        QCOMPARE(reverse->isChecked(), before);
        reverse->trigger();
        QCOMPARE((g_settings.flags & FLAG_REVERSE) != 0, !before);
        QCOMPARE(reverse->isChecked(), !before);
        reverse->trigger();
        QCOMPARE((g_settings.flags & FLAG_REVERSE) != 0, before);
        QCOMPARE(reverse->isChecked(), before);
    }

    void everyCommandIsEnabled() {
        start(day_number_from_civil(11, 13, 2012));
        QVERIFY(button("Choose Day") && button("Search"));
        QVERIFY(button("Choose Day")->isEnabled());  // the index
        QVERIFY(button("Search")->isEnabled());
        for (const char* label :
             {"&About", "Check For &Updates", "F&ont", "&Index", "&Bookmark", "&Calendar", "&Today",
              "&Search", "&Copy", "&Append to ClipBoard"}) {
            QAction* item = menu_item(label);
            QVERIFY2(item && item->isEnabled(), label);
        }
    }

    // Ctrl+F opens the chooser; a Hebrew family switches the base back from 224, and OK lays the
    // lesson out in the new face and size.
    void ctrlFChoosesTheFont() {
        start(day_number_from_civil(11, 13, 2012));
        QVERIFY(button("Choose Font") && button("Choose Font")->isEnabled());
        g_settings.font_spec.font_ascii_base = 224;
        // What the user saw; shared, as the timer may outlive a failed test.
        struct Seen {
            QString title, hebrew;
            bool switched = false;
        };
        auto seen = std::make_shared<Seen>();
        // An earlier test's window end posted a quit that no loop took; it would end the
        // dialog's loop at once. A loop of its own takes it.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        // Runs in the dialog's loop once the key has opened it.
        QTimer::singleShot(0, qApp, [seen] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) return;
            seen->title = dialog->windowTitle();
            QListWidget* families = nullptr;
            QListWidget* sizes = nullptr;
            for (QListWidget* l : dialog->findChildren<QListWidget*>())
                (l->count() == 14 && l->item(0)->text() == "10" ? sizes : families) = l;
            const auto radios = dialog->findChildren<QRadioButton*>();
            if (!families || !sizes || radios.size() != 2) return;
            QRadioButton* base_5d0 = radios[0]->text() == "5D0" ? radios[0] : radios[1];
            // The first family covering Hebrew other than the one in use.
            for (int i = 0; i < families->count() && seen->hebrew.isEmpty(); ++i) {
                const QString name = families->item(i)->text();
                if (name != "DejaVu Sans" &&
                    QFontDatabase::writingSystems(name).contains(QFontDatabase::Hebrew))
                    seen->hebrew = name;
            }
            if (seen->hebrew.isEmpty()) return;
            const bool was_224 = !base_5d0->isChecked();
            auto click_item = [](QListWidget* list, QListWidgetItem* item) {
                list->scrollToItem(item);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(item).center());
            };
            click_item(families, families->findItems(seen->hebrew, Qt::MatchExactly).value(0));
            click_item(sizes, sizes->findItems("24", Qt::MatchExactly).value(0));
            seen->switched = was_224 && base_5d0->isChecked();
            if (auto* done = dialog->findChild<QPushButton*>("done_button")) done->click();
        });
        top_->activateWindow();  // Ctrl+F belongs to the active window
        QVERIFY(QTest::qWaitForWindowActive(top_));
        QTest::keyClick(top_, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(seen->title, QString("Choose Font"));
        if (seen->hebrew.isEmpty()) QSKIP("no font family covers Hebrew here");
        QVERIFY(seen->switched);
        const FontSpec& font_spec = g_settings.font_spec;
        QCOMPARE(QString::fromUtf16(font_spec.face_name), seen->hebrew);
        QCOMPARE(font_spec.font_size, 24);
        QCOMPARE(font_spec.font_ascii_base, 0x5D0);
        QCOMPARE(QString::fromUtf16(g_reader.view->font_spec.face_name), seen->hebrew);
        QCOMPARE(g_reader.view->font_spec.font_size, 24);
        exit_by_menu();
        write_string_value(u"FontName", u"DejaVu Sans");  // as the other tests expect
        write_int_value(u"FontSize", 0);
        plat::registry_flush();
    }

    void calendarStepsAndATapMoveTheReader() {
        start(day_number_from_civil(11, 13, 2012));  // 28 Heshvan 5773
        on_calendar([](QWidget*, QWidget* client) {
            QTest::keyClick(client, Qt::Key_Down);   // Kislev
            QTest::keyClick(client, Qt::Key_Right);  // Kislev 5774
            QTest::keyClick(client, Qt::Key_Left);
            QTest::keyClick(client, Qt::Key_Right);
            QCOMPARE(g_calendar.displayed, (DateRecord{9, 28, 5774}));
            QTest::mouseClick(client, Qt::LeftButton, {}, day_cell_centre(3));
        });
        top_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(top_));
        QTest::keyClick(client_, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(g_settings.current_day, day_number_from_hebrew(9, 3, 5774));
        QVERIFY(g_settings.current_lesson != 0);
        QCOMPARE(shown_key(), g_settings.current_lesson);
    }

    void dateStripOpensTheCalendarAndCancelKeepsTheDay() {
        start(day_number_from_civil(11, 13, 2012));
        const int32_t day = g_settings.current_day;
        bool opened = false;
        on_calendar([&opened](QWidget* dialog, QWidget* client) {
            opened = true;
            QTest::keyClick(client, Qt::Key_Down);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        // At the end of the text a tap no longer pages: the strip opens the calendar.
        QTest::keyClick(client_, Qt::Key_End);
        QTest::mouseClick(client_, Qt::LeftButton, {},
                          QPoint(5, g_reader.strip_top + g_reader.strip_height / 2));
        QVERIFY(opened);
        QCOMPARE(g_settings.current_day, day);
        // The Done button chooses nothing either.
        on_calendar([](QWidget* dialog, QWidget*) {
            auto* done = dialog->findChild<QAbstractButton*>("done_button");
            QVERIFY(done);
            done->click();
        });
        menu_item("&Calendar")->trigger();
        QCOMPARE(g_settings.current_day, day);
    }

    // The search dialog on the Qt backend: keys tapped on the keyboard picture, then words
    // typed with the Latin keys; Return searches, F3 and Return search again.
    void searchesFromTheDialog() {
        // An earlier test's window asked the loop to end, and a nested loop (the dialog's) would
        // end at once: the application loop takes the request and clears it.
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        start(day_number_from_civil(11, 13, 2012));  // key 0x081C
        // The title of the lesson of key 0x0901 (2305) spells "acdaf"; read right to left, it
        // is typed f, a, d, c, a.
        bool ran = false;
        when_dialog_opens([&ran](QWidget* dialog) {
            auto* client = dialog->findChild<QWidget*>("dialog_client");
            auto* edit = dialog->findChild<QLineEdit*>();
            QVERIFY(client && edit);
            const plat::BaseUnits units = plat::dialog_base_units();
            for (int key : {6, 1, 4, 3, 1}) {
                const int row = (key - 1) / 9, column = 9 * (row + 1) - key;
                const QPoint p(7 * units.x / 4 + column * 17 + 8, 71 * units.y / 8 + row * 25 + 12);
                QTest::mouseClick(client, Qt::LeftButton, {}, p);
            }
            QCOMPARE(edit->text(), QString::fromUtf16(u"\u202E\u05D5\u05D0\u05D3\u05D2\u05D0"));
            QTest::keyClick(edit, Qt::Key_Return);
            ran = true;
        });
        QTest::keyClick(client_, Qt::Key_F3, Qt::AltModifier);
        QTRY_VERIFY(ran);
        QCOMPARE(shown_key(), uint16_t(0x0901));
        QCOMPARE(g_settings.current_lesson, uint16_t(0x0901));
        QCOMPARE(int(g_reader.view->hl_end - g_reader.view->hl_start), 5);
        QVERIFY(!open_dialog());
        QTRY_VERIFY(top_->isActiveWindow());

        // The only place: F3 goes round the year to it again.
        const uint16_t title = g_reader.view->hl_start;
        QTest::keyClick(client_, Qt::Key_F3);
        QCOMPARE(g_reader.view->hl_start, title);
        QCOMPARE(shown_key(), uint16_t(0x0901));
        QCOMPARE(int(g_reader.view->hl_end - g_reader.view->hl_start), 5);

        // The common word "bcd" typed with the Latin keys as it reads: d, c, b.
        bool typed = false;
        when_dialog_opens([&typed](QWidget* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>();
            QVERIFY(edit);
            QTest::keyClicks(edit, "dcb");
            QTest::keyClick(edit, Qt::Key_Return);
            typed = true;
        });
        menu_item("&Search")->trigger();
        QTRY_VERIFY(typed);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(g_settings.search_string)),
                 QByteArray("bcd"));
        QCOMPARE(shown_key(), uint16_t(0x0901));
        const uint16_t first = g_reader.view->hl_start;
        QTest::keyClick(client_, Qt::Key_Return);
        QVERIFY(g_reader.view->hl_start != first);
    }

    void restartResumesAtTheSavedRow() {
        REQUIRE_PROGRAM();
        start(day_number_from_civil(11, 13, 2012));
        QTest::keyClick(client_, Qt::Key_PageDown);
        QTest::keyClick(client_, Qt::Key_Down);
        const int row = g_reader.view->top_row;
        QVERIFY(row > 1);
        exit_by_menu();
        QCOMPARE(stored_dword(config_.path(), "LastPosition"), int64_t(row));

        // Here again, as a new start in this process...
        start();
        QCOMPARE(int(g_reader.view->top_row), row);
        exit_by_menu();
        // ...and as the program itself, which writes the row it showed when it ends.
        QCOMPARE(
            run_program({"--book", book_path_, "--screenshot", config_.path() + "/restart.png"}),
            0);
        QCOMPARE(stored_dword(config_.path(), "LastPosition"), int64_t(row));
        QCOMPARE(stored_dword(config_.path(), "Day"), int64_t(day_number_from_civil(11, 13, 2012)));
    }

    void todayOptionOverridesThePinnedDay() {
        REQUIRE_PROGRAM();
        start(day_number_from_civil(11, 13, 2012));
        exit_by_menu();
        QCOMPARE(run_program({"/TODAY", "--book", book_path_, "--screenshot",
                              config_.path() + "/today.png"}),
                 0);
        QCOMPARE(stored_dword(config_.path(), "Day"), int64_t(today()));
        QVERIFY(!(stored_dword(config_.path(), "Flags") & FLAG_DAY_PINNED));
    }

    void secondLaunchHandsOver() {
        REQUIRE_PROGRAM();
        start(day_number_from_civil(11, 13, 2012));
        top_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(top_));
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(run_program({"--book", book_path_}, false, 20000), 0);
        QVERIFY(timer.elapsed() < 10000);
        QTRY_COMPARE(g_settings.current_day, today());
    }

    void screenshotShowsTheLessonAndTheDate() {
        REQUIRE_PROGRAM();
        QTemporaryDir dir;
        const QString png = dir.path() + "/out.png";
        QCOMPARE(run_program({"--screenshot", png, "--date", "2026-12-07"}), 0);
        QImage image(png);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() > 100 && image.height() > 100);
        // The cyan date strip with dark letters on it, and dark text above it.
        int strip_row = -1;
        for (int y = image.height() - 1; y >= 0 && strip_row < 0; --y)
            if (image.pixelColor(image.width() / 2, y) == QColor(0, 255, 255)) strip_row = y;
        QVERIFY(strip_row > image.height() / 2);
        int dark_in_strip = 0, dark_above = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y).lightness() >= 100) continue;
                if (std::abs(y - strip_row) < 8) ++dark_in_strip;
                if (y < strip_row - 20) ++dark_above;
            }
        QVERIFY(dark_in_strip > 20);
        QVERIFY(dark_above > 200);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The single-instance rendezvous of these runs, apart from any reader the user runs.
    QTemporaryDir runtime;
    qputenv("TMPDIR", runtime.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    if (!plat::init_gui(argc, argv)) return 2;
    FlowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "flow_test.moc"
