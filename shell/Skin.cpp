#include "shell/Skin.h"

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QImageReader>
#include <utility>

#include "platform/forms/Twips.h"
#include "shell/RawPicture.h"
#include "shell/mDrawing.h"

namespace skin {

namespace {

// The twice-as-dense version of a picture, "name@2x.png" beside "name.png".
QString DoubleDensityPath(const QString& path) {
  QString doubled = path;
  const qsizetype dot = doubled.lastIndexOf(u'.');
  if (dot > doubled.lastIndexOf(u'/')) doubled.insert(dot, QLatin1String("@2x"));
  return doubled;
}

QImage ReadPicture(const QString& path, double devicePixelRatio) {
  // A raw picture is only converted to the screen's format, from where it lies.
  QImage image = RawPicture(path);
  if (!image.isNull()) {
    image = image.convertToFormat(QImage::Format_RGB32);
  } else {
    // Naming the format spares loading every image plugin to guess it.
    QImageReader reader(path, path.sliced(path.lastIndexOf(u'.') + 1).toLatin1());
    reader.setAutoDetectImageFormat(false);
    image = reader.read();
  }
  if (!image.isNull()) image.setDevicePixelRatio(devicePixelRatio);
  return image;
}

// The small pictures (icons, cursors) are decoded once and kept for the program's life, in the
// screen's format: every pixmap made from one shares its pixels until it is drawn on. A banknote
// is not kept: it would hold its pixels for good, and read in place it costs little to make again.
constexpr qsizetype kKeptPictureBytes = 16 * 1024;

// The rim's strokes, in pixels each way.
constexpr int kRimStroke = 2;

// A label alignment of the layouts (left 0, right 1, centre 2) in Qt's terms.
Qt::Alignment Alignment(int alignment) {
  switch (alignment) {
    case resources::kLeft:
      return Qt::AlignLeft;
    case resources::kCentre:
      return Qt::AlignHCenter;
    default:
      return Qt::AlignRight;
  }
}

QHash<QString, QImage>& KeptPictures() {
  static QHash<QString, QImage> kept;
  return kept;
}

}  // namespace

QPixmap LoadPicture(const char* path) { return LoadPicture(path, PictureDensity()); }

QPixmap LoadPicture(const char* path, double devicePixelRatio) {
  const QString plain = QString::fromUtf8(path);
  // Any ratio above 1 (1.25, 1.5, 2...) draws sharper from the 2x picture scaled down than
  // from the 1x one scaled up; at 1 only the small file is read, to keep start-up cheap.
  const bool dense = devicePixelRatio > 1.0;
  const QString key = dense ? DoubleDensityPath(plain) : plain;
  QHash<QString, QImage>& kept = KeptPictures();
  if (const auto found = kept.constFind(key); found != kept.cend()) {
    return QPixmap::fromImage(*found);
  }
  QImage image;
  if (dense && key != plain && QFile::exists(key)) image = ReadPicture(key, 2.0);
  if (image.isNull()) image = ReadPicture(plain, 1.0);
  QPixmap picture = QPixmap::fromImage(std::move(image));
  if (const QImage pixels = picture.toImage();
      !pixels.isNull() && pixels.sizeInBytes() <= kKeptPictureBytes) {
    kept.insert(key, pixels);
  }
  return picture;
}

double PictureDensity() { return qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0; }

void ApplyFormLayout(platform::Form& form, const resources::FormLayout& layout) {
  // The icon is the application's, which every window without one of its own carries.
  form.setWindowTitle(QString::fromUtf8(layout.caption));
  form.SetSizeTwips(layout.width, layout.height);
  form.SetPicture(LoadPicture(layout.picture));
}

QIcon ApplicationIcon() {
  // Qt decodes every size added, at once: the larger ones are for desktop entries, which
  // read the files themselves.
  QIcon icon;
  for (const char* path :
       {":/pictures/app16.png", ":/pictures/app32.png", ":/pictures/app48.png"}) {
    icon.addPixmap(LoadPicture(path));
  }
  return icon;
}

QFont WindowFont(bool bold) {
  QFont font(QString::fromLatin1(resources::kFontFamily));
  font.setPointSizeF(resources::kFontPointSize);
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  return font;
}

platform::Label* MakeLabel(platform::Form& form, const resources::LabelLayout& layout) {
  auto* label = new platform::Label(form);
  label->SetBoundsTwips(layout.left, layout.top, layout.width, layout.height);
  QFont font = WindowFont(layout.bold);
  font.setUnderline(layout.underline);
  label->setFont(font);
  label->setAlignment(Alignment(layout.alignment) | Qt::AlignTop);
  if (layout.borderStyle >= 0) label->SetBorderStyle(layout.borderStyle);
  label->setWordWrap(layout.wordWrap);
  label->SetCaption(QString::fromUtf8(layout.caption));
  label->SetAutoSize(layout.autoSize);
  label->SetForeColor(layout.foreColor);
  label->setVisible(layout.visible);
  if (layout.toolTip[0] != '\0') label->setToolTip(QString::fromUtf8(layout.toolTip));
  return label;
}

platform::CheckBox* MakeCheckBox(platform::Form& form, const resources::CheckBoxLayout& layout) {
  auto* box = new platform::CheckBox(form);
  box->SetBoundsTwips(layout.left, layout.top, layout.width, layout.height);
  return box;
}

platform::Line* MakeLine(platform::Form& form, const resources::LineLayout& layout) {
  auto* line = new platform::Line(form);
  line->SetPointsTwips(layout.x1, layout.y1, layout.x2, layout.y2);
  line->SetBorderColor(resources::kBlack);
  line->setVisible(layout.visible);
  return line;
}

platform::Image* MakeImage(platform::Form& form, const resources::ImageLayout& layout) {
  auto* image = new platform::Image(form);
  image->SetBoundsTwips(layout.left, layout.top, resources::kImageSize, resources::kImageSize);
  image->SetPicture(LoadPicture(layout.picture));
  if (layout.toolTip[0] != '\0') image->SetToolTipText(QString::fromUtf8(layout.toolTip));
  return image;
}

const QRegion& Shapes::Disc(int width, int height) {
  if (QSize(width, height) != discSize_) {
    disc_ = QRegion(0, 0, width, height, QRegion::Ellipse);
    discSize_ = QSize(width, height);
  }
  return disc_;
}

const QRegion& Shapes::Rim(const QRegion& region) {
  if (region != rimOf_) {
    // What survives shifting the region by a stroke in each direction is its inside; the rest
    // is the band along its edge.
    QRegion inside = region;
    inside &= region.translated(kRimStroke, 0);
    inside &= region.translated(-kRimStroke, 0);
    inside &= region.translated(0, kRimStroke);
    inside &= region.translated(0, -kRimStroke);
    rim_ = region.subtracted(inside);
    rimOf_ = region;
  }
  return rim_;
}

void ClipToEllipse(platform::Form& form, Shapes& shapes) {
  const int w =
      platform::RoundHalfEven(form.WidthTwips()) / platform::RoundHalfEven(form.TwipsPerPixelX());
  const int h =
      platform::RoundHalfEven(form.HeightTwips()) / platform::RoundHalfEven(form.TwipsPerPixelY());
  form.SetWindowRegion(shapes.Disc(w, h));
}

void DrawRim(platform::Form& form, Shapes& shapes) {
  if (form.isMinimized()) return;
  const platform::VbColour colour = mDrawing::ResolveColour(platform::kVbButtonFace);
  form.SetFrame(shapes.Rim(form.WindowRegion()), platform::ColourFromBgr(colour));
}

}  // namespace skin
