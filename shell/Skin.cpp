#include "shell/Skin.h"

#include <QFont>
#include <QIcon>

#include "platform/Twips.h"
#include "shell/mDrawing.h"

namespace skin {

void ApplyFormLayout(platform::Form& form, const resources::FormLayout& layout) {
  form.SetCaption(QString::fromUtf8(layout.caption));
  form.SetFormSize(layout.width, layout.height);
  form.SetPicture(QPixmap(QString::fromUtf8(layout.picture)));
  form.setWindowIcon(ApplicationIcon());
}

QIcon ApplicationIcon() {
  // The desktop picks the size it needs; the files are only read when it does.
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/pictures/app%1.png").arg(size), QSize(size, size));
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
  label->SetBounds(layout.left, layout.top, layout.width, layout.height);
  label->setFont(WindowFont(layout.bold));
  label->SetCaption(QString::fromUtf8(layout.caption));
  label->SetForeColor(layout.foreColor);
  label->SetVisible(layout.visible);
  return label;
}

platform::Line* MakeLine(platform::Form& form, const resources::LineLayout& layout) {
  auto* line = new platform::Line(form);
  line->SetPoints(layout.x1, layout.y1, layout.x2, layout.y2);
  line->SetBorderColor(resources::kBlack);
  line->SetVisible(layout.visible);
  return line;
}

platform::Image* MakeImage(platform::Form& form, const resources::ImageLayout& layout) {
  auto* image = new platform::Image(form);
  image->SetBounds(layout.left, layout.top, resources::kImageSize, resources::kImageSize);
  image->SetPicture(QPixmap(QString::fromUtf8(layout.picture)));
  if (layout.toolTip[0] != '\0') image->SetToolTipText(QString::fromUtf8(layout.toolTip));
  return image;
}

void ClipToEllipse(platform::Form& form) {
  const int w = platform::RoundHalfEven(form.Width()) / platform::RoundHalfEven(form.TwipsPerPixelX());
  const int h = platform::RoundHalfEven(form.Height()) / platform::RoundHalfEven(form.TwipsPerPixelY());
  form.SetWindowRegion(QRegion(0, 0, w, h, QRegion::Ellipse));
}

void DrawRim(platform::Form& form) {
  if (form.WindowState() == 1) return;
  const platform::VbColour colour = mDrawing::ResolveColour(platform::kVbButtonFace, 0);
  form.SetFrame(form.WindowRegion(), platform::ColourFromBgr(colour), 2, 2);
}

}  // namespace skin
