#include "about/frmAbout.h"

#include "about/Marquee.h"
#include "about/VersionInfo.h"
#include "platform/forms/SpokenRoles.h"
#include "platform/forms/VirtualKeys.h"
#include "platform/services/UserInfo.h"
#include "resources/AboutLayout.h"

namespace about {

namespace layout = resources::about_window;
namespace vk = platform::vk;

namespace {
// A link that cannot be opened is not worth a message in a window the user opened to read.
constexpr bool kShowErrors = false;
}  // namespace

frmAbout::frmAbout(skin::Shapes& shapes, const mShellExecute::Services& services)
    : shapes_(shapes), services_(services) {
  skin::ApplyFormLayout(*this, layout::kForm);
  platform::SpeakAsDialog(*this);
  imaCommand = skin::MakeImage(*this, layout::kImaCommand);
  imaCommand->Click = [this] { imaCommand_Click(); };
  lblTitle = skin::MakeLabel(*this, layout::kLblTitle);
  lblVersion = skin::MakeLabel(*this, layout::kLblVersion);
  lblMarquee = skin::MakeLabel(*this, layout::kLblMarquee);
  lblWeb = skin::MakeLabel(*this, layout::kLblWeb);
  lblWeb->SetCaption(QString::fromUtf8(version::kWebAddress));
  lblWeb->setCursor(Qt::PointingHandCursor);
  lblWeb->Click = [this] { lblWeb_Click(); };
  platform::SpeakAsLink(*lblWeb);
  lblMail = skin::MakeLabel(*this, layout::kLblMail);
  lblMail->SetCaption(QString::fromUtf8(version::kSupportMail));
  lblMail->setCursor(Qt::PointingHandCursor);
  lblMail->Click = [this] { lblMail_Click(); };
  platform::SpeakAsLink(*lblMail);
  Timer1.Tick = [this] { Timer1_Timer(); };
}

void frmAbout::Form_Load() {
  skin::ClipToEllipse(*this, shapes_);
  lblTitle->SetCaption(QString::fromUtf8(version::kProductName));
  lblVersion->SetCaption(
      QStringLiteral("%1.%2.%3").arg(version::kMajor).arg(version::kMinor).arg(version::kRevision));
  // The user's name is read again at every opening: it may have changed meanwhile.
  const std::string caption = MarqueeCaption(version::kFileDescription, version::kLegalNotice,
                                             platform::UserFullName().toStdString());
  lblMarquee->SetCaption(QString::fromStdString(caption));
  lblMarquee->SetLeftTwips(WidthTwips());
  Timer1.SetInterval(layout::kTimer1Interval);
  Timer1.SetEnabled(true);
}

void frmAbout::Form_Resize() { skin::DrawRim(*this, shapes_); }

void frmAbout::Form_KeyDown(int keyCode, int shift) {
  switch (keyCode) {
    case vk::Escape:
    case vk::Return:
      CloseCommand();
      break;
    case vk::F4:
      if ((shift & platform::kAltMask) != 0) CloseCommand();
      break;
    default:
      break;
  }
}

// The window manager's close (its Alt+F4, a task switcher) closes the window as its own keys do.
void frmAbout::Form_CloseRequest() { CloseCommand(); }

void frmAbout::Timer1_Timer() {
  // Positions are single precision, as the line's arithmetic is.
  const float left =
      MarqueeStep(static_cast<float>(lblMarquee->LeftTwips()),
                  static_cast<float>(lblMarquee->WidthTwips()), static_cast<float>(WidthTwips()));
  // Only the label moves: the window repaints the strip it leaves and the strip it enters.
  lblMarquee->SetLeftTwips(left);
}

void frmAbout::lblWeb_Click() { OpenLink(lblWeb->Caption()); }

void frmAbout::lblMail_Click() { OpenLink(QStringLiteral("mailto: ") + lblMail->Caption()); }

void frmAbout::imaCommand_Click() { CloseCommand(); }

void frmAbout::OpenLink(const QString& address) {
  // The window stays open while the browser or the mail program starts.
  mShellExecute::LaunchDocument(address, QStringLiteral("open"), QString(), nullptr, kShowErrors,
                                services_);
}

// Unloading stops the timer and ends the opener's modal display.
void frmAbout::CloseCommand() { Unload(); }

}  // namespace about
