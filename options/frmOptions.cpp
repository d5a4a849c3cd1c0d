#include "options/frmOptions.h"

#include "options/StartupEntry.h"
#include "platform/forms/SpokenRoles.h"
#include "platform/forms/VirtualKeys.h"
#include "resources/OptionsLayout.h"

namespace options {

namespace layout = resources::options_window;
namespace vk = platform::vk;

frmOptions::frmOptions(skin::Shapes& shapes, bool changeRowsShown)
    : shapes_(shapes), changeRowsShown_(changeRowsShown) {
  skin::ApplyFormLayout(*this, layout::kForm);
  platform::SpeakAsDialog(*this);
  // Made in the focus order: the start-up box takes the focus when the window shows.
  chkDémarrage = skin::MakeCheckBox(*this, layout::kChkDémarrage);
  chkAppoint = skin::MakeCheckBox(*this, layout::kChkAppoint);
  for (std::size_t i = 0; i < lblOption.size(); ++i) {
    lblOption[i] = skin::MakeLabel(*this, layout::kLblOption[i]);
    lblAction[i] = skin::MakeLabel(*this, layout::kLblAction[i]);
    lblAction[i]->Click = [this, i] { lblAction_Click(static_cast<int>(i)); };
    platform::SpeakAsButton(*lblAction[i]);
  }
  // A box without a caption of its own is named by the caption beside it for screen readers.
  lblOption[0]->setBuddy(chkDémarrage);
  lblOption[1]->setBuddy(chkAppoint);
  imaCommand = skin::MakeImage(*this, layout::kImaCommand);
  imaCommand->Click = [this] { imaCommand_Click(); };
  chkDémarrage->GotFocus = [this] { chkDémarrage_GotFocus(); };
  chkAppoint->GotFocus = [this] { chkAppoint_GotFocus(); };
}

void frmOptions::Form_Load() {
  skin::ClipToEllipse(*this, shapes_);
  // Checked exactly when the Startup folder holds an entry a desktop would start, whatever it
  // starts: confirming writes ours in its place.
  chkDémarrage->SetValue(StartupEntryExists() ? 1 : 0);
  chkAppoint->SetValue(changeRowsShown_ ? 1 : 0);
}

void frmOptions::Form_Resize() { skin::DrawRim(*this, shapes_); }

// Closed by the window manager, the window cancels like Alt+F4: its opener still reads it.
void frmOptions::Form_CloseRequest() { lblAction_Click(1); }

void frmOptions::chkDémarrage_GotFocus() {
  lblOption[1]->SetBorderStyle(0);
  lblOption[0]->SetBorderStyle(1);
}

void frmOptions::chkAppoint_GotFocus() {
  lblOption[0]->SetBorderStyle(0);
  lblOption[1]->SetBorderStyle(1);
}

void frmOptions::Form_KeyDown(int keyCode, int shift) {
  if (keyCode == vk::Escape) {
    lblAction_Click(1);
  } else if (keyCode == vk::Return) {
    lblAction_Click(0);
  } else if (keyCode == vk::F4 && (shift & platform::kAltMask) != 0) {
    lblAction_Click(1);
  }
}

void frmOptions::lblAction_Click(int index) {
  if (index == 0) {
    Tag = QStringLiteral("OK");
    hide();
  } else if (index == 1) {
    hide();
  }
}

void frmOptions::imaCommand_Click() { hide(); }

}  // namespace options
