#include "SmartDetectionViewController.h"

#include "HRVLocalizedString.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PagePorts.h"
#include "QXUserInfoData.h"
#include "TPRDelayInvocation.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "drawing/TextFit.h"
#include "popup/VoiceArtwork.h"
#include "scenes/QXCheckNetWorkScene.h"
#include "scenes/QXGetAppKeyScene.h"
#include "views/LayerMark.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPointer>
#include <QScrollArea>

#include <algorithm>
#include <cmath>

namespace {
const QColor kTextColor(38, 12, 12);
const QColor kBarColor(241, 244, 248);
const QColor kButtonColor(12, 165, 192);
constexpr int kTopMargin = 50;
constexpr int kBarTop = 20;
constexpr int kBarHeight = 58;
constexpr int kLeft = 36;
constexpr int kStatusWidth = 470;
constexpr int kMinStatusWidth = 240;
constexpr int kLabelPadding = 2; // the kit's labels keep it on either side of their text
constexpr QSize kButtonSize(85, 31);
constexpr int kTitlePadding = 6; // between a bar button's title and its rounded ends
constexpr QSize kNodeSize(64, 64);
constexpr QSize kLine1Size(52, 8);
constexpr QSize kSlopeSize(60, 40);
constexpr int kLabelHeight = 22;

constexpr const char kSoundText[] = "当前设备和环境一切正常,请放心使用,如有问题请联系客服";
constexpr const char kFailedText[] = "当前设备和环境异常,如有问题请联系客服";

enum Node { kMouse, kComputer, kInternet, kServer };
constexpr const char *kNodeImages[] = {"5_mouse_icon", "5_client", "5_network_out_icon", "5_network_in_icon"};
constexpr const char *kNodeTitles[] = {"鼠标", "电脑", "公网", "Quorvex"};

QString localized(const char *key)
{
    return hrvAppLocalizedString(QString::fromUtf8(key));
}

QXLabel *textLabel(QWidget *parent, qreal size)
{
    auto *label = new QXLabel(parent);
    label->setFont(qxSystemFont(size));
    label->setTextColor(kTextColor);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QXButton *barButton(QWidget *parent)
{
    auto *button = new QXButton(parent);
    button->setLayerBackgroundColor(kButtonColor);
    button->setLayerCornerRadius(4);
    button->setTitleColor(Qt::white);
    button->setFont(qxSystemFont(14));
    button->resize(kButtonSize);
    return button;
}
} // namespace

SmartDetectionViewController::SmartDetectionViewController(const PageContext &context) : m_context(context)
{
    registerVoiceArtwork();
}

QWidget *SmartDetectionViewController::loadView()
{
    return qxWhitePage(QStringLiteral("smartDetectionPage"));
}

// The page is loaded at launch, which runs its checks; its widgets, images and fonts
// wait until it is first shown, and then draw what the checks found so far.
void SmartDetectionViewController::viewDidLoad()
{
    QXBaseViewController::viewDidLoad();
    configData();
    view()->installEventFilter(this);
}

bool SmartDetectionViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != view())
        return false;
    if (event->type() == QEvent::Show && !m_contentView) {
        configUI();
        drawTitles();
        // Made while its page is being shown: a child made then must be shown itself.
        m_scrollView->show();
    } else if (event->type() == QEvent::Resize && m_contentView) {
        layoutViews();
    }
    return false;
}

