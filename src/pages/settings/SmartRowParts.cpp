#include "SmartRowParts.h"

#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"
#include "controls/ShortcutRecorder.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "popup/VoiceArtwork.h"
#include "views/QXBaseView.h"

#include <QFontMetrics>
#include <QPixmap>

namespace smartrow {

namespace {
const QColor kTextColor(38, 12, 12);

QXLabel *makeLabel(QWidget *parent, int pointSize)
{
    auto *label = new QXLabel(parent);
    label->setFont(qxSystemFont(pointSize));
    label->setTextColor(kTextColor);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    return label;
}
} // namespace

QXLabel *makeTitleLabel(QWidget *parent)
{
    return makeLabel(parent, 20);
}

QXLabel *makeFunctionLabel(QWidget *parent)
{
    return makeLabel(parent, 16);
}

QXPopUpButton *makePopUp(QWidget *parent, const QString &objectName)
{
    auto *popUp = new QXPopUpButton(parent);
    popUp->setObjectName(objectName);
    popUp->resize(kPopUpWidth, kPopUpHeight);
    return popUp;
}

void reloadPopUp(QXPopUpButton *popUp, const QStringList &items, quint64 index)
{
    popUp->setItemsArr(items);
    popUp->setSelectIndex(index < quint64(items.size()) ? int(index) : 0);
}

QXButton *makeSwapButton(QWidget *parent)
{
    registerVoiceArtwork();
    auto *button = new QXButton(parent);
    button->setObjectName(QStringLiteral("changeLanguageButton"));
    button->setImage(QPixmap::fromImage(namedImage(QStringLiteral("2_changeLanguage_icon"))));
    return button;
}

ShortcutRecorder *makeShortcutBox(QWidget *parent, platform::ShortcutBinder &binder, const QString &defaultsKey,
                                  const QRect &box, const QString &objectName)
{
    auto *frame = new QXBaseView(parent);
    frame->setLayerBorder(QColor(0, 0, 0, 51), 1);
    frame->setLayerCornerRadius(2);
    frame->setGeometry(box);
    auto *recorder = new ShortcutRecorder(&binder, frame);
    recorder->setObjectName(objectName);
    // The whole box: the recording highlight and the clear button reach its edge.
    recorder->setGeometry(0, 0, box.width(), box.height());
    recorder->setAssociatedUserDefaultsKey(defaultsKey);
    return recorder;
}

int textWidth(const QXLabel *label)
{
    return QFontMetrics(label->font()).horizontalAdvance(label->text()) + 2;
}

QRect centredOn(const QRect &line, int x, QSize size)
{
    return QRect(QPoint(x, line.center().y() + 1 - size.height() / 2), size);
}

} // namespace smartrow
