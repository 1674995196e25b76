// Draws the search dialog's on-screen keyboard once, from a Hebrew font, and writes it as the
// text picture of search/keyboard_image.h ('#' black, '.' white). The picture is committed:
// the build and the reader never need this program or the font.
//   keyboard-art [FONT FAMILY] > search/keyboard_image.h
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

namespace {

constexpr int WIDTH = 154, HEIGHT = 95;
constexpr int KEY_WIDTH = 17, KEY_HEIGHT = 25;
constexpr int COLUMNS = 9, LETTER_ROWS = 3;
constexpr int SPACE_LEFT = 2 * KEY_WIDTH, SPACE_RIGHT = 7 * KEY_WIDTH;
// Key n (1..27) enters the letter at position n - 1; keys are numbered from the right.
constexpr char KEY_LETTERS[] = "abcdefghijlkmonqprsutwvxyz{";

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString family = argc > 1 ? QString::fromLocal8Bit(argv[1]) : "Simple CLM";

    QImage image(WIDTH, HEIGHT, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setPen(Qt::black);
    // The grid: lines at x = 0, 17, ..., 153 and y = 0, 25, 50, 75.
    for (int x = 0; x < WIDTH; x += KEY_WIDTH)
        p.drawLine(x, 0, x, LETTER_ROWS * KEY_HEIGHT);
    for (int y = 0; y <= LETTER_ROWS * KEY_HEIGHT; y += KEY_HEIGHT)
        p.drawLine(0, y, WIDTH - 1, y);
    // The space bar: columns 2 to 6 of the last row, with a space mark.
    p.drawLine(SPACE_LEFT, LETTER_ROWS * KEY_HEIGHT, SPACE_LEFT, HEIGHT - 1);
    p.drawLine(SPACE_RIGHT, LETTER_ROWS * KEY_HEIGHT, SPACE_RIGHT, HEIGHT - 1);
    p.drawLine(SPACE_LEFT, HEIGHT - 1, SPACE_RIGHT, HEIGHT - 1);
    const int mark_y = HEIGHT - 7, mid = (SPACE_LEFT + SPACE_RIGHT) / 2;
    p.drawLine(mid - 14, mark_y, mid + 14, mark_y);
    p.drawLine(mid - 14, mark_y - 4, mid - 14, mark_y);
    p.drawLine(mid + 14, mark_y - 4, mid + 14, mark_y);

    QFont font(family);
    font.setPixelSize(17);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    for (int row = 0; row < LETTER_ROWS; ++row) {
        for (int column = 0; column < COLUMNS; ++column) {
            const int key = COLUMNS * (row + 1) - column;
            const char16_t letter = static_cast<char16_t>(0x5D0 + (KEY_LETTERS[key - 1] - 0x61));
            const QRect cell(column * KEY_WIDTH + 1, row * KEY_HEIGHT + 1, KEY_WIDTH - 1,
                             KEY_HEIGHT - 1);
            p.drawText(cell, Qt::AlignCenter, QString(QChar(letter)));
        }
    }
    p.end();

    std::printf(
        "// The search dialog's keyboard, %d x %d: a grid of keys %d x %d pixels, three rows of\n"
        "// nine Hebrew letters (numbered from the right) and a space bar. Drawn once from the\n"
        "// \"%s\" font by tools/keyboard-art; '#' is black.\n",
        WIDTH, HEIGHT, KEY_WIDTH, KEY_HEIGHT, family.toUtf8().constData());
    std::printf("#pragma once\n\n#include <array>\n\nnamespace lekta::keyboard_art {\n\n");
    std::printf("constexpr int WIDTH = %d;\nconstexpr int HEIGHT = %d;\n\n", WIDTH, HEIGHT);
    // Rows wider than the code's line length: the formatter leaves them alone.
    std::printf("// clang-format off\nconstexpr std::array<const char*, HEIGHT> ROWS = {\n");
    for (int y = 0; y < HEIGHT; ++y) {
        std::printf("    \"");
        for (int x = 0; x < WIDTH; ++x)
            std::printf("%c", qGray(image.pixel(x, y)) < 128 ? '#' : '.');
        std::printf("\",  //\n");
    }
    std::printf("};\n// clang-format on\n\n}  // namespace lekta::keyboard_art\n");
    return 0;
}
