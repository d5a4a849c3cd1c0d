#pragma once

#include <QRegion>
#include <QSize>

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "resources/Layout.h"

// What the program's four round windows share: their form properties, their controls built
// from a layout table, the clipping to a disc and the rim along its edge.
namespace skin {

// Size, caption, background picture and application icon of a form.
void ApplyFormLayout(platform::Form& form, const resources::FormLayout& layout);

// Controls made from one row of a layout table, as children of `form`.
platform::Label* MakeLabel(platform::Form& form, const resources::LabelLayout& layout);
platform::CheckBox* MakeCheckBox(platform::Form& form, const resources::CheckBoxLayout& layout);
platform::Line* MakeLine(platform::Form& form, const resources::LineLayout& layout);
platform::Image* MakeImage(platform::Form& form, const resources::ImageLayout& layout);

// The gold coin with a euro sign, in the sizes windows and notification areas use.
QIcon ApplicationIcon();

// One of the program's pictures, by resource path, at the density of the screens
// (PictureDensity): above 1 device pixel per pixel the "@2x" picture is read when there is one,
// with a device pixel ratio of 2, so that it is drawn at the same size in pixels, only sharper.
// A PNG picture or a binary PPM one (RawPicture, read in place); the small ones are decoded once
// and shared by every window that shows them.
QPixmap LoadPicture(const char* path);
QPixmap LoadPicture(const char* path, double devicePixelRatio);
// The highest device pixel ratio of the screens, 1 without an application.
double PictureDensity();

// The font of every window's captions, regular or bold.
QFont WindowFont(bool bold);

// The disc the windows are cut to and the rim along its edge. The windows share one size, so
// both are worked out once and kept here for every window opened afterwards: made by the
// program before its first window, handed to each, and outliving them all.
class Shapes {
 public:
  // The disc inscribed in a square of `width` x `height` pixels.
  const QRegion& Disc(int width, int height);
  // The band two pixels wide along the inside of `region`.
  const QRegion& Rim(const QRegion& region);

 private:
  QSize discSize_;
  QRegion disc_;
  QRegion rimOf_;
  QRegion rim_;
};

// Cuts the form to the disc inscribed in its square, once, while it loads.
void ClipToEllipse(platform::Form& form, Shapes& shapes);

// Frames the form's region with a 2-pixel rim in the button-face colour; nothing while the
// form is minimised.
void DrawRim(platform::Form& form, Shapes& shapes);

}  // namespace skin
