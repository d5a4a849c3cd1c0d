// The floor of scripts/bench/latency.sh: the least a Qt 6 Widgets program pays between a key press
// and one label showing a new text. A frameless 180 x 180 window with one label where the program
// shows its first amount; each key press changes the label's text. It must stay minimal, with no
// style, font or picture choice of its own.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>

namespace {

class Window : public QWidget {
 public:
  Window() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), label_(this) {
    setWindowTitle(QStringLiteral("bench_latency_floor"));
    setFixedSize(180, 180);
    label_.setGeometry(56, 40, 89, 15);  // the main window's first amount
    label_.setText(QStringLiteral("0"));
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    label_.setText(QString::number(++presses_));
    event->accept();
  }

 private:
  QLabel label_;
  int presses_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  Window window;
  window.show();
  return QApplication::exec();
}
