#include "RowSwitch.h"

#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"
#include "popup/VoiceArtwork.h"

namespace rowswitch {

QXButton *makeSwitch(QWidget *parent, const QString &objectName)
{
    registerVoiceArtwork(); // the switch pictures
    auto *button = new QXButton(parent);
    button->setObjectName(objectName);
    button->setCheckable(true);
    button->resize(kSwitchSize);
    showSwitch(button, false);
    return button;
}

QXLabel *makeLabel(QWidget *parent, int pixelSize)
{
    auto *label = new QXLabel(parent);
    label->setFont(qxSystemFont(pixelSize));
    label->setTextColor(QColor(38, 12, 12));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void fitLabel(QXLabel *label, int height)
{
    label->resize(label->sizeHint().width(), height);
}

void placeTitleAndSwitch(QXLabel *title, QXButton *switchBtn)
{
    constexpr int kTitleHeight = 27;
    constexpr int kSwitchGap = 84;
    fitLabel(title, kTitleHeight);
    switchBtn->move(title->width() + kSwitchGap, (kTitleHeight - switchBtn->height()) / 2);
}

} // namespace rowswitch
