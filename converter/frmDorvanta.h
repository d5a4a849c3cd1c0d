#pragma once

#include <array>
#include <string>

#include "converter/FrancEuroModel.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/SpokenRows.h"
#include "platform/services/App.h"
#include "platform/services/Clock.h"
#include "platform/services/HelpViewer.h"
#include "platform/services/NotifyIcon.h"
#include "shell/Drag.h"
#include "shell/Skin.h"
#include "shell/mSysTray.h"

namespace options {
class frmOptions;
}

namespace converter {

// The main window: the franc/euro rows over the 10-euro note, driven from the keyboard.
class frmDorvanta : public platform::Form {
 public:
  frmDorvanta(platform::App& app, const platform::Clock& clock, platform::HelpViewer& help,
              platform::NotificationArea& tray, skin::Shapes& shapes, std::string decimalSeparator);

  // Moves the highlight and the focus marker to row r (0 to 2).
  void SelectRow(int row);
  const FrancEuroModel& Model() const { return model_; }
  const drag::DragState& Drag() const { return drag_; }

  // Commands of the images down the left rim, by index; also reached from the keyboard.
  void imaCommand_Click(int index);

  std::array<platform::Label*, 4> lblEti{};
  std::array<platform::Label*, 4> lblP{};
  std::array<platform::Line*, 3> Line1{};
  std::array<platform::Image*, 6> imaCommand{};
  platform::Image* imaFocus = nullptr;

 protected:
  void Form_Load() override;
  void Form_Unload() override;
  void Form_KeyDown(int keyCode, int shift) override;
  void Form_Resize() override;
  void Form_MouseDown(int button, int shift, double x, double y) override;
  void Form_MouseMove(int button, int shift, double x, double y) override;
  void Form_MouseUp(int button, int shift, double x, double y) override;

 private:
  // Copies the selected row's text or pastes into it; false when the key is not a clipboard key.
  bool ClipboardKey(int keyCode, int shift);
  void HookLabelMouse(platform::Label& label);
  void PlaceMarker(int row);
  void ShowRowTexts(platform::SpokenRows::Change change = platform::SpokenRows::Change::Ended);
  void ShowChangeRows(bool on);
  void CloseCommand();
  void HideCommand();
  void OptionsCommand();
  void ApplyOptions(const options::frmOptions& frmOptions);
  void ShowHelp();
  void ZoneEuroCommand();

  platform::App& app_;
  const platform::Clock& clock_;
  platform::HelpViewer& help_;
  platform::NotificationArea& tray_;
  skin::Shapes& shapes_;
  mSysTray::TrayIcon trayIcon_;
  FrancEuroModel model_;
  drag::DragState drag_;
  std::string separator_;                   // the locale's, for the windows this one opens
  platform::SpokenRows* spoken_ = nullptr;  // child of the window
};

}  // namespace converter
