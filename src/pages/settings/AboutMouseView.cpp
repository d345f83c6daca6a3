#include "AboutMouseView.h"

#include "HRVLocalizedString.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PagePorts.h"
#include "QXMouseInfoItem.h"
#include "QXUserInfoData.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXTextView.h"
#include "drawing/KitAppearance.h"
#include "scenes/QXUploadBurnerInfoScene.h"
#include "services/IPopupTips.h"
#include "views/CustomProgress.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace {
const QColor kTextColor(38, 12, 12);
const QString kNineBlanks = QStringLiteral("         ");
// The feature list's key: two lines joined by one line break.
constexpr const char kFeatureList[] =
    "语音打字，语音翻译，语音搜索，语音控制\n划词翻译，截图识别，截图翻译，按键宏定义";

QString localized(const char *key)
{
    return hrvAppLocalizedString(QString::fromUtf8(key));
}

// Between a button's title and its rounded ends.
constexpr int kTitlePadding = 6;

QString idleTitle(int target)
{
    return target == AboutMouseView::kMouse ? localized("升级设备固件") : localized("升级接收器固件");
}
} // namespace

AboutMouseView::AboutMouseView(const PageContext &context, QWidget *parent) : QXBaseView(parent), m_context(context)
{
    configUI();
    configTitle();
    configData();
    setAcceptDrops(true);
}

QString AboutMouseView::versionLine(const QString &sn, const QString &softwareLabel, const QString &appVersion,
                                    const QString &firmwareLabel, const QString &firmware, const QString &product)
{
    return QStringLiteral("SN:") + sn + kNineBlanks + softwareLabel + QStringLiteral(" V") + appVersion + kNineBlanks
           + firmwareLabel + QLatin1Char(' ') + firmware + QLatin1Char('(') + product + QLatin1Char(')');
}

int AboutMouseView::clampedProgress(const QVariant &payload)
{
    bool ok = false;
    const double value = payload.isValid() ? payload.toDouble(&ok) : 0.0;
    if (!ok || std::isnan(value))
        return 0;
    return int(std::clamp(value, 0.0, 100.0));
}

void AboutMouseView::configUI()
{
    auto label = [this](qreal size) {
        auto *l = new QXLabel(this);
        l->setFont(qxSystemFont(size));
        l->setTextColor(kTextColor);
        l->setTextFormat(Qt::PlainText);
        return l;
    };
    m_titleLabel = label(20);
    m_versionLabel = label(12);
    m_versionLabel->setTextColor(qxGreyColor());
    m_tipLabel = label(20);
    m_instructionTextView = new QXTextView(this);
    m_instructionTextView->setTextColor(kTextColor);
    // showUpdateBtnStatus creates the two buttons
    for (QXButton **button : {&m_updateBtn, &m_updateDongleBtn}) {
        auto *b = new QXButton(this);
        b->setLayerBackgroundColor(qxAccentColor());
        b->setLayerCornerRadius(5);
        b->setTitleColor(Qt::white);
        connect(b, &QXButton::clicked, this, [this, b] { updateBtnClicked(b); });
        *button = b;
    }
    m_updateBtn->setObjectName(QStringLiteral("updateButton"));
    m_updateDongleBtn->setObjectName(QStringLiteral("updateDongleButton"));
    m_custompro = new CustomProgress(this);
    m_custompro->setMaxValue(100);
    // Flat colours behind the parts of the progress bar (the track keeps its border).
    qxFillBackground(m_custompro->bgimg(), Qt::white);
    qxFillBackground(m_custompro->leftimg(), qxAccentColor());
    m_custompro->hide();
    m_progressLabel = label(16);
    m_progressLabel->setTextColor(qxAccentColor());
    m_updateTipLabel = label(12);
    m_updateTipLabel->setTextColor(qxGreyColor());
    m_updateTipLabel->hide();
}

