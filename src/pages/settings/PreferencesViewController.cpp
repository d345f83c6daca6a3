#include "PreferencesViewController.h"

#include "HRVLocalizedString.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "QXMouseInfoItem.h"
#include "QXUserInfoData.h"
#include "TPRDelayInvocation.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXSliderCell.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "popup/VoiceArtwork.h"
#include "services/IMouseCommands.h"
#include "views/LayerMark.h"

#include <QEvent>
#include <QPointer>
#include <QScrollArea>
#include <QSignalBlocker>

#include <algorithm>
#include <limits>

namespace {
const QColor kTextColor(38, 12, 12);
const QColor kGrey(112, 112, 112);
const QColor kBarColor(212, 212, 212);
const QColor kLeftColor(0, 175, 204);
const QColor kKnobColor(190, 195, 68);

constexpr int kTopMargin = 50;
constexpr int kModeTop = 20;
constexpr int kRowGap = 64;
constexpr int kTitleHeight = 24;
constexpr int kButtonGap = 27;
constexpr QSize kButtonSize(80, 24);
constexpr int kButtonStep = 100;
constexpr QSize kSliderSize(230, 30);
constexpr int kSmallHeight = 17;
constexpr int kColorViewGap = 47;
constexpr int kSwatchSize = 24;

constexpr const char *kModeTitles[] = {"关闭", "常亮", "呼吸", "跑马灯"};
constexpr int kMarqueeMode = 3;
constexpr quint64 kThreeModeMouse = 56;

// The swatches in colour-code order; the last (multicolour) is white under its image.
const QColor kSwatchColours[PreferencesViewController::kSwatchCount] = {
    {255, 0, 0},   {0, 255, 0},   {0, 0, 255},     {255, 255, 0},
    {0, 255, 255}, {255, 0, 255}, {255, 255, 255}, {255, 255, 255},
};

QString localized(const char *key)
{
    return hrvAppLocalizedString(QString::fromUtf8(key));
}

// The image a radio-style button shows, kept as its "imageName" for tests and scenes.
void setImageNamed(QXButton *button, const QString &name)
{
    if (button->property("imageName").toString() == name)
        return;
    button->setImage(namedPixmap(name));
    button->setProperty("imageName", name);
}

void setRadio(QXButton *button, bool selected)
{
    setImageNamed(button, selected ? QStringLiteral("6_radio_sel") : QStringLiteral("6_radio_nor"));
}

// The device's values are one byte; anything else is clamped by the slider without
// wrapping through int on the way.
int toSliderValue(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool hasSpeed(qint64 mode)
{
    return mode == 2 || mode == 3;
}

int titleRight(const QXLabel *title)
{
    return title->x() + title->width();
}

// A row of choices right of its title: each as wide as its caption needs (never
// narrower than the Chinese row's), the same gap between them. Returns the row's right edge.
int placeChoices(const QList<QXButton *> &choices, const QXLabel *title)
{
    int left = titleRight(title) + kButtonGap;
    int right = left;
    for (QXButton *choice : choices) {
        choice->setGeometry(left, title->y(), std::max(kButtonSize.width(), choice->widthShowingWhole(choice->title())),
                            kButtonSize.height());
        right = left + choice->width();
        left = right + kButtonStep - kButtonSize.width();
    }
    return right;
}
} // namespace

PreferencesViewController::PreferencesViewController(const PageContext &context) : m_context(context)
{
    registerVoiceArtwork();
}

QWidget *PreferencesViewController::loadView()
{
    return qxWhitePage(QStringLiteral("preferencesPage"));
}

void PreferencesViewController::viewDidLoad()
{
    QXBaseViewController::viewDidLoad();
    configUI();
    configTitle();
    configData();
    view()->installEventFilter(this);
}

bool PreferencesViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::Resize && m_contentView)
        layoutRows();
    return false;
}

QXLabel *PreferencesViewController::rowTitle(int top)
{
    auto *label = new QXLabel(m_contentView);
    label->setFont(qxSystemFont(16));
    label->setTextColor(kTextColor);
    label->setTextFormat(Qt::PlainText);
    label->move(kTitleLeft, top);
    return label;
}

