#include "shell/Drag.h"

#include <QCursor>

#include "platform/desktop/Desktop.h"

namespace drag {

namespace {
void Start(platform::Form& form, DragState& state, double offsetX, double offsetY) {
  state.DragActive = true;
  state.DragOffsetX = static_cast<float>(offsetX);
  state.DragOffsetY = static_cast<float>(offsetY);
  form.SetCapture();
  // Where no client may place its windows, the compositor moves it instead.
  platform::Desktop& desktop = platform::Desktop::Current();
  if (!desktop.PlacesWindows()) desktop.StartSystemMove(form);
}
}  // namespace

void BeginDrag(platform::Form& form, DragState& state, int button, double x, double y) {
  if ((button & platform::kLeftButton) == 0) return;
  Start(form, state, x, y);
}

void BeginDrag(platform::Form& form, DragState& state, const platform::TwipsBox& label, double x,
               double y) {
  Start(form, state, label.LeftTwips() + x, label.TopTwips() + y);
}

void FollowDrag(platform::Form& form, const DragState& state) {
  if (!state.DragActive || !platform::Desktop::Current().PlacesWindows()) return;
  const QPoint cursor = QCursor::pos();
  form.MoveTwips(cursor.x() * form.TwipsPerPixelX() - state.DragOffsetX,
                 cursor.y() * form.TwipsPerPixelY() - state.DragOffsetY);
}

void EndDrag(platform::Form& form, DragState& state) {
  if (!state.DragActive) return;
  form.ReleaseCapture();
  state.DragActive = false;
}

}  // namespace drag
