// The registry over the settings file: types survive a round trip through the file, hand edits
// and garbage read as strings or as missing, and nothing reaches the disk before a flush.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>

#include <filesystem>

#include "platform/qt/qt_internal.h"
#include "platform/qt/registry_text.h"

using namespace lekta;
using plat::RegValue;

namespace {

constexpr const char16_t* KEY = u"Halvern\\Lekta-Hebrew";

RegValue dword(uint32_t n) {
    return {plat::REG_DWORD, {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}};
}

RegValue text(const QString& s) {
    RegValue v{plat::REG_SZ, {}};
    for (QChar c : s) {
        v.bytes.push_back(uint8_t(c.unicode()));
        v.bytes.push_back(uint8_t(c.unicode() >> 8));
    }
    v.bytes.insert(v.bytes.end(), {0, 0});
    return v;
}

std::u16string u16(const QString& s) {
    return s.toStdU16String();
}

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        qputenv("LEKTA_CONFIG_DIR", dir_.path().toLocal8Bit());
        qtplat::reopen_registry();
    }
    void TearDown() override {
        qtplat::reopen_registry();
        qunsetenv("LEKTA_CONFIG_DIR");
    }
    QString file_path() const { return dir_.path() + "/Halvern/Lekta-Hebrew.ini"; }
    void write_file(const QByteArray& contents) {
        qtplat::reopen_registry();
        QDir().mkpath(dir_.path() + "/Halvern");
        QFile file(file_path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        qtplat::reopen_registry();
    }
    QByteArray read_file() const {
        QFile file(file_path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    std::optional<RegValue> read(const QString& name, const char16_t* key = KEY) {
        return plat::registry_read(key, u16(name).c_str());
    }

    QTemporaryDir dir_;
};

void expect_same(const std::optional<RegValue>& got, const RegValue& want, const char* what) {
    ASSERT_TRUE(got.has_value()) << what;
    EXPECT_EQ(got->type, want.type) << what;
    EXPECT_EQ(got->bytes, want.bytes) << what;
}

TEST_F(RegistryTest, ValuesKeepTheirTypesThroughTheFile) {
    const std::vector<std::pair<QString, RegValue>> values = {
        {"FontSize", dword(14)},
        {"Flags", dword(0xD1140040)},
        {"FontName", text("David CLM")},
        {"Hebrew", text(QString::fromUtf8("שלום עולם"))},
        {"Empty", text("")},
        {"LooksTyped", text("dword:00000005")},
        {"LooksHex", text("hex:01,02")},
        {"Quoted", text("\"quoted\" \\ back")},
        {"Spaces", text("  padded  ")},
        {"Lines", text("one\r\ntwo\tthree")},
        {"Control", text(QString("a") + QChar(1) + QChar(0xD800) + "b")},
        {"SearchString", RegValue{plat::REG_BINARY, {0x61, 0x62, 0x7B, 0x00}}},
        {"NoBytes", RegValue{plat::REG_BINARY, {}}},
        {"MultiString", RegValue{7, {0x41, 0, 0, 0, 0, 0}}},
        {"ShortDword", RegValue{plat::REG_DWORD, {1, 2}}},
        {"Odd name=[x]/y\\z%", dword(1)},
        {"", text("default value")},
        {"@", text("at sign")},
    };
    for (const auto& [name, value] : values)
        ASSERT_TRUE(plat::registry_write(KEY, u16(name).c_str(), value));
    ASSERT_TRUE(plat::registry_write(u"software\\Halvern", u"FullScreen", dword(1)));
    ASSERT_TRUE(plat::registry_flush());

    QByteArray file = read_file();
    EXPECT_TRUE(file.contains("[Halvern\\Lekta-Hebrew]\n"));
    EXPECT_TRUE(file.contains("\nFontSize=dword:0000000e\n"));
    EXPECT_TRUE(file.contains("\nFontName=David CLM\n"));
    EXPECT_TRUE(file.contains("\nSearchString=hex:61,62,7b,00\n"));
    EXPECT_TRUE(file.contains("[software\\Halvern]\nFullScreen=dword:00000001\n"));

    qtplat::reopen_registry();
    for (const auto& [name, value] : values)
        expect_same(read(name), value, name.toUtf8().constData());
    expect_same(read("FullScreen", u"software\\Halvern"), dword(1), "vendor key");
    EXPECT_FALSE(read("FullScreen").has_value());
    EXPECT_FALSE(read("Missing").has_value());
}

TEST_F(RegistryTest, NothingIsWrittenBeforeAFlushAndReadingCreatesNothing) {
    EXPECT_FALSE(read("FontSize").has_value());
    EXPECT_FALSE(QFile::exists(file_path()));
    ASSERT_TRUE(plat::registry_write(KEY, u"FontSize", dword(3)));
    expect_same(read("FontSize"), dword(3), "unflushed value is visible");
    EXPECT_FALSE(QFile::exists(file_path()));
    ASSERT_TRUE(plat::registry_flush());
    EXPECT_TRUE(QFile::exists(file_path()));
}

// A save that changes nothing leaves the file as it is (the same file, not a rewritten copy); one
// whose file another program removed or changed since it was read writes every value again.
TEST_F(RegistryTest, ASaveRewritesTheFileOnlyWhenItWouldChangeIt) {
    const std::vector<std::pair<QString, RegValue>> values = {{"FontSize", dword(14)},
                                                              {"FontName", text("David CLM")}};
    enum class Meanwhile { nothing, removed, rewritten };
    for (Meanwhile meanwhile : {Meanwhile::nothing, Meanwhile::removed, Meanwhile::rewritten}) {
        write_file("");
        for (const auto& [name, value] : values)
            ASSERT_TRUE(plat::registry_write(KEY, u16(name).c_str(), value));
        ASSERT_TRUE(plat::registry_flush());
        // The next run reads the file and saves the same values.
        qtplat::reopen_registry();
        const std::filesystem::path path = file_path().toStdString();
        const std::filesystem::path link = path.string() + ".link";
        std::filesystem::remove(link);
        std::filesystem::create_hard_link(path, link);
        for (const auto& [name, value] : values)
            ASSERT_TRUE(plat::registry_write(KEY, u16(name).c_str(), value));
        if (meanwhile == Meanwhile::removed) {
            ASSERT_TRUE(QFile::remove(file_path()));
        } else if (meanwhile == Meanwhile::rewritten) {
            QFile file(file_path());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("[Halvern\\Lekta-Hebrew]\nFontSize=dword:00000009\n");
        }
        ASSERT_TRUE(plat::registry_flush());
        std::error_code error;
        const auto links = std::filesystem::hard_link_count(path, error);
        EXPECT_EQ(links == 2, meanwhile == Meanwhile::nothing) << int(meanwhile);
        std::filesystem::remove(link);
        qtplat::reopen_registry();
        for (const auto& [name, value] : values)
            expect_same(read(name), value, name.toUtf8().constData());
    }
}

TEST_F(RegistryTest, HandEditsAndGarbageReadAsTextOrMissing) {
    write_file(
        QByteArray("\xEF\xBB\xBF; edited by hand\r\n"
                   "[Halvern\\Lekta-Hebrew]\r\n"
                   "FontSize=14\r\n"
                   "  Spaced  =   1a   \n"
                   "BadDword=dword:12x\n"
                   "HugeDword=dword:123456789\n"
                   "EmptyDword=dword:\n"
                   "BadHex=hex:01,zz\n"
                   "LongHexByte=hex:100\n"
                   "TrailingComma=hex:01,\n"
                   "BadType=hex(zz):01\n"
                   "OddType=hex(4):01,02\n"
                   "Unterminated=\"abc\n"
                   "BadEscape=\"a\\qb\"\n"
                   "ShortUnicode=\"\\u12\"\n"
                   "Binary=\x01\x02\xFF\xFE\n"
                   "no equals sign here\n"
                   "=nameless\n"
                   "fontname=lower case\n"
                   "[broken header\n"
                   "Lost=1\n"
                   "[Halvern/Lekta-Hebrew]\n"
                   "Day=dword:000b3f2a\n"));
    expect_same(read("FontSize"), text("14"), "decimal string");
    expect_same(read("Spaced"), text("1a"), "trimmed");
    expect_same(read("BadDword"), text("dword:12x"), "bad dword");
    expect_same(read("HugeDword"), text("dword:123456789"), "huge dword");
    expect_same(read("EmptyDword"), text("dword:"), "empty dword");
    expect_same(read("BadHex"), text("hex:01,zz"), "bad hex");
    expect_same(read("LongHexByte"), text("hex:100"), "three digits");
    expect_same(read("TrailingComma"), text("hex:01,"), "trailing comma");
    expect_same(read("BadType"), text("hex(zz):01"), "bad type");
    expect_same(read("OddType"), RegValue{4, {1, 2}}, "dword type, two bytes");
    expect_same(read("Unterminated"), text("\"abc"), "unterminated quote");
    expect_same(read("BadEscape"), text("\"a\\qb\""), "bad escape");
    expect_same(read("ShortUnicode"), text("\"\\u12\""), "short escape");
    expect_same(read("FontName"), text("lower case"), "names ignore case");
    expect_same(read("Day"), dword(0xB3F2A), "other separator in header");
    auto binary = read("Binary");
    ASSERT_TRUE(binary.has_value());
    EXPECT_EQ(binary->type, plat::REG_SZ);
    EXPECT_FALSE(read("Lost").has_value());

    // Writing keeps the hand edit's other values and replaces the differently spelled name.
    ASSERT_TRUE(plat::registry_write(KEY, u"FontName", text("Frank Ruehl CLM")));
    ASSERT_TRUE(plat::registry_flush());
    QByteArray file = read_file();
    EXPECT_FALSE(file.contains("fontname="));
    qtplat::reopen_registry();
    expect_same(read("FontName"), text("Frank Ruehl CLM"), "rewritten");
    expect_same(read("FontSize"), text("14"), "kept");
}

// Random bytes and random near-misses of the typed forms: reading never fails, and what is
// written back reads back the same.
TEST_F(RegistryTest, RandomFilesNeverBreakReadingAndSurviveARewrite) {
    QRandomGenerator random(20261207);
    const QByteArray pieces[] = {"[",  "]",  "\\",  "=", "dword:", "hex:",    "hex(",
                                 "):", "\"", "\\u", ",", "0",      "f",       "\n",
                                 "\r", " ",  "%",   "@", "Name",   "\xD7\xA9"};
    for (int round = 0; round < 200; ++round) {
        QByteArray contents = "[Halvern\\Lekta-Hebrew]\n";
        int length = random.bounded(1, 200);
        for (int i = 0; i < length; ++i) {
            if (random.bounded(3) == 0)
                contents += char(random.bounded(256));
            else
                contents += pieces[random.bounded(int(std::size(pieces)))];
        }
        write_file(contents);
        QSettings::SettingsMap first;
        QFile file(file_path());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        ASSERT_TRUE(qtplat::read_settings_file(file, first));
        for (auto it = first.cbegin(); it != first.cend(); ++it) {
            RegValue value = qtplat::decode_reg_value(it.value().toString());
            EXPECT_EQ(qtplat::decode_reg_value(qtplat::encode_reg_value(value)).bytes, value.bytes);
        }
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        ASSERT_TRUE(qtplat::write_settings_file(buffer, first));
        buffer.seek(0);
        QSettings::SettingsMap second;
        ASSERT_TRUE(qtplat::read_settings_file(buffer, second));
        EXPECT_EQ(first, second) << contents.toHex().constData();
    }
}

}  // namespace