void AboutMouseView::configData()
{
    NotificationCenter &center = m_context.notifications;
    auto on = [&](const char *name, std::function<void(const QVariant &)> handler) {
        center.addObserver(QString::fromLatin1(name), this, std::move(handler));
    };
    on(qx::notify::HadUSBInfoNotification, [this](const QVariant &) { configTitle(); });
    on(qx::notify::kUpdateFirmwareVersionNotification, [this](const QVariant &) { configTitle(); });
    on(qx::notify::kUpdateOTAProgressNotification, [this](const QVariant &p) { updateOTAProgress(p); });
    on(qx::notify::kUpdateOTASuccessNotification, [this](const QVariant &) { updateOTASuccess(); });
    on(qx::notify::kUpdateOTAFailNotification, [this](const QVariant &) { updateOTAFail(); });
    on(qx::notify::kUpdateOTACancelNotification, [this](const QVariant &) { updateOTACancel(); });
    on(qx::notify::kUpdateOTAStatusNotification, [this](const QVariant &) { showUpdateBtnStatus(); });
    m_updateStatus = kNone;
    m_isUpdating = false;
}

void AboutMouseView::configTitle()
{
    QXUserInfoData &state = m_context.state;
    const bool disabled = state.isDisableDevice();
    const QString appVersion = QCoreApplication::applicationVersion();
    m_titleLabel->setText(localized("关于AI鼠标"));
    m_versionLabel->setText(versionLine(
        disabled ? QString() : state.mouseInfoItem().sn(), localized("软件版本："), appVersion, localized("固件版本："),
        disabled ? QString() : state.mouseInfoItem().firmwareVersion(), state.productCode()));
    m_tipLabel->setText(localized("版本说明") + QLatin1Char('V') + appVersion);
    QString features = localized(kFeatureList);
    features.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    m_instructionTextView->setString(features);
    measureFeatures();
    m_updateBtn->setTitle(idleTitle(kMouse));
    m_updateDongleBtn->setTitle(idleTitle(kReceiver));
    m_updateTipLabel->setText(localized("升级后如果连接不上请重新配对"));
    m_updateBtn->hide();
    m_updateDongleBtn->hide();
    m_updateTipLabel->hide();
    // The firmware manager announces only new downloads, and the device connects (and
    // its image arrives) long before the software tab is first opened: a stored image
    // is offered whenever the row is built or re-titled, not only on the announcement.
    // Not while a transfer started here runs: the device's report hides the buttons.
    if (!m_isUpdating && (m_context.firmware.needUpdate() || m_context.firmware.needUpdateDongle()))
        showUpdateBtnStatus();
    layoutSubviews();
}

void AboutMouseView::showUpdateBtnStatus()
{
    m_updateBtn->show();
    m_updateDongleBtn->show();
}

void AboutMouseView::updateBtnClicked(QXButton *sender)
{
    const int target = sender == m_updateBtn ? kMouse : kReceiver;
    IFirmwareUpdates &firmware = m_context.firmware;
    const bool hasImage = target == kMouse
                              ? (firmware.needUpdate() || m_context.state.mouseInfoItem().deviceType() == 4)
                              : firmware.needUpdateDongle();
    if (!hasImage) {
        m_context.tips.showTipMessage(localized("当前是最新版本"), QStringLiteral("info_icon"));
        return;
    }
    if (m_isUpdating) {
        // The other button while a transfer runs: its target has no transfer to cancel.
        if (m_updateStatus != kNone && m_updateStatus != target)
            return;
        if (target == kMouse)
            firmware.sendCancelOTAData();
        else
            firmware.sendCancelOTADongleData();
        sender->setTitle(idleTitle(target));
        m_isUpdating = false;
        return;
    }
    if (target == kMouse)
        firmware.sendStartOTAData();
    else
        firmware.sendStartOTADongleData();
    sender->setTitle(localized("取消升级"));
    m_updateStatus = target;
    m_isUpdating = true;
}

void AboutMouseView::updateOTAProgress(const QVariant &payload)
{
    const int progress = clampedProgress(payload);
    m_progress = progress;
    m_custompro->setPresent(progress);
    m_progressLabel->setText(QString::number(progress) + QLatin1Char('%'));
    m_custompro->show();
}

void AboutMouseView::clearProgress()
{
    m_progress = 0;
    m_custompro->setPresent(0);
    m_progressLabel->setText(QString());
    m_custompro->hide();
}

