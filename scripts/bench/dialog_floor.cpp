// The dialog floor of scripts/bench/latency.sh: the least a Qt 6 Widgets program pays between a
// key press and a skinned dialog on the screen. A frameless 180 x 180 window; each Alt+Z makes a
// new frameless, application-modal dialog it owns, cut to a disc, with three labels over a
// 180 x 180 picture decoded once at start, and shows it in a nested event loop until Escape or
// Alt+F4 closes it. Whatever the program's own dialogs spend beyond this is their own doing: like
// the other floors it keeps Qt's defaults, with no style or font of its own.
//
// usage: bench_dialog_floor [PICTURE]     the picture's top-left 180 x 180 pixels (default: a
//                                         plain grey square)
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QWidget>
#include <utility>

namespace {

constexpr int kSide = 180;

class Dialog : public QDialog {
 public:
  Dialog(QWidget& owner, const QPixmap& picture)
      : QDialog(&owner, Qt::Dialog | Qt::FramelessWindowHint), picture_(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(kSide, kSide);
    setMask(QRegion(0, 0, kSide, kSide, QRegion::Ellipse));
    // Where the Zone Euro window has its heading, its currency and its first amount.
    const struct {
      int x, y, w, h;
      const char* text;
    } labels[] = {
        {88, 16, 41, 15, "prix en"}, {40, 40, 97, 15, "Franc français"}, {32, 56, 121, 15, "0,00"}};
    for (const auto& l : labels) {
      auto* label = new QLabel(QString::fromUtf8(l.text), this);
      label->setGeometry(l.x, l.y, l.w, l.h);
    }
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_F4 && event->modifiers() == Qt::AltModifier) {
      reject();
      return;
    }
    QDialog::keyPressEvent(event);  // Escape rejects
  }

 private:
  const QPixmap& picture_;
};

class Window : public QWidget {
 public:
  explicit Window(QPixmap picture)
      : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), picture_(std::move(picture)) {
    setWindowTitle(QStringLiteral("bench_dialog_floor"));
    setFixedSize(kSide, kSide);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    event->accept();
    if (event->key() != Qt::Key_Z || event->modifiers() != Qt::AltModifier) return;
    Dialog dialog(*this, picture_);
    dialog.exec();
  }

 private:
  QPixmap picture_;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QImage picture = argc > 1 ? QImage(QString::fromLocal8Bit(argv[1])) : QImage();
  if (picture.isNull()) {
    picture = QImage(kSide, kSide, QImage::Format_RGB32);
    picture.fill(Qt::lightGray);
  }
  Window window(QPixmap::fromImage(picture.copy(0, 0, kSide, kSide)));
  window.show();
  return QApplication::exec();
}
