// Single instance across processes: a second launch hands over to the first and ends, ten
// launches at once leave one copy, and a copy that crashed does not block the next one.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <memory>
#include <tuple>

namespace {

QString unique_name(const char* what) {
    return QString("LektaTest-%1-%2").arg(what).arg(QCoreApplication::applicationPid());
}

std::unique_ptr<QProcess> launch(
    const QString& name, const QString& mode, const QStringList& words = {},
    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env);
    process->start(INSTANCE_HELPER, QStringList{name, mode} + words);
    return process;
}

int handovers(QProcess& first) {
    QByteArray out = first.readAllStandardOutput();
    qsizetype at = out.indexOf("handovers ");
    return at < 0 ? -1 : out.mid(at + 10).trimmed().toInt();
}

TEST(SingleInstance, SecondLaunchHandsOverAndEnds) {
    const QString name = unique_name("pair");
    auto first = launch(name, "3000");
    ASSERT_TRUE(first->waitForReadyRead(5000));
    ASSERT_EQ(first->readLine().trimmed(), "first");
    auto second = launch(name, "3000");
    ASSERT_TRUE(second->waitForFinished(5000)) << "the second launch should end at once";
    EXPECT_EQ(second->exitCode(), 3);
    ASSERT_TRUE(first->waitForFinished(10000));
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_EQ(handovers(*first), 1);
}

// What a later launch was asked to show reaches the first copy intact, one line a launch.
TEST(SingleInstance, LaterLaunchesHandTheirWordsOver) {
    const QString name = unique_name("words");
    auto first = launch(name, "4000");
    ASSERT_TRUE(first->waitForReadyRead(5000));
    ASSERT_EQ(first->readLine().trimmed(), "first");
    for (const QString& words : {QString("day 740000"), QString(), QString("today\nday 1")}) {
        auto later = launch(name, "4000", {words});
        ASSERT_TRUE(later->waitForFinished(5000));
        EXPECT_EQ(later->exitCode(), 3);
    }
    ASSERT_TRUE(first->waitForFinished(10000));
    const QByteArray out = first->readAllStandardOutput();
    // A line break in the words would start a second request; it is sent as a space.
    EXPECT_EQ(out, "words day 740000\nwords \nwords today day 1\nhandovers 3\n");
}

TEST(SingleInstance, TenLaunchesAtOnceLeaveOneCopy) {
    const QString name = unique_name("ten");
    std::vector<std::unique_ptr<QProcess>> launches;
    for (int i = 0; i < 10; ++i)
        launches.push_back(launch(name, "2500"));
    int firsts = 0, seconds = 0, handed = -1;
    for (auto& p : launches) {
        ASSERT_TRUE(p->waitForFinished(20000));
        if (p->exitCode() == 0) {
            ++firsts;
            handed = handovers(*p);
        } else if (p->exitCode() == 3) {
            ++seconds;
        }
    }
    EXPECT_EQ(firsts, 1);
    EXPECT_EQ(seconds, 9);
    EXPECT_EQ(handed, 9);
}

TEST(SingleInstance, CrashedCopyDoesNotBlockTheNext) {
    const QString name = unique_name("crash");
    auto crashed = launch(name, "crash");
    ASSERT_TRUE(crashed->waitForFinished(5000));
    ASSERT_EQ(crashed->exitStatus(), QProcess::CrashExit);
    auto next = launch(name, "200");
    ASSERT_TRUE(next->waitForFinished(10000));
    EXPECT_EQ(next->exitCode(), 0);
    EXPECT_TRUE(next->readAllStandardOutput().startsWith("first"));
}

// A launch on another display, or with another settings folder, is a copy of its own; the same
// display with its screen number named is the same copy.
TEST(SingleInstance, OneCopyPerDisplayAndSettingsFolder) {
    const QString name = unique_name("where");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", ":71");
    env.insert("LEKTA_CONFIG_DIR", "/tmp/lekta-where-a");
    env.remove("WAYLAND_DISPLAY");
    auto first = launch(name, "3000", {}, env);
    ASSERT_TRUE(first->waitForReadyRead(5000));
    ASSERT_EQ(first->readLine().trimmed(), "first");
    // Display, settings folder, and the exit code: 3 handed over, 0 ran as a first copy.
    for (const auto& [display, config, code] :
         {std::tuple{":72", "/tmp/lekta-where-a", 0}, std::tuple{":71", "/tmp/lekta-where-b", 0},
          std::tuple{":71.0", "/tmp/lekta-where-a", 3}}) {
        QProcessEnvironment other = env;
        other.insert("DISPLAY", display);
        other.insert("LEKTA_CONFIG_DIR", config);
        auto later = launch(name, "100", {}, other);
        ASSERT_TRUE(later->waitForFinished(5000));
        EXPECT_EQ(later->exitCode(), code) << display << " " << config;
    }
    ASSERT_TRUE(first->waitForFinished(10000));
    EXPECT_EQ(handovers(*first), 1);
}

// The rendezvous is the user's alone, and goes when the copy that made it ends.
TEST(SingleInstance, SocketIsPrivateAndRemovedAtTheEnd) {
    const QString name = unique_name("private");
    auto first = launch(name, "1000");
    ASSERT_TRUE(first->waitForReadyRead(5000));
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    const QStringList sockets =
        QDir(dir).entryList({QString("%1-%2-*.socket").arg(name).arg(::getuid())}, QDir::System);
    ASSERT_EQ(sockets.size(), 1);
    const QString path = dir + '/' + sockets.front();
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 0077, 0u);
    ASSERT_TRUE(first->waitForFinished(10000));
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
