#include "converter/frmDorvanta.h"

#include <QDate>
#include <QTime>

#include "about/VersionInfo.h"
#include "about/frmAbout.h"
#include "amounts/TypingKeys.h"
#include "eurozone/frmZoneEuro.h"
#include "options/StartupEntry.h"
#include "options/frmOptions.h"
#include "platform/forms/VirtualKeys.h"
#include "platform/services/MessageBox.h"
#include "resources/MainLayout.h"
#include "shell/AmountClipboard.h"
#include "shell/SpokenTyping.h"

namespace converter {

namespace layout = resources::main_window;
namespace vk = platform::vk;

namespace {
// Until the francs stopped being legal tender, shops still took them: the change rows are on.
const QDateTime kEndOfDualCirculation(QDate(2002, 2, 19), QTime(0, 0));
constexpr int kMarkerGap = 70;  // twips between an amount and the marker pointing at it
}  // namespace

frmDorvanta::frmDorvanta(platform::App& app, const platform::Clock& clock,
                         platform::HelpViewer& help, platform::NotificationArea& tray,
                         skin::Shapes& shapes, std::string decimalSeparator)
    : app_(app),
      clock_(clock),
      help_(help),
      tray_(tray),
      shapes_(shapes),
      model_(decimalSeparator),
      separator_(std::move(decimalSeparator)) {
  skin::ApplyFormLayout(*this, layout::kForm);
  for (std::size_t i = 0; i < lblEti.size(); ++i) {
    lblEti[i] = skin::MakeLabel(*this, layout::kLblEti[i]);
    lblP[i] = skin::MakeLabel(*this, layout::kLblP[i]);
    HookLabelMouse(*lblEti[i]);
    HookLabelMouse(*lblP[i]);
  }
  for (std::size_t i = 0; i < Line1.size(); ++i)
    Line1[i] = skin::MakeLine(*this, layout::kLine1[i]);
  for (std::size_t i = 0; i < imaCommand.size(); ++i) {
    imaCommand[i] = skin::MakeImage(*this, layout::kImaCommand[i]);
    imaCommand[i]->Click = [this, i] { imaCommand_Click(static_cast<int>(i)); };
  }
  imaFocus = skin::MakeImage(*this, layout::kImaFocus);
  std::vector<std::pair<platform::Label*, platform::Label*>> rows;
  for (std::size_t i = 0; i < lblP.size(); ++i) rows.emplace_back(lblEti[i], lblP[i]);
  spoken_ = new platform::SpokenRows(*this, std::move(rows));
  spoken_->Select(0);

  model_.onRowSelected = [this](int oldRow, int newRow) {
    spoken_->Select(newRow);
    lblEti[oldRow]->SetForeColor(resources::kBlack);
    lblP[oldRow]->SetForeColor(resources::kBlack);
    PlaceMarker(newRow);
    lblEti[newRow]->SetForeColor(resources::kHighlightColour);
    lblP[newRow]->SetForeColor(resources::kHighlightColour);
  };
  model_.onChangeRowsShown = [this](bool on) { ShowChangeRows(on); };
}

void frmDorvanta::Form_Load() {
  skin::ClipToEllipse(*this, shapes_);
  PlaceMarker(0);
  model_.ResetSnapshot();
  mSysTray::AddTrayIcon(tray_, *this, trayIcon_);
  mSysTray::HookWindow(trayIcon_, *this);
  if (clock_.Now() < kEndOfDualCirculation) model_.SetChangeMode(true);
}

void frmDorvanta::Form_Unload() {
  mSysTray::UnhookWindow(trayIcon_);
  mSysTray::RemoveTrayIcon(tray_, trayIcon_);
}

void frmDorvanta::Form_Resize() {
  skin::DrawRim(*this, shapes_);
  // Put in the task bar only while minimised there for want of a notification area.
  if (!isMinimized() && !isMaximized() && ShowInTaskbar()) SetShowInTaskbar(false);
}

void frmDorvanta::HookLabelMouse(platform::Label& label) {
  label.MouseDown = [this, &label](int, int, double x, double y) {
    drag::BeginDrag(*this, drag_, label, x, y);
  };
  label.MouseMove = [this](int, int, double, double) { drag::FollowDrag(*this, drag_); };
  label.MouseUp = [this](int, int, double, double) { drag::EndDrag(*this, drag_); };
}

void frmDorvanta::Form_MouseDown(int button, int, double x, double y) {
  drag::BeginDrag(*this, drag_, button, x, y);
}

void frmDorvanta::Form_MouseMove(int, int, double, double) { drag::FollowDrag(*this, drag_); }

void frmDorvanta::Form_MouseUp(int, int, double, double) { drag::EndDrag(*this, drag_); }

void frmDorvanta::SelectRow(int row) { model_.SelectRow(row); }

void frmDorvanta::PlaceMarker(int row) {
  const platform::Label& amount = *lblP[row];
  imaFocus->SetBoundsTwips(amount.LeftTwips() + amount.WidthTwips() + kMarkerGap, amount.TopTwips(),
                           imaFocus->WidthTwips(), imaFocus->HeightTwips());
}

void frmDorvanta::ShowChangeRows(bool on) {
  lblEti[1]->setVisible(on);
  lblP[1]->setVisible(on);
  Line1[1]->setVisible(on);
  lblEti[3]->setVisible(on);
  lblP[3]->setVisible(on);
}

void frmDorvanta::ShowRowTexts(platform::SpokenRows::Change change) {
  const auto& texts = model_.RowText();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const QString caption = QString::fromStdString(texts[i]);
    if (lblP[i]->Caption() != caption) lblP[i]->SetCaption(caption);
  }
  spoken_->Changed(change);
}

