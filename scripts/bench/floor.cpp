// The least a Qt 6 Widgets program pays to put one frameless 180 x 180 window on the screen:
// whatever the real program spends beyond this is its own doing. It must therefore stay
// minimal, with no style, font, picture or resource choice of its own.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
  window.setWindowTitle(QStringLiteral("bench_floor"));
  window.setFixedSize(180, 180);
  window.show();
  return QApplication::exec();
}