void SmartDetectionViewController::configUI()
{
    if (m_contentView)
        return;
    m_scrollView = new QScrollArea(view());
    m_scrollView->setFrameShape(QFrame::NoFrame);
    m_scrollView->setWidgetResizable(false);
    m_scrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_contentView = new QWidget;
    m_contentView->setObjectName(QStringLiteral("selfTestContent"));
    m_scrollView->setWidget(m_contentView);

    m_topView = new QWidget(m_contentView);
    qxFillBackground(m_topView, kBarColor);
    m_statusLabel = textLabel(m_topView, 16);
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_statusLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_detectionBtn = barButton(m_topView);
    m_detectionBtn->setObjectName(QStringLiteral("detectionButton"));
    connect(m_detectionBtn, &QXButton::clicked, this, [this] { detectionBtnClicked(); });
    m_repairBtn = barButton(m_topView);
    m_repairBtn->setObjectName(QStringLiteral("repairButton"));
    connect(m_repairBtn, &QXButton::clicked, this, [this] { repairBtnClicked(); });

    m_functionLabel1 = textLabel(m_contentView, 20);
    for (int node = 0; node < 4; ++node) {
        auto *image = new QLabel(m_contentView);
        image->setScaledContents(true);
        image->setPixmap(namedPixmap(QString::fromLatin1(kNodeImages[node])));
        image->resize(kNodeSize);
        m_nodeImages[node] = image;
        m_nodeLabels[node] = textLabel(m_contentView, 16);
        m_nodeLabels[node]->setAlignment(Qt::AlignCenter);
    }
    for (int line = 1; line <= 3; ++line) {
        auto *image = new QLabel(m_contentView);
        image->setObjectName(QStringLiteral("lineImageView%1").arg(line));
        image->setScaledContents(true);
        image->resize(line == 1 ? kLine1Size : kSlopeSize);
        m_lineImageViews[line - 1] = image;
        qxMarkLayer(image); // a connecting line, drawn under the captions it passes
        drawLine(line);
    }
    layoutViews();
}

void SmartDetectionViewController::layoutViews()
{
    QWidget *page = view();
    m_scrollView->setGeometry(0, kTopMargin, page->width(), std::max(0, page->height() - kTopMargin));

    m_topView->setGeometry(0, kBarTop, std::max(page->width(), 800), kBarHeight);
    const int buttonTop = (kBarHeight - kButtonSize.height()) / 2;
    // The bar has room to the right: a longer translation widens its button.
    for (QXButton *button : {m_detectionBtn, m_repairBtn})
        button->resize(std::max(kButtonSize.width(), button->widthShowingWhole(button->title(), kTitlePadding)),
                       kButtonSize.height());
    // The verdict's room holds the longer of its two texts, so the buttons stay put when it
    // changes; never so wide that the buttons leave the page (a long verdict wraps instead).
    const QFontMetricsF metrics(qxSystemFont(16));
    const int widest = int(std::ceil(std::max(metrics.horizontalAdvance(localized(kSoundText)),
                                              metrics.horizontalAdvance(localized(kFailedText)))))
                       + 2 * kLabelPadding;
    const int buttonsWidth = 36 + m_detectionBtn->width() + 29 + m_repairBtn->width() + kLeft;
    const int room = std::max(kMinStatusWidth, page->width() - kLeft - buttonsWidth);
    m_statusLabel->setGeometry(kLeft, 0, std::min(std::max(kStatusWidth, widest), room), kBarHeight);
    fitStatus();
    m_detectionBtn->move(m_statusLabel->geometry().right() + 1 + 36, buttonTop);
    m_repairBtn->move(m_detectionBtn->geometry().right() + 1 + 29, buttonTop);
    m_topView->resize(std::max(m_topView->width(), m_repairBtn->geometry().right() + 1 + kLeft), kBarHeight);

    const int numberTop = kBarTop + kBarHeight + 30;
    m_functionLabel1->setGeometry(kLeft, numberTop, 40, 27);
    const int numberBottom = numberTop + 27;
    const int w = kNodeSize.width();
    const QPoint origins[4] = {
        {92, numberBottom + 46},
        {92 + w + 82, numberBottom + 46},
        {92 + w + 82 + w + 88, numberBottom + 5},
        {92 + w + 82 + w + 88, numberBottom + 5 + kNodeSize.height() + 76},
    };
    for (int node = 0; node < 4; ++node) {
        m_nodeImages[node]->move(origins[node]);
        const int labelTop = origins[node].y() + kNodeSize.height() + 4 + (node == kComputer ? 5 : 0);
        m_nodeLabels[node]->setGeometry(origins[node].x() + w / 2 - 60, labelTop, 120, kLabelHeight);
    }
    const QRect computer(origins[kComputer], kNodeSize);
    m_lineImageViews[0]->move(computer.left() - 15 - kLine1Size.width(),
                              computer.center().y() - kLine1Size.height() / 2);
    // Line 2 rises from the computer's top towards the internet, line 3 falls from its
    // bottom towards the server.
    m_lineImageViews[1]->move(computer.right() + 1 + 26, computer.top() - kSlopeSize.height());
    m_lineImageViews[2]->move(computer.right() + 1 + 26, computer.bottom() + 1);

    const int contentBottom = m_nodeLabels[kServer]->geometry().bottom() + 40;
    m_contentView->resize(std::max(page->width(), m_topView->width()), std::max(m_scrollView->height(), contentBottom));
}

