#pragma once

#include <cstdint>

namespace resources {

// The face that stands in for the original 8.25-point sans serif of every window.
inline constexpr const char* kFontFamily = "Liberation Sans";
inline constexpr double kFontPointSize = 8.25;

struct FormLayout {
  const char* caption;
  double width;   // twips
  double height;  // twips
  const char* picture;
};

// Label alignments.
inline constexpr int kLeft = 0;
inline constexpr int kRight = 1;
inline constexpr int kCentre = 2;

struct LabelLayout {
  double left, top, width, height;  // twips
  const char* caption;
  bool bold;
  std::uint32_t foreColor;  // &H00BBGGRR, or &H800000nn for a system colour
  bool visible;
  int alignment = kRight;
  // -1: never framed; 0 or 1: framed or not at start, switchable later without moving the text.
  int borderStyle = -1;
  bool wordWrap = false;
  bool autoSize = false;  // the width follows the caption, on one line
  bool underline = false;
  const char* toolTip = "";
};

struct CheckBoxLayout {
  double left, top, width, height;  // twips
};

struct LineLayout {
  double x1, y1, x2, y2;  // twips
  bool visible;
};

struct ImageLayout {
  double left, top;  // twips; every image is 240 x 240
  const char* picture;
  const char* toolTip;  // empty for none
};

inline constexpr double kImageSize = 240.0;
inline constexpr std::uint32_t kHighlightColour = 0x00786450;
inline constexpr std::uint32_t kBlack = 0x00000000;

}  // namespace resources
