// Whatever the settings file holds, the reader starts: two hundred generated files (garbage
// bytes, values of the wrong type, huge and negative numbers, values that contradict each other)
// each start the built program headless to its first painted lesson. A crash, a non-zero end, a
// hang or a message box (which waits for a click forever) fails the case.
//   settings_fault_test LEKTA [CASES] [SEED]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "state/settings_table.h"

namespace {

using Rng = std::mt19937;

constexpr int RUN_TIMEOUT_MS = 15000;
constexpr int PARALLEL = 2;
constexpr int MAX_FAILURES_SHOWN = 8;
const char SETTINGS_SECTION[] = "[Halvern\\Lekta-Hebrew]\n";
const char VENDOR_SECTION[] = "[software\\Halvern]\n";
// A face is always stored last, so that the start goes to the lesson rather than the font dialog
// a reader without a chosen font opens.
const char FONT_LINE[] = "FontName=DejaVu Sans\n";

int pick(Rng& rng, int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(rng);
}

uint32_t any32(Rng& rng) {
    return static_cast<uint32_t>(rng());
}

std::string dword(uint32_t n) {
    char text[32];
    std::snprintf(text, sizeof text, "dword:%08x", n);
    return text;
}

std::string hex_bytes(const std::vector<uint8_t>& bytes, const char* prefix = "hex:") {
    std::string out = prefix;
    char two[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(two, sizeof two, "%02x", bytes[i]);
        if (i) out += ',';
        out += two;
    }
    return out;
}

std::vector<uint8_t> random_bytes(Rng& rng, size_t n) {
    std::vector<uint8_t> bytes(n);
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>(rng());
    return bytes;
}

// A day number somewhere in the calendar's exact range (civil years 1583 to 6773).
uint32_t plausible_day(Rng& rng) {
    return static_cast<uint32_t>(std::uniform_int_distribution<int32_t>(577736, 2473000)(rng));
}

// An integer value as the file may hold it: well formed and sensible, well formed and extreme,
// of another type, or malformed.
std::string int_value(Rng& rng, const std::string& name) {
    static const uint32_t extremes[] = {0,          1,      0xFFFFFFFF, 0x7FFFFFFF, 0x80000000,
                                        0x80000001, 0xFFFF, 0x10000,    31767,      0x1FFF};
    static const char* const texts[] = {"-1",
                                        "-2147483648",
                                        "2147483647",
                                        "4294967295",
                                        "4294967296",
                                        "99999999999999999999",
                                        "-99999999999",
                                        "12abc",
                                        "",
                                        " 12",
                                        "+7",
                                        "0x10",
                                        "1e9",
                                        "Tuesday",
                                        "\"\"",
                                        "\"12\"",
                                        "dword:",
                                        "dword:123",
                                        "dword:zzzzzzzz",
                                        "dword:00000000000001",
                                        "hex(4):01,00,00,00",
                                        "hex(7):41,00,00,00",
                                        "hex:",
                                        "hex:01,02,03,04"};
    switch (pick(rng, 6)) {
        case 0:
            if (name == "Day") return dword(plausible_day(rng));
            if (name == "Lesson")
                return dword(uint32_t(1 + pick(rng, 13)) << 8 | uint32_t(1 + pick(rng, 31)));
            return dword(uint32_t(pick(rng, 200)));
        case 1:
            return dword(extremes[pick(rng, std::size(extremes))]);
        case 2:
            return dword(any32(rng));
        case 3:
            return std::to_string(static_cast<int32_t>(any32(rng)));
        default:
            return texts[pick(rng, std::size(texts))];
    }
}

std::string string_value(Rng& rng) {
    switch (pick(rng, 7)) {
        case 0:
            return "David CLM";
        case 1:
            return "";
        case 2:
            return std::string(size_t(100 + pick(rng, 20000)), 'W');
        case 3:
            return "\"a\\nb\\t\\\\c\\x\"";
        case 4:
            return "\xD7\x93\xD7\x95\xD7\x93";  // a Hebrew name
        case 5:
            return "\xFF\xFE\xC3(\xED\xA0\x80";  // not UTF-8
        default:
            return hex_bytes(random_bytes(rng, size_t(pick(rng, 80))), "hex(1):");
    }
}

std::string bytes_value(Rng& rng) {
    switch (pick(rng, 7)) {
        case 0:
            return "hex:";
        case 1:
            return hex_bytes(random_bytes(rng, 1));
        case 2:
            return hex_bytes(random_bytes(rng, size_t(1 + pick(rng, 64))));
        case 3:
            return hex_bytes(random_bytes(rng, size_t(1000 + pick(rng, 8000))));
        case 4:
            return "hex:0";
        case 5:
            return dword(any32(rng));
        default:
            return "some words";
    }
}

// A declared value's name as the file spells it (the names are ASCII).
std::string name_of(const lekta::StoredValue& v) {
    std::string name;
    for (const char16_t* c = v.name; *c; ++c)
        name += static_cast<char>(*c);
    return name;
}

std::string value_for(Rng& rng, const lekta::StoredValue& v) {
    switch (v.type) {
        case lekta::ValueType::INTEGER:
            return int_value(rng, name_of(v));
        case lekta::ValueType::TEXT:
            return string_value(rng);
        case lekta::ValueType::BYTES:
            return bytes_value(rng);
    }
    return {};
}

// Some values, each of a random form, in both sections.
std::string values_file(Rng& rng) {
    std::string settings = SETTINGS_SECTION, vendor = VENDOR_SECTION;
    for (const lekta::StoredValue& v : lekta::stored_values()) {
        if (pick(rng, 3) == 0) continue;
        std::string line = name_of(v) + "=" + value_for(rng, v) + "\n";
        (v.key == lekta::ValueKey::OPTIONS ? vendor : settings) += line;
    }
    return vendor + settings + FONT_LINE;
}

// A well-formed file whose values disagree with each other: a pinned day of 0, a lesson of
// another day, a place past the lesson's end, one name twice or in two spellings.
std::string contradicting_file(Rng& rng) {
    std::string f = SETTINGS_SECTION;
    const uint32_t day = plausible_day(rng);
    switch (pick(rng, 6)) {
        case 0:
            f += "Day=dword:00000000\nFlags=" + dword(0xD1140040 | 4) + "\n";
            break;
        case 1:
            f += "Day=" + dword(day) + "\nFlags=" + dword(0xD1140040 | 4) + "\nLesson=" +
                 dword(uint32_t(1 + pick(rng, 13)) << 8 | uint32_t(1 + pick(rng, 31))) + "\n";
            break;
        case 2:
            f += "Day=" + dword(day) + "\nFlags=" + dword(any32(rng) | 4) +
                 "\nLastPosition=" + dword(0xFFFF - uint32_t(pick(rng, 100))) + "\n";
            break;
        case 3:
            f += "Day=" + dword(day) + "\nDAY=" + dword(any32(rng)) + "\nday=Tuesday\n";
            break;
        case 4:
            f += "Flags=" + dword(any32(rng)) + "\nFlags=" + dword(0xFFFFFFFF) + "\n";
            break;
        default:
            f += "Lesson=" + dword(31767) + "\nDay=" + dword(day) + "\nFlags=dword:ffffffff\n";
            break;
    }
    f += "FontSize=" + int_value(rng, "FontSize") + "\n";
    return std::string(VENDOR_SECTION) + "FullScreen=" + int_value(rng, "FullScreen") +
           "\nSurroundingGutter=" + int_value(rng, "SurroundingGutter") + "\n" + f + FONT_LINE;
}

// Bytes that were never a settings file: noise, text-like noise, a good file cut short or with
// bytes changed. The face is appended in a section of its own, which the reading must find.
std::string garbage_file(Rng& rng) {
    std::string f;
    switch (pick(rng, 4)) {
        case 0: {
            const std::vector<uint8_t> b = random_bytes(rng, size_t(pick(rng, 5000)));
            f.assign(b.begin(), b.end());
            break;
        }
        case 1: {
            static const char alphabet[] = "[]=\\\"%\n\r\t ,:abcdefxyzDayFlagshex(0123456789";
            const int n = pick(rng, 3000);
            for (int i = 0; i < n; ++i)
                f += alphabet[pick(rng, sizeof alphabet - 1)];
            break;
        }
        case 2:
            f = values_file(rng);
            f.resize(size_t(pick(rng, int(f.size()) + 1)));
            break;
        default:
            f = values_file(rng);
            for (int i = 0, n = 1 + pick(rng, 20); i < n && !f.empty(); ++i)
                f[size_t(pick(rng, int(f.size())))] = static_cast<char>(rng());
            break;
    }
    return f + "\n" + SETTINGS_SECTION + FONT_LINE;
}

struct Case {
    std::string kind;
    int number = 0;
    std::string file;
};

std::vector<Case> make_cases(int count, uint32_t seed) {
    Rng rng(seed);
    std::vector<Case> cases;
    for (int i = 0; i < count; ++i) {
        Case c;
        c.number = i;
        switch (i % 3) {
            case 0:
                c.kind = "garbage";
                c.file = garbage_file(rng);
                break;
            case 1:
                c.kind = "values";
                c.file = values_file(rng);
                break;
            default:
                c.kind = "contradicting";
                c.file = contradicting_file(rng);
                break;
        }
        cases.push_back(std::move(c));
    }
    return cases;
}

struct Run {
    const Case* c = nullptr;
    QString dir;
    std::unique_ptr<QProcess> process;
    QElapsedTimer timer;
};

// What went wrong with a finished or timed-out run; empty when the lesson was painted.
std::string verdict(Run& run, bool timed_out) {
    if (timed_out) return "no end within the time limit: a hang, or a message box waiting";
    if (run.process->exitStatus() != QProcess::NormalExit) return "crashed";
    if (run.process->exitCode() != 0)
        return "ended with status " + std::to_string(run.process->exitCode());
    const QImage shot(run.dir + "/shot.png");
    if (shot.isNull()) return "no picture of the window";
    int dark = 0;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2)
            if (shot.pixelColor(x, y).lightness() < 100) ++dark;
    if (dark < 50) return "no lesson text in the picture";
    return {};
}

