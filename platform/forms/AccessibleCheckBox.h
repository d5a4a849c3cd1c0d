#pragma once

namespace platform {

class CheckBox;

// Makes the toolkit's check boxes known to assistive technologies (AT-SPI through Qt) as check
// boxes: their role, their checked state and a toggle action. Their name is the caption of the
// label whose buddy they are. Installed once, by the first check box made.
void InstallCheckBoxAccessibility();

// Tells assistive technologies that the box's checked state changed.
void ReportCheckedChange(CheckBox& box);

}  // namespace platform
