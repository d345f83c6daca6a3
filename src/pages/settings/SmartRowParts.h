#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;
class QXButton;
class QXLabel;
class QXPopUpButton;
class ShortcutRecorder;
namespace platform {
class ShortcutBinder;
}

// The pieces the rows of the smart-settings page share: the title and line labels in
// the page's dark text, the on/off switch, the 222 x 34 drop-down, the inert swap
// button between two drop-downs and the bordered shortcut box.
namespace smartrow {

inline constexpr int kTitleHeight = 27;
inline constexpr int kLabelHeight = 22;
inline constexpr int kPopUpWidth = 222;
inline constexpr int kPopUpHeight = 34;
inline constexpr int kSwitchWidth = 39;
inline constexpr int kSwitchHeight = 29;
inline constexpr int kLineGap = 30; // between the title and the first line

QXLabel *makeTitleLabel(QWidget *parent);
QXLabel *makeFunctionLabel(QWidget *parent);

// A checkable button showing "2_switch_off_icon"; a click flips it before `clicked`.
QXButton *makeSwitch(QWidget *parent, const QString &objectName);
// Shows the state without a click: checked, image, and the image name in the
// property "imageName".
void showSwitch(QXButton *button, bool on);

QXPopUpButton *makePopUp(QWidget *parent, const QString &objectName);
// New items, then the selection; an index past the items shows entry 0.
void reloadPopUp(QXPopUpButton *popUp, const QStringList &items, quint64 index);

// "2_changeLanguage_icon", which does nothing when clicked.
QXButton *makeSwapButton(QWidget *parent);

// A 222 x 34 box (1 px border of black at 20 %, corner radius 2) at `box`, holding a
// recorder bound to `defaultsKey` that fills it but for 20 px on the right.
ShortcutRecorder *makeShortcutBox(QWidget *parent, platform::ShortcutBinder &binder, const QString &defaultsKey,
                                  const QRect &box, const QString &objectName);

// The width a label needs for its text now.
int textWidth(const QXLabel *label);
// A rectangle of `size` whose left edge is at x, centred on the line of `line`.
QRect centredOn(const QRect &line, int x, QSize size);

} // namespace smartrow
