// What a screenshot of a window must show: checks on the picture alone, so that a run can tell a
// window that was pictured too early, or drawn at the wrong size or shape, from a good one.
#pragma once

#include <QImage>
#include <string>

namespace xshot {

struct Verdict {
  bool ok = false;
  std::string reason;  // why not, when not ok
};

// The window has been painted: a window not painted yet is one flat colour, or shows what lay
// under it, which on the private X server is the root's flat colour too.
Verdict CheckPainted(const QImage& picture);

// A size x size picture of a painted disc inscribed in the square: outside the circle the
// window's shape lets the X root through, so those pixels are all one colour, and that colour is
// rare inside the disc, up to its rim.
Verdict CheckDisc(const QImage& picture, int size);

}  // namespace xshot
