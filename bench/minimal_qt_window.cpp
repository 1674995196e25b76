// The start-up baseline: the least a Qt Widgets program does to show a window. It shows one empty
// window of the reader's default size, paints it once, and ends as the reader's timed run does:
// the window saved as an image to the file given, then exit.
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace {

class Window : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (!painted_) {
            painted_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    }

  private:
    bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Window window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(480, 640);
    window.show();
    const int code = app.exec();
    if (argc > 1 && !window.grab().save(QString::fromLocal8Bit(argv[1]), "BMP")) return 1;
    return code;
}
