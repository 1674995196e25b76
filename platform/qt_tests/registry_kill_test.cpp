// A settings writer killed at random moments never leaves a torn file: after every kill the file
// is one whole generation, never older than the one seen before.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

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
        // Start-up time varies with the machine's load; the kill is timed from the first save.
        ASSERT_TRUE(writer.waitForReadyRead(30000)) << "the writer never saved";
        QThread::msleep(random.bounded(0, 150));
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
        }
    }
    EXPECT_GT(last, 40u) << "the writer made little progress; the kills proved little";
}

}  // namespace
