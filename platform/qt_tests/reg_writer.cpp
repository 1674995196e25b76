// Writes generation after generation of settings values, each generation flushed as a whole,
// until it is killed. Generation g holds "Gen" = g, "V<i>" = g, "S<i>" = "g-<g>-<i>" and
// "B" = the four bytes of g. It starts from the generation it finds stored.
//   qt_reg_writer stale   dies in the middle of a save, as a kill at that moment leaves it:
//                         the lock taken, a temporary file half written
#include <QCoreApplication>
#include <QLockFile>
#include <QTemporaryFile>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"

using namespace lekta::plat;

namespace {

constexpr const char16_t* KEY = u"Halvern\\Lekta-Hebrew";
constexpr int VALUES = 150;

RegValue dword(uint32_t n) {
    return {REG_DWORD, {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}};
}

RegValue text(const std::u16string& s) {
    RegValue v{REG_SZ, {}};
    for (char16_t c : s) {
        v.bytes.push_back(uint8_t(c));
        v.bytes.push_back(uint8_t(c >> 8));
    }
    v.bytes.insert(v.bytes.end(), {0, 0});
    return v;
}

std::u16string u16(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

// The temporary file is made the way a save makes one when it cannot stay unnamed.
[[noreturn]] void die_while_saving() {
    const QString path = qEnvironmentVariable("LEKTA_CONFIG_DIR") + "/Halvern/Lekta-Hebrew.ini";
    QLockFile lock(path + ".lock");
    lock.lock();
    QTemporaryFile temporary(path + ".XXXXXX");
    temporary.setAutoRemove(false);
    temporary.open();
    (void)temporary.fileName();  // gives an unnamed file its name in the folder
    temporary.write("[Halvern\\Lekta-Hebrew]\nGen=dwo");
    temporary.flush();
    std::raise(SIGKILL);
    std::abort();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "stale") == 0) die_while_saving();
    uint32_t gen = 0;
    if (auto stored = registry_read(KEY, u"Gen"); stored && stored->bytes.size() == 4)
        gen = stored->bytes[0] | stored->bytes[1] << 8 | stored->bytes[2] << 16 |
              uint32_t(stored->bytes[3]) << 24;
    for (;;) {
        ++gen;
        for (int i = 0; i < VALUES; ++i) {
            registry_write(KEY, u16("V" + std::to_string(i)).c_str(), dword(gen));
            registry_write(KEY, u16("S" + std::to_string(i)).c_str(),
                           text(u16("g-" + std::to_string(gen) + "-" + std::to_string(i))));
        }
        registry_write(KEY, u"B", RegValue{REG_BINARY, dword(gen).bytes});
        registry_write(KEY, u"Gen", dword(gen));
        if (!registry_flush()) return 1;
        // Each whole generation is announced, so the test can time its kills by the writer's pace.
        std::fputs("written\n", stdout);
        std::fflush(stdout);
    }
}