void frmDorvanta::Form_KeyDown(int keyCode, int shift) {
  if (ClipboardKey(keyCode, shift)) return;
  const amounts::TypingKey typing = amounts::ReadTypingKey(keyCode, shift);
  if (amounts::ApplyTypingKey(model_, typing)) {
    ShowRowTexts(spoken::AfterTyping(typing.action));
    return;
  }
  const bool alt = (shift & platform::kAltMask) != 0;
  switch (keyCode) {
    case vk::F4:
      if (alt) CloseCommand();
      return;  // the window may be gone from the screen: nothing to show
    case 'R':
      if (alt) HideCommand();
      break;
    case 'O':
      model_.CommitEntry();
      if (alt) OptionsCommand();
      break;
    case vk::F1:
      ShowHelp();
      break;
    case 'Z':
      if (alt) imaCommand_Click(5);
      break;
    default:
      return;
  }
  ShowRowTexts();
}

bool frmDorvanta::ClipboardKey(int keyCode, int shift) {
  const auto done = clipboard::AmountClipboardKey(model_, lblP, keyCode, shift, KeyFromKeypad());
  if (done == clipboard::KeyDone::RowsChanged) ShowRowTexts(platform::SpokenRows::Change::Replaced);
  return done != clipboard::KeyDone::NotAClipboardKey;
}

void frmDorvanta::imaCommand_Click(int index) {
  switch (index) {
    case 0:
      CloseCommand();
      break;
    case 1:
      HideCommand();
      break;
    case 2:
      OptionsCommand();
      ShowRowTexts();
      break;
    case 4:
      ShowHelp();
      break;
    case 5:
      ZoneEuroCommand();
      break;
    case 3: {
      // A new window at each opening; a running entry here goes on once it has closed.
      about::frmAbout aboutWindow(shapes_);
      aboutWindow.ShowModal(*this);
      aboutWindow.Unload();
      break;
    }
    default:
      break;
  }
}

void frmDorvanta::CloseCommand() { Unload(); }

void frmDorvanta::HideCommand() {
  if (tray_.Available()) {
    hide();
    return;
  }
  // With no notification area to come back from, a hidden window would be lost for good: it
  // goes to the task bar instead.
  SetShowInTaskbar(true);
  showMinimized();
}

void frmDorvanta::OptionsCommand() {
  model_.CommitEntry();
  // The conversion shows behind the options window, not only once it has closed.
  ShowRowTexts();
  // A new window at each opening: it reads the start-up entry and the change rows afresh.
  options::frmOptions frmOptions(shapes_, model_.ChangeMode());
  frmOptions.ShowModal(*this);
  ApplyOptions(frmOptions);
  frmOptions.Unload();
}

void frmDorvanta::ApplyOptions(const options::frmOptions& frmOptions) {
  if (frmOptions.Tag != QStringLiteral("OK")) return;
  const QString failure = frmOptions.chkDémarrage->Value() == 1
                              ? options::InstallStartupEntry(app_.Path())
                              : options::RemoveStartupEntry();
  const bool on = frmOptions.chkAppoint->Value() != 0;
  if (on != model_.ChangeMode()) model_.SetChangeMode(on);
  // Told at once, over the window as the options left it: the user's choice did not hold.
  if (!failure.isEmpty()) {
    platform::SystemMessageBox().ShowError(this, failure, QString::fromUtf8(version::kProductName));
  }
}

void frmDorvanta::ShowHelp() { help_.Show(app_.HelpFile); }

void frmDorvanta::ZoneEuroCommand() {
  // A new window at each opening, so that nothing of an earlier one survives. A running entry
  // here is left as it is and goes on once the window has closed.
  eurozone::frmZoneEuro zoneEuro(app_, help_, shapes_, separator_);
  zoneEuro.ShowModal(*this);
  zoneEuro.Unload();
}

}  // namespace converter