QXLabel *PreferencesViewController::smallLabel(Qt::Alignment alignment)
{
    auto *label = new QXLabel(m_contentView);
    label->setFont(qxSystemFont(12));
    label->setTextColor(kGrey);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

QXButton *PreferencesViewController::radioButton(int tag)
{
    auto *button = new QXButton(m_contentView);
    button->setTag(tag);
    button->setFont(qxSystemFont(14));
    button->setTitleColor(kTextColor);
    button->resize(kButtonSize);
    setRadio(button, false);
    return button;
}

QXSliderCell *PreferencesViewController::slider(int minimum, int maximum)
{
    auto *s = new QXSliderCell(Qt::Horizontal, m_contentView);
    s->setRange(minimum, maximum);
    s->resize(kSliderSize);
    s->setTracking(true);
    connect(s, &QSlider::valueChanged, this, [this, s] { sliderClick(s); });
    return s;
}

void PreferencesViewController::configUI()
{
    m_scrollView = new QScrollArea(view());
    m_scrollView->setFrameShape(QFrame::NoFrame);
    m_scrollView->setWidgetResizable(false);
    m_scrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_contentView = new QWidget;
    m_contentView->setObjectName(QStringLiteral("lightingContent"));
    m_scrollView->setWidget(m_contentView);

    m_modeLabel = rowTitle(kModeTop);
    for (int mode = 0; mode < int(std::size(kModeTitles)); ++mode) {
        QXButton *button = radioButton(mode);
        button->setObjectName(QStringLiteral("modeButton%1").arg(mode));
        connect(button, &QXButton::clicked, this, [this, button] { changeLightingEffectsMode(button); });
        m_modeBtnArr << button;
    }

    const int speedTop = kModeTop + kTitleHeight + kRowGap;
    m_speedLabel = rowTitle(speedTop);
    m_sliderSpeed = slider(1, 5);
    m_sliderSpeed->setObjectName(QStringLiteral("sliderSpeed"));
    m_speedValueLabel = smallLabel(Qt::AlignLeft);
    m_speedLowLabel = smallLabel(Qt::AlignLeft);
    m_speedHeightLabel = smallLabel(Qt::AlignRight);

    const int brightnessTop = speedTop + kTitleHeight + kRowGap;
    m_brightnessLabel = rowTitle(brightnessTop);
    m_sliderBrightness = slider(1, 100);
    m_sliderBrightness->setObjectName(QStringLiteral("sliderBrightness"));
    m_brightnessValueLabel = smallLabel(Qt::AlignLeft);
    m_brightnessLowLabel = smallLabel(Qt::AlignLeft);
    m_brightnessHeightLabel = smallLabel(Qt::AlignRight);

    m_colorLabel = rowTitle(brightnessTop + kTitleHeight + kRowGap);
    m_colorView = new QWidget(m_contentView);
    for (int code = 1; code <= kSwatchCount; ++code) {
        auto *swatch = new QXButton(m_colorView);
        swatch->setObjectName(QStringLiteral("swatch%1").arg(code));
        swatch->setTag(code);
        swatch->setGeometry(kSwatchStep * (code - 1), 0, kSwatchSize, kSwatchSize);
        swatch->setLayerBackgroundColor(kSwatchColours[code - 1]);
        swatch->setLayerCornerRadius(2);
        swatch->setLayerBorder(kGrey, 0.5);
        if (code == kMultiColour)
            setImageNamed(swatch, QStringLiteral("7_colorful_icon"));
        connect(swatch, &QXButton::clicked, this, [this, swatch] { configLightingEffectsColor(swatch); });
        m_colorBtnArr << swatch;
    }
    m_currentImageView = new QLabel(m_colorView);
    m_currentImageView->setObjectName(QStringLiteral("currentImageView"));
    m_currentImageView->setPixmap(namedPixmap(QStringLiteral("selected_color")));
    m_currentImageView->setAlignment(Qt::AlignCenter);
    m_currentImageView->setAttribute(Qt::WA_TransparentForMouseEvents);
    qxMarkLayer(m_currentImageView); // the tick over the chosen swatch
    m_currentImageView->setStyleSheet(QStringLiteral("background: rgba(0, 0, 0, 51); border-radius: 2px;"));
    m_currentImageView->resize(kSwatchSize, kSwatchSize);

    m_useBehaviorLabel = rowTitle(0); // placed under the colour row by layoutRows
    m_leftBehaviorBtn = radioButton(0);
    m_leftBehaviorBtn->setObjectName(QStringLiteral("leftBehaviorButton"));
    m_rightBehaviorBtn = radioButton(1);
    m_rightBehaviorBtn->setObjectName(QStringLiteral("rightBehaviorButton"));
    for (QXButton *hand : {m_leftBehaviorBtn, m_rightBehaviorBtn})
        connect(hand, &QXButton::clicked, this, [this, hand] { changeUseBehavior(hand); });
}

void PreferencesViewController::configTitle()
{
    if (!m_contentView)
        return;
    m_modeLabel->setText(localized("模式选择"));
    m_speedLabel->setText(localized("速度等级"));
    m_brightnessLabel->setText(localized("亮度调节"));
    m_colorLabel->setText(localized("颜色选择"));
    m_useBehaviorLabel->setText(localized("使用习惯"));
    m_speedLowLabel->setText(localized("低"));
    m_speedHeightLabel->setText(localized("高"));
    m_brightnessLowLabel->setText(localized("暗"));
    m_brightnessHeightLabel->setText(localized("亮"));
    for (int mode = 0; mode < m_modeBtnArr.size(); ++mode)
        m_modeBtnArr[mode]->setTitle(localized(kModeTitles[mode]));
    m_leftBehaviorBtn->setTitle(localized("左手"));
    m_rightBehaviorBtn->setTitle(localized("右手"));
    layoutRows();
    updateLightingEffectsNotification();
}

void PreferencesViewController::configData()
{
    for (const char *name :
         {qx::notify::kUpdateLightingEffectsNotification, qx::notify::kUpdateMouseLeftOrRightHandBehaviorNotification})
        m_context.notifications.addObserver(QString::fromLatin1(name), this,
                                            [this](const QVariant &) { updateLightingEffectsNotification(); });
}

// The titles are as wide as their text, and the controls of a row stand right of it.
void PreferencesViewController::layoutRows()
{
    for (QXLabel *title : {m_modeLabel, m_speedLabel, m_brightnessLabel, m_colorLabel, m_useBehaviorLabel})
        title->resize(title->sizeHint().width(), kTitleHeight);
    const int modesRight = placeChoices(m_modeBtnArr, m_modeLabel);

    // Both sliders start right of the longer of their titles (one length in Chinese, not
    // in every translation).
    const int sliderLeft = std::max(titleRight(m_speedLabel), titleRight(m_brightnessLabel)) + kButtonGap;
    const int endWidth = kSliderSize.width() / 2;
    const struct {
        QXLabel *title;
        QXSliderCell *slider;
        QXLabel *value, *low, *high;
    } rows[] = {
        {m_speedLabel, m_sliderSpeed, m_speedValueLabel, m_speedLowLabel, m_speedHeightLabel},
        {m_brightnessLabel, m_sliderBrightness, m_brightnessValueLabel, m_brightnessLowLabel, m_brightnessHeightLabel}};
    for (const auto &row : rows) {
        const int top = row.title->y() + (kTitleHeight - kSliderSize.height()) / 2;
        row.slider->move(sliderLeft, top);
        row.value->setGeometry(sliderLeft + kSliderSize.width() + 10, top + (kSliderSize.height() - kSmallHeight) / 2,
                               40, kSmallHeight);
        row.low->setGeometry(sliderLeft, top + kSliderSize.height(), endWidth, kSmallHeight);
        row.high->setGeometry(sliderLeft + kSliderSize.width() - endWidth, top + kSliderSize.height(), endWidth,
                              kSmallHeight);
    }

    const int colorTop = m_colorLabel->y() + kTitleHeight + kColorViewGap;
    m_colorView->setGeometry(kTitleLeft, colorTop, kSwatchStep * kSwatchCount, kSwatchSize);
    m_useBehaviorLabel->move(kTitleLeft, colorTop + kSwatchSize + kRowGap);
    const int handsRight = placeChoices({m_leftBehaviorBtn, m_rightBehaviorBtn}, m_useBehaviorLabel);

    QWidget *page = view();
    m_scrollView->setGeometry(0, kTopMargin, page->width(), std::max(0, page->height() - kTopMargin));
    const int contentBottom = m_useBehaviorLabel->y() + kTitleHeight + 40;
    m_contentView->resize(std::max(page->width(), std::max(modesRight, handsRight) + 20),
                          std::max(m_scrollView->height(), contentBottom));
}

int PreferencesViewController::markerOffset(qint64 colour)
{
    constexpr qint64 kLimit = std::numeric_limits<int>::max() / kSwatchStep;
    return int((std::clamp<qint64>(colour, 1 - kLimit, kLimit) - 1) * kSwatchStep);
}

void PreferencesViewController::updateLightingEffectsNotification()
{
    if (!m_contentView)
        return;
    const QXMouseInfoItem &device = m_context.state.mouseInfoItem();
    const qint64 mode = device.lightingEffectsMode();

    marqueeBtn()->setHidden(device.mouseType() == kThreeModeMouse);
    for (int i = 0; i < m_modeBtnArr.size(); ++i)
        setRadio(m_modeBtnArr[i], i == mode);

    // Set by the page, not moved by the user: nothing goes to the device.
    {
        const QSignalBlocker blockBrightness(m_sliderBrightness);
        const QSignalBlocker blockSpeed(m_sliderSpeed);
        m_sliderBrightness->setValue(toSliderValue(device.lightingEffectsBrightness()));
        m_sliderSpeed->setValue(toSliderValue(device.lightingEffectsSpeed()));
    }
    m_brightnessValueLabel->setText(QString::number(m_sliderBrightness->value()));
    m_speedValueLabel->setText(QString::number(m_sliderSpeed->value()));

    m_currentImageView->move(markerOffset(device.lightingEffectsColor()), 0);
    m_currentImageView->raise();

    const bool speed = hasSpeed(mode);
    m_sliderSpeed->setEnabled(speed);
    m_sliderSpeed->setSliderProgressColor(speed ? kBarColor : kGrey);
    m_sliderSpeed->setSliderBackgroundColor(speed ? kLeftColor : kGrey);
    m_sliderSpeed->setSliderKnobColor(speed ? kKnobColor : kGrey);
    colorfulImageView()->setVisible(speed);

    const bool left = device.mouseLeftOrRightHandBehavior() == 1;
    setRadio(m_leftBehaviorBtn, left);
    setRadio(m_rightBehaviorBtn, !left);
}

void PreferencesViewController::changeLightingEffectsMode(QXButton *sender)
{
    m_context.device.sendSetLightingEffectsModeData(sender->tag());
}

void PreferencesViewController::configLightingEffectsColor(QXButton *sender)
{
    if (sender->tag() != m_context.state.mouseInfoItem().lightingEffectsColor())
        m_context.device.sendSetLightingEffectsColorData(sender->tag());
}

void PreferencesViewController::changeUseBehavior(QXButton *sender)
{
    m_context.device.sendSetMouseLeftOrRightHandBehaviorData(sender == m_leftBehaviorBtn ? 1 : 0);
}

void PreferencesViewController::sliderClick(QXSliderCell *sender)
{
    const QXMouseInfoItem &device = m_context.state.mouseInfoItem();
    const int value = sender->value();
    QXLabel *label = nullptr;
    if (sender == m_sliderBrightness) {
        if (value == device.lightingEffectsBrightness())
            return;
        label = m_brightnessValueLabel;
    } else if (sender == m_sliderSpeed) {
        if (value == device.lightingEffectsSpeed())
            return;
        label = m_speedValueLabel;
    } else {
        return;
    }
    sendLater(sender, value);
    label->setText(QString::number(value));
}

// Each slider has its own pending send: while the user drags, only the value the
// slider rests at for half a second reaches the device.
void PreferencesViewController::sendLater(QXSliderCell *slider, qint64 value)
{
    const bool brightness = slider == m_sliderBrightness;
    QPointer<PreferencesViewController> self(this);
    TPRDelayInvocationTrailing(
        GroupKey::shared(brightness ? QStringLiteral("lighting.brightness") : QStringLiteral("lighting.speed")),
        [self, brightness, value] {
            if (!self)
                return;
            IMouseCommands &device = self->m_context.device;
            if (brightness)
                device.sendSetLightingEffectsBrightnessData(value);
            else
                device.sendSetLightingEffectsSpeedData(value);
        },
        kSliderDelaySeconds);
}
