// The index and the bookmarks end to end on the offscreen platform: the real start-up, window
// and dialog in this process, driven through Qt events, and a restart in between.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include "bookmarks/bookmarks.h"
#include "index/index_dialog.h"
#include "index/index_test_support.h"
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

uint16_t shown_key() {
    return g_reader.view ? ts::key_spelled_by(g_reader.view->text) : 0;
}

// The middle of the first shown line of the entry with this key, in the dialog's client
// pixels; none when the entry is not shown.
std::optional<QPoint> entry_point(uint16_t key) {
    const IndexTree* tree = index_dialog_tree();
    if (!tree) return std::nullopt;
    int32_t seen = 0, y = tree->top;
    for (int i = 0; i < tree->line_count; ++i) {
        const IndexLine& line = tree->lines[i];
        if (!line_visible(line)) continue;
        if (seen++ < tree->top_row) continue;
        if (line.key == key) return QPoint(line.x + line.width / 2, y + line.height / 2);
        y += line.height;
    }
    return std::nullopt;
}

QWidget* dialog_client() {
    QWidget* dialog = QApplication::activeModalWidget();
    return dialog ? dialog->findChild<QWidget*>("dialog_client") : nullptr;
}

}  // namespace

class IndexFlowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir config_;
    plat::Window* window_ = nullptr;
    QWidget* top_ = nullptr;

    void start() {
        g_settings = Settings{};
        g_reader = Reader{};
        read_shell_options();
        // The window of an earlier run may linger until the loop deletes it.
        const QWidgetList before = QApplication::topLevelWidgets();
        window_ = init_instance(0, "/usr/bin/lekta");
        QVERIFY(window_);
        top_ = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "Lekta-Hebrew" && w->isVisible() && !before.contains(w))
                top_ = w;
        QVERIFY(top_);
        QVERIFY(QTest::qWaitForWindowExposed(top_));
        // Shortcuts belong to the active window.
        top_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(top_));
    }
    QAction* menu_item(const QString& label) {
        QMenu* menu = top_->findChild<QWidget*>("bar")->findChild<QMenu*>();
        for (QAction* a : menu->actions())
            if (a->text().section('\t', 0, 0) == label) return a;
        return nullptr;
    }
    // Opens the index with Ctrl+I and, once the dialog shows, taps the entries in turn.
    void choose(const std::vector<uint16_t>& keys) {
        bool done = false;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(dialog_client());
            QWidget* client = dialog_client();
            QTRY_VERIFY(client->isVisible());
            QCOMPARE(QApplication::activeModalWidget()->windowTitle(), QString("Choose Section"));
            for (uint16_t key : keys) {
                const std::optional<QPoint> p = entry_point(key);
                QVERIFY2(p, qPrintable(QString::number(key, 16)));
                QTest::mouseClick(client, Qt::LeftButton, {}, *p);
                QCoreApplication::processEvents();
            }
            done = true;
        });
        QTest::keyClick(top_->focusProxy(), Qt::Key_I, Qt::ControlModifier);
        QTRY_VERIFY(done);
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }
    void exit_by_menu() {
        menu_item("E&xit")->trigger();
        QCoreApplication::processEvents();
        window_ = nullptr;
        // The quit the exit posted would end the next dialog's loop at once; a program's next
        // start begins with none, as a real start does.
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }

  private slots:
    void initTestCase() {
        lekta::flow::start_failure_watchdog();
        QVERIFY(config_.isValid());
        qputenv("LEKTA_CONFIG_DIR", config_.path().toLocal8Bit());
        // A rendezvous of its own: another copy of the reader may be running on this desktop.
        qputenv("XDG_RUNTIME_DIR", config_.path().toLocal8Bit());
        ts::TestBook book = ts::make_test_book(true);
        book.index = ts::index_list(ts::small_index());
        ts::use_test_book(book);
        write_string_value(u"FontName", u"DejaVu Sans");
        plat::registry_flush();
    }

    void cleanup() {
        if (window_) plat::destroy_window(window_);
        QCoreApplication::processEvents();
        window_ = nullptr;
    }

    void opensAGroupAndPicksASection() {
        start();
        choose({0xBFFE, 0xBFFD, 0x4101});
        QCOMPARE(shown_key(), uint16_t(0x0101));
        QCOMPARE(g_settings.current_lesson, uint16_t(0x0101));
    }

    void aBookmarkSurvivesARestart() {
        start();
        const uint16_t marked = g_settings.current_lesson;
        QAction* bookmark = menu_item("&Bookmark");
        QVERIFY(bookmark && bookmark->isEnabled());
        bookmark->trigger();
        QVERIFY(bookmark->isChecked());
        exit_by_menu();

        start();
        QCOMPARE(g_settings.bookmarks, std::vector<uint16_t>{marked});
        QVERIFY(menu_item("&Bookmark")->isChecked());
        menu_item("&Next day")->trigger();
        QVERIFY(!menu_item("&Bookmark")->isChecked());
        QVERIFY(shown_key() != marked);
        choose({uint16_t(marked | INDEX_SECTION_BIT)});
        QCOMPARE(shown_key(), marked);
        QVERIFY(menu_item("&Bookmark")->isChecked());
    }
};

QTEST_MAIN(IndexFlowTest)
#include "index_flow_test.moc"
