#pragma once

#include <QAccessible>
#include <QString>
#include <QVariant>

class QWidget;

namespace platform {

class Label;

// Makes a window a dialog to a screen reader, named by its title or by `name` where given.
void SpeakAsDialog(QWidget& window, const QString& name = {});

// A label that acts when clicked, told to a screen reader as a push button or a link: named by
// its caption, with a press action that clicks it. Its keys and its look stay the label's.
void SpeakAsButton(Label& label);
void SpeakAsLink(Label& label);

// Gives `widget` a property that `factory` decides by, and drops the interface Qt may already
// have made for it: Qt keeps the first interface it made for an object, whether a screen reader
// asked for it or not.
void MarkForScreenReader(QWidget& widget, const char* property, const QVariant& value,
                         QAccessible::InterfaceFactory factory);

}  // namespace platform
