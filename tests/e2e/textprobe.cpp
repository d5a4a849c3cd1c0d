// Reads a one-line caption off a screenshot by elimination: each candidate text is rendered with
// the caption's font into a box of the caption's size, and the candidate whose ink best matches
// the ink seen in the screenshot wins. The program is looked at from outside only, so what the
// check sees is what a user sees.
//
// usage: textprobe [--font FAMILY] [--points SIZE] [--bold] [--ink RRGGBB] [--debug OUT.png]
//                  SHOT.png X Y W H EXPECTED OTHER...
//
// X Y W H is the caption's box in the picture's pixels. Exit status 0 when EXPECTED matches and
// every other candidate is clearly further away, 1 when not, 2 on a usage or file error.
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace {

// How far the drawn text may sit from where the probe draws it: font hinting and the label's
// vertical alignment move glyphs by a pixel or two, never more.
constexpr int kSlack = 3;

// The background is a picture, not a flat colour: the paper around each pixel is the brightest
// pixel near it, since strokes of 8-point text are at most two pixels thick.
constexpr int kPaperRadius = 3;

// Where paper and ink are this close in luminance, nothing can be read, and such pixels count as
// paper.
constexpr double kMinContrast = 40.0;

// A candidate wins clearly when the screenshot lies at least this share of the way from each
// rival's rendering to the expected one's.
constexpr double kMinSeparation = 0.5;

// Two candidates whose renderings differ by less than this much solid ink (in pixels) cannot be
// told apart at this size, and the reading proves nothing.
constexpr double kMinApart = 0.5;

// And the expected rendering must account for most of the ink seen: the mismatch may be at most
// this share of the ink of the expected text. Catches a box that shows something else entirely.
constexpr double kMaxMismatch = 0.5;

// The pale picture behind the captions has faint strokes of its own, a third of the way to black
// at most. Coverage is read through the same floor on the screenshot and on the renderings, so
// those strokes vanish while the solid cores of the glyphs stay.
constexpr double kInkFloor = 0.4;

double Solid(double coverage) {
  return std::clamp((coverage - kInkFloor) / (1.0 - kInkFloor), 0.0, 1.0);
}

// Ink coverage, 0 (paper) to 1 (solid ink), of a rectangle of pixels.
struct Coverage {
  int width = 0;
  int height = 0;
  std::vector<double> value;

  Coverage(int w, int h) : width(w), height(h), value(static_cast<std::size_t>(w * h), 0.0) {}
  double& at(int x, int y) { return value[static_cast<std::size_t>(y * width + x)]; }
  double at(int x, int y) const { return value[static_cast<std::size_t>(y * width + x)]; }
  double Total() const {
    double sum = 0;
    for (double v : value) sum += v;
    return sum;
  }
};

double Luminance(QRgb pixel) {
  return 0.299 * qRed(pixel) + 0.587 * qGreen(pixel) + 0.114 * qBlue(pixel);
}

// Ink seen in the screenshot over `box` grown by the slack: how far each pixel inside the box has
// gone from its paper towards the ink colour. The caption is clipped to its box, so whatever lies
// around the box (an underline, an icon) is paper here.
Coverage SeenInk(const QImage& shot, const QRect& box, double inkLuminance) {
  Coverage ink(box.width() + 2 * kSlack, box.height() + 2 * kSlack);
  for (int y = 0; y < box.height(); ++y) {
    for (int x = 0; x < box.width(); ++x) {
      const int sx = box.x() + x;
      const int sy = box.y() + y;
      if (!shot.valid(sx, sy)) continue;
      double paper = 0;
      for (int ny = sy - kPaperRadius; ny <= sy + kPaperRadius; ++ny) {
        for (int nx = sx - kPaperRadius; nx <= sx + kPaperRadius; ++nx) {
          if (shot.valid(nx, ny)) paper = std::max(paper, Luminance(shot.pixel(nx, ny)));
        }
      }
      const double contrast = paper - inkLuminance;
      if (contrast < kMinContrast) continue;
      const double seen = (paper - Luminance(shot.pixel(sx, sy))) / contrast;
      ink.at(x + kSlack, y + kSlack) = Solid(seen);
    }
  }
  return ink;
}

// The text as the window would draw it into a box of this size: right-aligned, on white.
Coverage RenderedInk(const QString& text, const QFont& font, QSize box, double dpi) {
  QImage image(box, QImage::Format_RGB32);
  const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(0, 0), box), Qt::AlignRight | Qt::AlignTop, text);
  }
  Coverage ink(box.width(), box.height());
  for (int y = 0; y < box.height(); ++y) {
    for (int x = 0; x < box.width(); ++x) {
      ink.at(x, y) = Solid(1.0 - Luminance(image.pixel(x, y)) / 255.0);
    }
  }
  return ink;
}

