#pragma once

#include "popup/VoiceArtwork.h"

#include <QSize>
#include <QString>

class QWidget;
class QXButton;
class QXLabel;

// What the periphery rows and the Mine page share: the on/off switch (a checkable
// button whose click flips it before `clicked`) and labels in the pages' dark text.
namespace rowswitch {

inline constexpr QSize kSwitchSize(39, 29);

// A switch showing "2_switch_off_icon".
QXButton *makeSwitch(QWidget *parent, const QString &objectName);
// Shows the state without a click.
using voiceartwork::showSwitch;
// A plain-text label of the given font size, as wide as its text once set.
QXLabel *makeLabel(QWidget *parent, int pixelSize);
// Resizes a label to its text's width at the given height.
void fitLabel(QXLabel *label, int height);
// A row of one switch: its title fitted to the title line, the switch after it,
// centred on that line.
void placeTitleAndSwitch(QXLabel *title, QXButton *switchBtn);

} // namespace rowswitch
