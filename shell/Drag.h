#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

// Moving a window by dragging its background or one of its labels with the mouse.
namespace drag {

struct DragState {
  bool DragActive = false;
  float DragOffsetX = 0;  // twips from the window's left edge to the grabbed point
  float DragOffsetY = 0;  // twips from the window's top edge to the grabbed point
};

// A press on the window's own background: only the left button starts a drag.
void BeginDrag(platform::Form& form, DragState& state, int button, double x, double y);
// A press on a label, x and y relative to it: any button starts a drag.
void BeginDrag(platform::Form& form, DragState& state, const platform::TwipsBox& label, double x,
               double y);
// Keeps the grabbed point under the cursor.
void FollowDrag(platform::Form& form, const DragState& state);
void EndDrag(platform::Form& form, DragState& state);

}  // namespace drag