void AboutMouseView::updateOTASuccess()
{
    clearProgress();
    m_context.tips.showTipMessage(localized("升级成功"), QStringLiteral("success_icon"));
    m_context.state.setIsNeedUpLoadBurnerInfo(true);
    m_isUpdating = false;
    if (m_updateStatus == kMouse) {
        m_context.firmware.deleteOTAFile();
        m_updateBtn->setTitle(idleTitle(kMouse));
    } else if (m_updateStatus == kReceiver) {
        m_context.firmware.deleteDongleOTAFile();
        m_updateDongleBtn->setTitle(idleTitle(kReceiver));
    }
    m_updateStatus = kNone;
    showUpdateBtnStatus();
}

void AboutMouseView::updateOTAFail()
{
    clearProgress();
    m_context.tips.showTipMessage(localized("升级失败"), QStringLiteral("error_icon"));
}

void AboutMouseView::updateOTACancel()
{
    clearProgress();
    m_context.tips.showTipMessage(localized("升级取消"), QStringLiteral("info_icon"));
}

void AboutMouseView::measureFeatures()
{
    // The list wraps at the row's width less 100
    m_instructionTextView->setMaxWidth(width() > 100 ? width() - 100 : QXTextView::kDefaultMaxWidth);
    m_instructionTextView->setString(m_instructionTextView->string());
    m_viewHeight = int(std::ceil(m_instructionTextView->textH())) + 174 + 60;
}

void AboutMouseView::uploadBurnerInfo()
{
    auto scene = std::make_shared<QXUploadBurnerInfoScene>();
    scene->channel = QStringLiteral("QX");
    scene->firmwareVersion = m_context.state.mouseInfoItem().firmwareVersion();
    scene->softVersion = m_context.state.productCode();
    QPointer<AboutMouseView> self(this);
    m_context.api.httpRequestWithScene(scene, [self](bool success, const QJsonValue &, const QXNetError &) {
        if (self && success)
            self->m_context.state.setIsNeedUpLoadBurnerInfo(false);
    });
}

void AboutMouseView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        measureFeatures();
    layoutSubviews();
}

void AboutMouseView::layoutSubviews()
{
    const int w = width();
    m_titleLabel->setGeometry(0, 0, w, 27);
    m_versionLabel->setGeometry(0, 27 + 30, w, 17);
    m_tipLabel->setGeometry(0, 57 + 17 + 30, w, 27);
    const int textTop = 104 + 27 + 10;
    const int textHeight = int(std::ceil(m_instructionTextView->textH())) + 10;
    m_instructionTextView->setGeometry(0, textTop, std::max(0, w - 100), textHeight);
    const int buttonTop = textTop + textHeight + 20;
    // A button holds its idle and its cancel title alike, so it keeps its width while a
    // transfer runs; a long translation widens it and moves the bar along.
    const auto buttonWidth = [](const QXButton *button, int target) {
        return std::max({100, button->widthShowingWhole(idleTitle(target), kTitlePadding),
                         button->widthShowingWhole(localized("取消升级"), kTitlePadding)});
    };
    m_updateBtn->setGeometry(0, buttonTop, buttonWidth(m_updateBtn, kMouse), 30);
    m_updateDongleBtn->setGeometry(m_updateBtn->geometry().right() + 1 + 10, buttonTop,
                                   buttonWidth(m_updateDongleBtn, kReceiver), 30);
    const int barLeft = m_updateDongleBtn->geometry().right() + 1 + 10;
    m_custompro->setGeometry(barLeft, buttonTop, std::max(0, w - 60 - barLeft), 30);
    m_custompro->setPresent(m_progress); // the filled part follows the bar's width
    m_progressLabel->setGeometry(m_custompro->geometry().right() + 6, buttonTop, 55, 30);
    m_updateTipLabel->setGeometry(0, buttonTop + 35, w, 20);
}

void AboutMouseView::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void AboutMouseView::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void AboutMouseView::dropEvent(QDropEvent *event)
{
    // Dropped files are taken and left alone; anything else is refused.
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}