// Mismatch between `big` and `small` laid at (ox, oy) inside it; outside `small` is paper.
double Mismatch(const Coverage& big, const Coverage& small, int ox, int oy) {
  double sum = 0;
  for (int y = 0; y < big.height; ++y) {
    for (int x = 0; x < big.width; ++x) {
      const int lx = x - ox;
      const int ly = y - oy;
      const bool inside = lx >= 0 && ly >= 0 && lx < small.width && ly < small.height;
      sum += std::abs(big.at(x, y) - (inside ? small.at(lx, ly) : 0.0));
    }
  }
  return sum;
}

// The smallest mismatch over the shifts the slack allows; `big` is `small` grown by the slack.
double BestMismatch(const Coverage& big, const Coverage& small) {
  double best = std::numeric_limits<double>::infinity();
  for (int dy = -kSlack; dy <= kSlack; ++dy) {
    for (int dx = -kSlack; dx <= kSlack; ++dx) {
      best = std::min(best, Mismatch(big, small, kSlack + dx, kSlack + dy));
    }
  }
  return best;
}

// `small` padded by the slack on every side, so that two renderings compare like a screenshot.
Coverage Padded(const Coverage& small) {
  Coverage big(small.width + 2 * kSlack, small.height + 2 * kSlack);
  for (int y = 0; y < small.height; ++y) {
    for (int x = 0; x < small.width; ++x) big.at(x + kSlack, y + kSlack) = small.at(x, y);
  }
  return big;
}

QImage CoverageImage(const Coverage& ink) {
  QImage image(ink.width, ink.height, QImage::Format_RGB32);
  for (int y = 0; y < ink.height; ++y) {
    for (int x = 0; x < ink.width; ++x) {
      const int grey = static_cast<int>(std::lround(255.0 * (1.0 - ink.at(x, y))));
      image.setPixel(x, y, qRgb(grey, grey, grey));
    }
  }
  return image;
}

