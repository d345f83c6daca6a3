#include "MineContentView.h"

#include "HRVLocalizedString.h"
#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "QXMouseInfoItem.h"
#include "QXUserInfoData.h"
#include "RowSwitch.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "drawing/NamedImage.h"

#include <QLabel>

#include <algorithm>

namespace {
constexpr int kLeft = 42;
constexpr int kLabelHeight = 22;
constexpr QSize kDeviceImageSize(24, 33);
constexpr int kSwitchGap = 36;
constexpr int kSnWidth = 300;
constexpr int kValueGap = 8; // least room between a caption and its value
// The model shown beside the picture: a fixed name, not the connected device's.
const QString kModelName = QStringLiteral("Quorvex AI Mouse");
constexpr const char *kTips[] = {"我的设备", "自动删除录音", "录音过程中指示灯熄灭",
                                 "电量:",    "固件版本:",    "设备序列号:"};

QString localized(const char *key)
{
    return hrvAppLocalizedString(QString::fromUtf8(key));
}
} // namespace

MineContentView::MineContentView(const PageContext &context, QWidget *parent) : QXBaseView(parent), m_context(context)
{
    setLayerBackgroundColor(QColor(241, 244, 248));
    configUI();
    configTitle();
    configData();
}

void MineContentView::configUI()
{
    for (int i = 0; i < 6; ++i)
        m_tipLabels[i] = rowswitch::makeLabel(this, i == 0 ? 20 : 16);
    m_deviceImageView = new QLabel(this);
    m_deviceImageView->setScaledContents(true);
    m_deviceImageView->setPixmap(namedPixmap(QStringLiteral("6_mouse_icon")));
    m_deviceImageView->resize(kDeviceImageSize);
    m_deviceNameLabel = rowswitch::makeLabel(this, 16);
    m_electricLabel = rowswitch::makeLabel(this, 16);
    m_firmwareVersionLabel = rowswitch::makeLabel(this, 16);
    m_snLabel = rowswitch::makeLabel(this, 16);
    m_snLabel->setObjectName(QStringLiteral("snLabel"));

    m_autoDelRecordBtn = rowswitch::makeSwitch(this, QStringLiteral("autoDelRecordBtn"));
    connect(m_autoDelRecordBtn, &QXButton::clicked, this, [this] { autoDelRecordBtnClicked(); });
    m_ledBtn = rowswitch::makeSwitch(this, QStringLiteral("ledBtn"));
    connect(m_ledBtn, &QXButton::clicked, this, [this] { ledBtnClicked(); });
    for (const auto &[button, key] :
         {std::pair{m_autoDelRecordBtn, kAutoDeleteRecordKey}, {m_ledBtn, kRecordLedOffKey}}) {
        rowswitch::showSwitch(button, m_context.store.value(QString::fromLatin1(key), false).toBool());
        switchClicked(button, key);
    }
}

void MineContentView::configTitle()
{
    for (int i = 0; i < 6; ++i)
        m_tipLabels[i]->setText(localized(kTips[i]));
    m_deviceNameLabel->setText(kModelName);
    m_electricLabel->setText(QStringLiteral("100%"));
    m_firmwareVersionLabel->setText(localized("版本") + QStringLiteral("1.0.0"));
    updateDeviceInfo();
    layoutLines();
}

void MineContentView::configData()
{
    m_context.notifications.addObserver(QString::fromLatin1(qx::notify::HadUSBInfoNotification), this,
                                        [this](const QVariant &) { updateDeviceInfo(); });
}

// The serial number is the device's text: shown as it is, cut to the line's width.
void MineContentView::updateDeviceInfo()
{
    const QString sn = m_context.state.mouseInfoItem().sn();
    m_snLabel->setToolTip(sn);
    m_snLabel->setText(m_snLabel->fontMetrics().elidedText(sn, Qt::ElideRight, kSnWidth));
}

void MineContentView::layoutLines()
{
    QXLabel *first = m_tipLabels[0];
    rowswitch::fitLabel(first, 27);
    first->move(kLeft, 8);
    m_deviceImageView->move(kLeft, first->geometry().bottom() + 1 + 29);
    const QRect image = m_deviceImageView->geometry();
    rowswitch::fitLabel(m_deviceNameLabel, kLabelHeight);
    m_deviceNameLabel->move(image.right() + 1 + 28, image.center().y() - kLabelHeight / 2);

    const int gaps[] = {29, 36, 36, 15, 15}; // below the picture, then below each line
    int top = image.bottom() + 1;
    for (int i = 1; i < 6; ++i) {
        rowswitch::fitLabel(m_tipLabels[i], kLabelHeight);
        top += gaps[i - 1];
        m_tipLabels[i]->move(kLeft, top);
        top += kLabelHeight;
    }
    const auto besideSwitch = [](QXButton *button, const QXLabel *label) {
        const QRect line = label->geometry();
        button->move(line.right() + 1 + kSwitchGap, line.center().y() - button->height() / 2);
    };
    besideSwitch(m_autoDelRecordBtn, m_tipLabels[1]);
    besideSwitch(m_ledBtn, m_tipLabels[2]);
    const struct {
        QXLabel *value;
        int line;
        int width;
    } values[] = {{m_electricLabel, 3, 120}, {m_firmwareVersionLabel, 4, 200}, {m_snLabel, 5, kSnWidth}};
    // The values line up at one left edge, moved right when a translated caption needs it.
    int valueLeft = kValueLeft;
    for (const auto &v : values)
        valueLeft = std::max(valueLeft, m_tipLabels[v.line]->geometry().right() + 1 + kValueGap);
    for (const auto &v : values)
        v.value->setGeometry(valueLeft, m_tipLabels[v.line]->y(), v.width, kLabelHeight);
}

void MineContentView::autoDelRecordBtnClicked()
{
    switchClicked(m_autoDelRecordBtn, kAutoDeleteRecordKey);
}

void MineContentView::ledBtnClicked()
{
    switchClicked(m_ledBtn, kRecordLedOffKey);
}

// Stores the switch's state at once; an unchanged value is not written again.
void MineContentView::switchClicked(QXButton *button, const char *key)
{
    const bool on = button->isChecked();
    rowswitch::showSwitch(button, on);
    const QString name = QString::fromLatin1(key);
    if (m_context.store.value(name, false).toBool() != on)
        m_context.store.setValue(name, on);
}
