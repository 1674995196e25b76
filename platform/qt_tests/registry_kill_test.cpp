// A settings writer killed at random moments never leaves a torn file: after every kill the file
// is one whole generation, never older than the one seen before, and the next start reads it and
// clears what the killed save left behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <optional>

#include "platform/qt/qt_internal.h"
#include "platform/qt/registry_text.h"

using namespace lekta;

namespace {

constexpr int VALUES = 150;  // as qt_reg_writer writes them

struct Generation {
    bool present = false;
    uint32_t gen = 0;
    QString error;
};

uint32_t dword_of(const plat::RegValue& v) {
    return v.bytes[0] | v.bytes[1] << 8 | v.bytes[2] << 16 | uint32_t(v.bytes[3]) << 24;
}

// Strict reading: every line is the one section or a value of the expected form, and every
// value belongs to the same generation.
Generation check_file(const QString& path) {
    Generation result;
    QFile file(path);
    if (!file.exists()) return result;
    if (!file.open(QIODevice::ReadOnly)) return {true, 0, "cannot open"};
    QByteArray data = file.readAll();
    if (!data.endsWith('\n')) return {true, 0, "no final newline"};
    const QStringList lines = QString::fromUtf8(data).split('\n', Qt::SkipEmptyParts);
    if (lines.value(0) != "[Halvern\\Lekta-Hebrew]") return {true, 0, "first line " + lines[0]};
    QSettings::SettingsMap map;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        qsizetype eq = lines[i].indexOf('=');
        if (eq <= 0) return {true, 0, "bad line " + lines[i]};
        map.insert(lines[i].left(eq), lines[i].mid(eq + 1));
    }
    if (map.size() != 2 * VALUES + 2) return {true, 0, QString("%1 values").arg(map.size())};
    plat::RegValue gen = qtplat::decode_reg_value(map.value("Gen").toString());
    if (gen.type != plat::REG_DWORD) return {true, 0, "Gen is not a dword"};
    result.present = true;
    result.gen = dword_of(gen);
    plat::RegValue b = qtplat::decode_reg_value(map.value("B").toString());
    if (b.type != plat::REG_BINARY || b.bytes.size() != 4 || dword_of(b) != result.gen)
        result.error = "B differs";
    for (int i = 0; i < VALUES && result.error.isEmpty(); ++i) {
        plat::RegValue v = qtplat::decode_reg_value(map.value(QString("V%1").arg(i)).toString());
        plat::RegValue s = qtplat::decode_reg_value(map.value(QString("S%1").arg(i)).toString());
        QString want = QString("g-%1-%2").arg(result.gen).arg(i);
        if (v.type != plat::REG_DWORD || dword_of(v) != result.gen)
            result.error = QString("V%1 differs").arg(i);
        else if (s.type != plat::REG_SZ || s.bytes != qtplat::decode_reg_value(want).bytes)
            result.error = QString("S%1 differs").arg(i);
    }
    return result;
}

// The next start, in this process: the settings as the program reads them at start.
std::optional<uint32_t> generation_read_at_start(const QString& config_dir) {
    qputenv("LEKTA_CONFIG_DIR", config_dir.toLocal8Bit());
    qtplat::reopen_registry();
    std::optional<plat::RegValue> gen = plat::registry_read(u"Halvern\\Lekta-Hebrew", u"Gen");
    if (!gen || gen->type != plat::REG_DWORD || gen->bytes.size() != 4) return std::nullopt;
    return dword_of(*gen);
}

// Files beside the settings file: what a killed save may leave (its temporary file, its locks).
QStringList leftover_files(const QString& config_dir) {
    return QDir(config_dir + "/Halvern")
        .entryList({"Lekta-Hebrew.ini.*"}, QDir::Files | QDir::Hidden | QDir::System);
}
std::string leftovers(const QString& config_dir) {
    return leftover_files(config_dir).join(' ').toStdString();
}

TEST(RegistryKill, KilledWriterLeavesOldOrNewFileWhole) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/Halvern/Lekta-Hebrew.ini";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LEKTA_CONFIG_DIR", dir.path());
    QRandomGenerator random(7);
    uint32_t last = 0;
    for (int round = 0; round < 40; ++round) {
        QProcess writer;
        writer.setProcessEnvironment(env);
        writer.start(REG_WRITER, {});
        ASSERT_TRUE(writer.waitForStarted());
        // Start-up and saving times vary with the machine's load, so the kill is timed by the
        // writer's own pace: somewhere within the two saves after the one just measured.
        ASSERT_TRUE(writer.waitForReadyRead(30000)) << "the writer never saved";
        writer.readAll();
        QElapsedTimer one_save;
        one_save.start();
        ASSERT_TRUE(writer.waitForReadyRead(30000)) << "the writer saved only once";
        QThread::msleep(random.bounded(0, 2 * int(one_save.elapsed()) + 1));
        writer.kill();
        ASSERT_TRUE(writer.waitForFinished());
        ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit) << "the writer stopped by itself";
        Generation now = check_file(path);
        ASSERT_TRUE(now.error.isEmpty()) << "round " << round << ": " << now.error.toStdString();
        if (last) {
            ASSERT_TRUE(now.present) << "round " << round;
        }
        if (now.present) {
            ASSERT_GE(now.gen, last) << "round " << round;
            last = now.gen;
            ASSERT_EQ(generation_read_at_start(dir.path()), now.gen) << "round " << round;
            ASSERT_EQ(leftovers(dir.path()), "") << "round " << round;
        }
    }
}

// A kill in the middle of a save, made certain: the lock held, the temporary file half written.
// The next start reads the generation before it and leaves no trace of the killed save.
TEST(RegistryKill, NextStartClearsWhatAKilledSaveLeft) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/Halvern/Lekta-Hebrew.ini";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LEKTA_CONFIG_DIR", dir.path());
    QProcess writer;
    writer.setProcessEnvironment(env);
    writer.start(REG_WRITER, {});
    ASSERT_TRUE(writer.waitForStarted());
    for (int i = 0; i < 500 && !check_file(path).present; ++i)
        QThread::msleep(10);
    writer.kill();
    ASSERT_TRUE(writer.waitForFinished());
    const Generation before = check_file(path);
    ASSERT_TRUE(before.present && before.error.isEmpty()) << before.error.toStdString();
    (void)generation_read_at_start(dir.path());  // clears what this kill may have left

    QProcess dying;
    dying.setProcessEnvironment(env);
    dying.start(REG_WRITER, {"stale"});
    ASSERT_TRUE(dying.waitForFinished());
    ASSERT_EQ(dying.exitStatus(), QProcess::CrashExit);
    ASSERT_EQ(leftover_files(dir.path()).size(), 2) << leftovers(dir.path());

    EXPECT_EQ(generation_read_at_start(dir.path()), before.gen);
    EXPECT_EQ(leftovers(dir.path()), "");
    EXPECT_EQ(check_file(path).gen, before.gen);
}

// A save running in another process at the moment of a start keeps its files.
TEST(RegistryKill, StartLeavesALiveSaveAlone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/Halvern"));
    const QString path = dir.path() + "/Halvern/Lekta-Hebrew.ini";
    QLockFile saving(path + ".lock");
    ASSERT_TRUE(saving.tryLock(0));
    QFile temporary(path + ".Ab12Cd");
    ASSERT_TRUE(temporary.open(QIODevice::WriteOnly));
    temporary.close();
    (void)generation_read_at_start(dir.path());
    EXPECT_TRUE(temporary.exists());
}

}  // namespace
