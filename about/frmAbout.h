#pragma once

#include "about/mShellExecute.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/Timer.h"
#include "shell/Skin.h"

namespace about {

// The about window: the program's name and version, a line that scrolls from right to left with
// its description, legal notice and the user's name, and links to the maker's web site and
// support address. Shown modally, a new one at each opening; it closes itself and reports
// nothing back.
class frmAbout : public platform::Form {
 public:
  // `services` open the links: the desktop's own unless a caller brings others.
  explicit frmAbout(skin::Shapes& shapes,
                    const mShellExecute::Services& services = mShellExecute::SystemServices());

  void lblWeb_Click();
  void lblMail_Click();
  void imaCommand_Click();
  void Timer1_Timer();

  platform::Label* lblTitle = nullptr;
  platform::Label* lblVersion = nullptr;
  platform::Label* lblMarquee = nullptr;
  platform::Label* lblWeb = nullptr;
  platform::Label* lblMail = nullptr;
  platform::Image* imaCommand = nullptr;
  platform::Timer Timer1{*this};

 protected:
  void Form_Load() override;
  void Form_KeyDown(int keyCode, int shift) override;
  void Form_Resize() override;
  void Form_CloseRequest() override;

 private:
  void OpenLink(const QString& address);
  void CloseCommand();

  skin::Shapes& shapes_;
  mShellExecute::Services services_;
};

}  // namespace about