void show_file(const std::string& file) {
    std::string shown;
    for (unsigned char ch : file.substr(0, 600))
        shown += (ch == '\n' || (ch >= 0x20 && ch < 0x7F)) ? std::string(1, char(ch)) : "\\x..";
    std::fprintf(stderr, "----\n%s%s\n----\n", shown.c_str(), file.size() > 600 ? "..." : "");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: settings_fault_test LEKTA [CASES] [SEED]\n", stderr);
        return 2;
    }
    const QString program = QString::fromLocal8Bit(argv[1]);
    const int count = argc > 2 ? std::atoi(argv[2]) : 200;
    const uint32_t seed = argc > 3 ? uint32_t(std::strtoul(argv[3], nullptr, 10)) : 20261208u;
    const std::vector<Case> cases = make_cases(count, seed);

    QTemporaryDir work;
    if (!work.isValid()) return 2;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");

    int failures = 0;
    size_t next = 0;
    std::vector<Run> runs;
    auto start = [&](const Case& c) {
        Run run;
        run.c = &c;
        run.dir = work.path() + QString("/case%1").arg(c.number);
        QDir().mkpath(run.dir + "/Halvern");
        QFile file(run.dir + "/Halvern/Lekta-Hebrew.ini");
        file.open(QIODevice::WriteOnly);
        file.write(c.file.data(), qint64(c.file.size()));
        file.close();
        QProcessEnvironment case_env = env;
        case_env.insert("LEKTA_CONFIG_DIR", run.dir);
        run.process = std::make_unique<QProcess>();
        run.process->setProcessEnvironment(case_env);
        run.process->setProcessChannelMode(QProcess::MergedChannels);
        run.process->start(program, {"--screenshot", run.dir + "/shot.png"});
        run.timer.start();
        runs.push_back(std::move(run));
    };
    while (next < cases.size() || !runs.empty()) {
        while (next < cases.size() && runs.size() < size_t(PARALLEL))
            start(cases[next++]);
        for (size_t i = 0; i < runs.size();) {
            Run& run = runs[i];
            const bool done = run.process->waitForFinished(5);
            const bool timed_out = !done && run.timer.elapsed() > RUN_TIMEOUT_MS;
            if (!done && !timed_out) {
                ++i;
                continue;
            }
            if (timed_out) {
                run.process->kill();
                run.process->waitForFinished();
            }
            const std::string problem = verdict(run, timed_out);
            if (!problem.empty()) {
                ++failures;
                // Kept in the working folder, to start the reader on by hand.
                const QString kept = QString("settings_fault_case%1.ini").arg(run.c->number);
                QFile file(kept);
                if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                    file.write(run.c->file.data(), qint64(run.c->file.size()));
                std::fprintf(stderr, "FAILED: case %d (%s, seed %u): %s; kept as %s\n",
                             run.c->number, run.c->kind.c_str(), seed, problem.c_str(),
                             kept.toLocal8Bit().constData());
                if (failures <= MAX_FAILURES_SHOWN) {
                    std::fprintf(stderr, "%s", run.process->readAll().left(2000).constData());
                    show_file(run.c->file);
                }
            }
            QDir(run.dir).removeRecursively();
            runs.erase(runs.begin() + std::ptrdiff_t(i));
        }
    }
    std::printf("settings faults: %zu starts, %d failed\n", cases.size(), failures);
    return failures == 0 ? 0 : 1;
}
