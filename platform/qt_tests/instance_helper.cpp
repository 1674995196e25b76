// A stand-in for a launch of the program:
//   qt_instance_helper NAME MS [WORDS] claims NAME; the first copy stays up MS milliseconds,
//                                      counting hand-overs; a later one hands WORDS over and
//                                      exits with code 3
//   qt_instance_helper NAME crash      claims NAME and dies at once, leaving its socket
//   qt_instance_helper box             a message box without a GUI session
//   qt_instance_helper gui             prints whether a GUI session could start
// Prints "first", "second", "words W" for each hand-over, "handovers N" on standard output.
#include <QCoreApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace {
int g_handovers = 0;
void count_handover(const char* words) {
    ++g_handovers;
    std::printf("words %s\n", words);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "box") == 0) {
        lekta::plat::message_box(nullptr, u"Could not open\r\nthe file", u"Error", 0x30);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "gui") == 0) {
        std::printf(lekta::plat::init_gui(argc, argv) ? "gui\n" : "no gui\n");
        return 0;
    }
    if (argc < 3) return 2;
    QCoreApplication app(argc, argv);
    std::u16string name = QString::fromLocal8Bit(argv[1]).toStdU16String();
    lekta::plat::set_second_launch_handler(count_handover);
    if (!lekta::plat::claim_single_instance(name.c_str(), argc > 3 ? argv[3] : "")) {
        std::printf("second\n");
        return 3;
    }
    std::printf("first\n");
    std::fflush(stdout);
    if (std::strcmp(argv[2], "crash") == 0) std::raise(SIGKILL);
    QTimer::singleShot(std::atoi(argv[2]), &app, &QCoreApplication::quit);
    app.exec();
    std::printf("handovers %d\n", g_handovers);
    return 0;
}
