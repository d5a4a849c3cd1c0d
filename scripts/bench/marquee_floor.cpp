// The least a Qt 6 Widgets program pays to scroll one line of text across a frameless 180 x 180
// window: a plain label moved 3 pixels to the left at every tick of a timer, back at the right
// edge once it has gone. The about window's scrolling line costs what it costs beyond this.
// Like bench_floor it keeps Qt's defaults: no style, picture or font of its own.
//
// usage: bench_marquee_floor [INTERVAL_MS]      default 10
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const int interval = argc > 1 ? std::atoi(argv[1]) : 10;
  if (interval <= 0) return 2;

  QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
  window.setWindowTitle(QStringLiteral("bench_marquee_floor"));
  window.setFixedSize(180, 180);
  // As long as the about window's line, so that both repaint as much text.
  QLabel line(QStringLiteral("Convertisseur Francs-Euros   -   (c) Tavelmarque 2001-2026   -   "
                             "Prenom Nom"),
              &window);
  line.adjustSize();
  line.move(window.width(), 80);

  QTimer timer;
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    int x = line.x() - 3;
    if (x + line.width() < 24) x = window.width();
    line.move(x, line.y());
  });
  timer.start(interval);
  window.show();
  return QApplication::exec();
}
