#include "eurozone/frmZoneEuro.h"

#include <QShowEvent>
#include <utility>

#include "about/frmAbout.h"
#include "amounts/TypingKeys.h"
#include "platform/forms/SpokenRoles.h"
#include "platform/forms/VirtualKeys.h"
#include "resources/ZoneEuroLayout.h"
#include "shell/AmountClipboard.h"
#include "shell/SpokenTyping.h"

namespace eurozone {

namespace layout = resources::zone_euro_window;
namespace vk = platform::vk;
using amounts::Direction;

namespace {
constexpr int kMarkerGap = 70;  // twips between a row's text and the marker pointing at it
}  // namespace

frmZoneEuro::frmZoneEuro(platform::App& app, platform::HelpViewer& help, skin::Shapes& shapes,
                         std::string decimalSeparator)
    : app_(app), help_(help), shapes_(shapes), model_(std::move(decimalSeparator)) {
  skin::ApplyFormLayout(*this, layout::kForm);
  for (const auto& caption : layout::kLblEti) {
    lblEti[caption.index] = skin::MakeLabel(*this, caption.layout);
  }
  for (std::size_t i = 0; i < lblP.size(); ++i) lblP[i] = skin::MakeLabel(*this, layout::kLblP[i]);
  for (std::size_t i = 0; i < imaCommand.size(); ++i) {
    imaCommand[i] = skin::MakeImage(*this, layout::kImaCommand[i]);
    imaCommand[i]->Click = [this, i] { imaCommand_Click(static_cast<int>(i)); };
  }
  imaFocus = skin::MakeImage(*this, layout::kImaFocus);
  // The amount in a currency is labelled by the currency's name.
  spoken_ = new platform::SpokenRows(
      *this, {{lblEti[0], lblP[0]}, {lblP[0], lblP[1]}, {lblEti[2], lblP[2]}});
  spoken_->Select(0);
  platform::SpeakAsDialog(*this, QStringLiteral("Zone Euro"));
  // The model starts with the window: a new window at each opening starts afresh.
  model_.onRowSelected = [this](int oldRow, int newRow) {
    spoken_->Select(newRow);
    ShowSelection(oldRow, newRow);
  };
}

void frmZoneEuro::Form_Load() {
  skin::ClipToEllipse(*this, shapes_);
  PlaceMarker(0);
}

void frmZoneEuro::Form_Resize() { skin::DrawRim(*this, shapes_); }

// Closing from the window manager is closing from the window: nothing is converted.
void frmZoneEuro::Form_CloseRequest() { CloseCommand(); }

void frmZoneEuro::SelectRow(int row) { model_.SelectRow(row); }

void frmZoneEuro::ShowSelection(int oldRow, int newRow) {
  // "prix en" heads rows 0 and 1, "prix en euros" row 2.
  if (newRow == 2) {
    lblEti[0]->SetForeColor(resources::kBlack);
    lblEti[2]->SetForeColor(resources::kHighlightColour);
  } else if (oldRow == 2) {
    lblEti[2]->SetForeColor(resources::kBlack);
    lblEti[0]->SetForeColor(resources::kHighlightColour);
  }
  lblP[oldRow]->SetForeColor(resources::kBlack);
  PlaceMarker(newRow);
  lblP[newRow]->SetForeColor(resources::kHighlightColour);
}

void frmZoneEuro::PlaceMarker(int row) {
  const platform::Label& text = *lblP[row];
  imaFocus->SetBoundsTwips(text.LeftTwips() + text.WidthTwips() + kMarkerGap, text.TopTwips(),
                           imaFocus->WidthTwips(), imaFocus->HeightTwips());
}

void frmZoneEuro::ShowRowTexts(platform::SpokenRows::Change change) {
  const auto& texts = model_.RowText();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const QString caption = QString::fromStdString(texts[i]);
    if (lblP[i]->Caption() != caption) lblP[i]->SetCaption(caption);
  }
  spoken_->Changed(change);
}

void frmZoneEuro::Form_KeyDown(int keyCode, int shift) {
  if (ClipboardKey(keyCode, shift)) return;
  const amounts::TypingKey typing = amounts::ReadTypingKey(keyCode, shift);
  if (amounts::ApplyTypingKey(model_, typing)) {
    ShowRowTexts(spoken::AfterTyping(typing.action));
    return;
  }
  switch (keyCode) {
    case vk::Left:
      model_.StepCurrency(Direction::Previous);
      ShowRowTexts(platform::SpokenRows::Change::Replaced);
      return;
    case vk::Right:
      model_.StepCurrency(Direction::Next);
      ShowRowTexts(platform::SpokenRows::Change::Replaced);
      return;
    case vk::F4:
      if ((shift & platform::kAltMask) != 0) CloseCommand();
      return;  // the window may be gone: nothing to show
    case vk::F1:
      ShowHelp();
      return;
    default:
      return;
  }
  ShowRowTexts();
}

bool frmZoneEuro::ClipboardKey(int keyCode, int shift) {
  const auto done = clipboard::AmountClipboardKey(model_, lblP, keyCode, shift, KeyFromKeypad());
  if (done == clipboard::KeyDone::RowsChanged) ShowRowTexts(platform::SpokenRows::Change::Replaced);
  return done != clipboard::KeyDone::NotAClipboardKey;
}

void frmZoneEuro::imaCommand_Click(int index) {
  switch (index) {
    case 0:
      CloseCommand();
      break;
    case 1:
      ShowAbout();
      break;
    case 2:
      ShowHelp();
      break;
    default:
      break;
  }
}

// A running entry goes with the window, unconverted.
void frmZoneEuro::CloseCommand() { Unload(); }

void frmZoneEuro::ShowAbout() {
  // A new window at each opening; a running entry here goes on once it has closed.
  about::frmAbout aboutWindow(shapes_);
  aboutWindow.ShowModal(*this);
  aboutWindow.Unload();
}

void frmZoneEuro::ShowHelp() { help_.Show(app_.HelpFile); }

}  // namespace eurozone
