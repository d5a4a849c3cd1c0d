#pragma once

#include <array>

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "shell/Skin.h"

namespace options {

// Shows whether the program starts at logon and whether the main window's change rows are on,
// and lets the user switch either. It changes nothing itself: its opener reads Tag ("OK" once
// confirmed) and the two boxes after the modal display has ended, then unloads it. Every way out
// hides the window; it never unloads itself.
class frmOptions : public platform::Form {
 public:
  // `changeRowsShown`: whether the main window shows its change rows now.
  frmOptions(skin::Shapes& shapes, bool changeRowsShown);

  // 0 "OK" confirms, 1 "Annuler" cancels.
  void lblAction_Click(int index);
  // The close image cancels.
  void imaCommand_Click();

  platform::CheckBox* chkDémarrage = nullptr;
  platform::CheckBox* chkAppoint = nullptr;
  std::array<platform::Label*, 2> lblOption{};
  std::array<platform::Label*, 2> lblAction{};
  platform::Image* imaCommand = nullptr;

 protected:
  void Form_Load() override;
  void Form_KeyDown(int keyCode, int shift) override;
  void Form_Resize() override;
  void Form_CloseRequest() override;

 private:
  void chkDémarrage_GotFocus();
  void chkAppoint_GotFocus();

  skin::Shapes& shapes_;
  bool changeRowsShown_;
};

}  // namespace options
