#pragma once

#include <array>
#include <string>

#include "eurozone/EuroZoneModel.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/SpokenRows.h"
#include "platform/services/App.h"
#include "platform/services/HelpViewer.h"
#include "shell/Skin.h"

namespace eurozone {

// Converts between the euro and the twelve legacy currencies, over the 100-euro note. Shown
// modally by the main window, a new one at each opening; it reports nothing back.
class frmZoneEuro : public platform::Form {
 public:
  frmZoneEuro(platform::App& app, platform::HelpViewer& help, skin::Shapes& shapes,
              std::string decimalSeparator);

  // Moves the highlight and the focus marker to row r (0 to 2).
  void SelectRow(int row);
  const EuroZoneModel& Model() const { return model_; }

  // 0 close, 1 about, 2 help; also reached from the keyboard.
  void imaCommand_Click(int index);

  // Captions over the rows: members 0 and 2 only, there is no caption 1.
  std::array<platform::Label*, 3> lblEti{};
  std::array<platform::Label*, 3> lblP{};
  std::array<platform::Image*, 3> imaCommand{};
  platform::Image* imaFocus = nullptr;

 protected:
  void Form_Load() override;
  void Form_KeyDown(int keyCode, int shift) override;
  void Form_Resize() override;
  void Form_CloseRequest() override;

 private:
  // Copies the selected row's text or pastes into it; false when the key is not a clipboard key.
  bool ClipboardKey(int keyCode, int shift);
  void ShowSelection(int oldRow, int newRow);
  void PlaceMarker(int row);
  void ShowRowTexts(platform::SpokenRows::Change change = platform::SpokenRows::Change::Ended);
  void CloseCommand();
  void ShowAbout();
  void ShowHelp();

  platform::App& app_;
  platform::HelpViewer& help_;
  skin::Shapes& shapes_;
  EuroZoneModel model_;
  platform::SpokenRows* spoken_ = nullptr;  // child of the window
};

}  // namespace eurozone