void SmartDetectionViewController::showStatus(const QString &text)
{
    m_statusLabel->setText(text);
    fitStatus();
}

// One line when the verdict fits its room, else wrapped over the bar's height.
void SmartDetectionViewController::fitStatus()
{
    const QFont font = qxSystemFont(16);
    const QString text = m_statusLabel->text();
    const qreal room = m_statusLabel->width() - 2 * kLabelPadding;
    const bool oneLine = QFontMetricsF(font).horizontalAdvance(text) <= room;
    m_statusLabel->setWordWrap(!oneLine);
    m_statusLabel->setFont(oneLine ? font : textfit::fittedWrapped(font, text, QSizeF(room, kBarHeight)));
}

void SmartDetectionViewController::configTitle()
{
    // As it always has: a new title (the language) writes the sound verdict.
    m_showsFailure = false;
    drawTitles();
}

void SmartDetectionViewController::drawTitles()
{
    if (!m_contentView)
        return;
    m_statusLabel->setText(localized(m_showsFailure ? kFailedText : kSoundText));
    m_detectionBtn->setTitle(localized("一键检测"));
    m_repairBtn->setTitle(localized("重置驱动"));
    m_functionLabel1->setText(QStringLiteral("1."));
    for (int node = 0; node < 4; ++node)
        m_nodeLabels[node]->setText(localized(kNodeTitles[node]));
    layoutViews();
}

void SmartDetectionViewController::configData()
{
    for (const char *name :
         {qx::notify::kUSBInsertNotification, qx::notify::kUSBRemoveNotification, qx::notify::HadUSBInfoNotification})
        m_context.notifications.addObserver(QString::fromLatin1(name), this,
                                            [this](const QVariant &) { showMouseStatus(); });
    showMouseStatus();
    checkNetWork();
}

QString SmartDetectionViewController::lineImageName(int line) const
{
    if (line < 1 || line > 3)
        return {};
    return m_lineSound[line - 1] ? QStringLiteral("5_line%1_icon").arg(line)
                                 : QStringLiteral("5_line%1_error_icon").arg(line);
}

void SmartDetectionViewController::setLine(int line, bool sound)
{
    m_lineSound[line - 1] = sound;
    if (m_contentView)
        drawLine(line);
}

void SmartDetectionViewController::drawLine(int line)
{
    const QString name = lineImageName(line);
    QLabel *view = m_lineImageViews[line - 1];
    if (view->property("imageName").toString() == name)
        return;
    view->setPixmap(namedPixmap(name));
    view->setProperty("imageName", name);
}

void SmartDetectionViewController::setFailed()
{
    m_showsFailure = true;
    if (m_statusLabel)
        showStatus(localized(kFailedText));
}

void SmartDetectionViewController::detectionBtnClicked()
{
    m_showsFailure = false;
    if (m_statusLabel)
        showStatus(localized(kSoundText));
    showMouseStatus();
    checkNetWork();
}

void SmartDetectionViewController::repairBtnClicked()
{
    m_context.receiver.openHIDDevice();
    QPointer<SmartDetectionViewController> self(this);
    TPRDelayInvocationLeading(
        GroupKey::shared(QStringLiteral("selftest.repair")),
        [self] {
            if (self)
                self->detectionBtnClicked();
        },
        kRepairIntervalSeconds);
}

void SmartDetectionViewController::showMouseStatus()
{
    if (m_context.state.isConnect()) {
        setLine(1, true);
        return;
    }
    setFailed();
    setLine(1, false);
}

void SmartDetectionViewController::checkNetWork()
{
    const auto probe = [this](std::shared_ptr<QXNetBaseScene> scene, int line) {
        scene->setMyParameters({});
        QPointer<SmartDetectionViewController> self(this);
        m_context.api.httpRequestWithScene(std::move(scene),
                                           [self, line](bool success, const QJsonValue &, const QXNetError &) {
                                               // An answer that comes after the page has gone finds nothing to draw.
                                               if (!self)
                                                   return;
                                               self->setLine(line, success);
                                               if (!success)
                                                   self->setFailed();
                                           });
    };
    probe(std::make_shared<QXCheckNetWorkScene>(), 2);
    probe(std::make_shared<QXGetAppKeyScene>(), 3);
}