int Usage() {
  std::fprintf(stderr,
               "usage: textprobe [--font FAMILY] [--points SIZE] [--bold] [--ink RRGGBB]"
               " [--debug OUT.png] SHOT.png X Y W H EXPECTED OTHER...\n");
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  // On the display that shows the program, the probe draws at that display's resolution and with
  // its font settings; without one, it still reads a saved screenshot.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication app(argc, argv);
  QStringList args = QGuiApplication::arguments().mid(1);

  QString family = QStringLiteral("Liberation Sans");
  double points = 8.25;
  bool bold = false;
  QColor inkColour(Qt::black);
  QString debugPath;
  while (!args.isEmpty() && args.first().startsWith(QStringLiteral("--"))) {
    const QString option = args.takeFirst();
    if (option == QStringLiteral("--bold")) {
      bold = true;
      continue;
    }
    if (args.isEmpty()) return Usage();
    const QString value = args.takeFirst();
    bool ok = true;
    if (option == QStringLiteral("--font")) {
      family = value;
    } else if (option == QStringLiteral("--points")) {
      points = value.toDouble(&ok);
    } else if (option == QStringLiteral("--ink")) {
      inkColour = QColor(QLatin1Char('#') + value);
      ok = inkColour.isValid();
    } else if (option == QStringLiteral("--debug")) {
      debugPath = value;
    } else {
      ok = false;
    }
    if (!ok) return Usage();
  }
  if (args.size() < 7) return Usage();

  const QImage shot(args[0]);
  if (shot.isNull()) {
    std::fprintf(stderr, "textprobe: cannot read %s\n", qPrintable(args[0]));
    return 2;
  }
  int box[4];
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    box[i] = args[1 + i].toInt(&ok);
    if (!ok || (i >= 2 && box[i] <= 0)) return Usage();
  }
  const QRect boxRect(box[0], box[1], box[2], box[3]);
  QStringList candidates = args.mid(5);  // the expected text first
  candidates.removeDuplicates();         // a rival spelled like the expected text is no rival
  const auto count = static_cast<std::size_t>(candidates.size());

  QFont font(family);
  font.setPointSizeF(points);
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  // Point sizes become pixels at the screen's resolution, as they do for the program's labels.
  const double dpi = QGuiApplication::primaryScreen() != nullptr
                         ? QGuiApplication::primaryScreen()->logicalDotsPerInch()
                         : 96.0;

  const Coverage seen = SeenInk(shot, boxRect, Luminance(inkColour.rgb()));
  std::vector<Coverage> rendered;
  std::vector<double> mismatch;
  for (const QString& text : candidates) {
    rendered.push_back(RenderedInk(text, font, boxRect.size(), dpi));
    mismatch.push_back(BestMismatch(seen, rendered.back()));
  }

  const double expectedInk = rendered[0].Total();
  std::printf("textprobe: box %d,%d %dx%d, ink seen %.1f, font \"%s\" %.2f pt%s at %.0f dpi\n",
              box[0], box[1], box[2], box[3], seen.Total(), qPrintable(family), points,
              bold ? " bold" : "", dpi);
  std::printf("  \"%s\" (expected): mismatch %.1f of its ink %.1f\n", qPrintable(candidates[0]),
              mismatch[0], expectedInk);
  bool clear = expectedInk > 0 && mismatch[0] <= kMaxMismatch * expectedInk;
  std::size_t nearest = 0;
  for (std::size_t i = 1; i < count; ++i) {
    // 1 when the screenshot is the expected rendering, -1 when it is this rival's.
    const double apart = BestMismatch(Padded(rendered[0]), rendered[i]);
    const double separation = apart > 0 ? (mismatch[i] - mismatch[0]) / apart : 0.0;
    std::printf("  \"%s\": mismatch %.1f, apart %.1f, separation %.2f\n", qPrintable(candidates[i]),
                mismatch[i], apart, separation);
    if (apart < kMinApart || separation < kMinSeparation) clear = false;
    if (mismatch[i] < mismatch[nearest]) nearest = i;
  }
  std::printf("textprobe: nearest \"%s\"; \"%s\" %s\n", qPrintable(candidates[nearest]),
              qPrintable(candidates[0]), clear ? "matches clearly" : "does NOT match clearly");

  if (!debugPath.isEmpty()) {
    // Side by side, enlarged: the screenshot's box, the ink read from it, the expected text.
    const QRect frame = boxRect.adjusted(-kSlack, -kSlack, kSlack, kSlack);
    const Coverage expected = Padded(rendered[0]);
    QImage sheet(frame.width() * 3 + 4, frame.height(), QImage::Format_RGB32);
    sheet.fill(Qt::red);
    QPainter painter(&sheet);
    painter.drawImage(0, 0, shot.copy(frame));
    painter.drawImage(frame.width() + 2, 0, CoverageImage(seen));
    painter.drawImage(2 * frame.width() + 4, 0, CoverageImage(expected));
    painter.end();
    sheet.scaled(sheet.size() * 6).save(debugPath, "PNG");
  }
  return clear ? 0 : 1;
}
