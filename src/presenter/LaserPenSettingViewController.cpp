#include "LaserPenSettingViewController.h"

#include "HRVLocalizedString.h"
#include "LaserPenPreviewView.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "QXLaserPenManager.h"
#include "QXUserInfoData.h"
#include "controls/OnlyIntegerValueFormatter.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXSliderCell.h"
#include "controls/QXTextField.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "services/IPopupTips.h"

#include <QColorDialog>
#include <QEvent>
#include <QPixmap>
#include <QScopedValueRollback>

#include <algorithm>
#include <array>
#include <limits>

namespace {

const QColor kTextColor(38, 12, 12);
const char *const kSwitchOn = "2_switch_on_icon";
const char *const kSwitchOff = "2_switch_off_icon";
const char *const kRadioSel = "6_radio_sel";
const char *const kRadioNor = "6_radio_nor";
constexpr QPoint kPictureAt{20, 80};
constexpr int kRowHeight = 30;

constexpr std::array<const char *, 4> kFunctionTitles{"突出显示", "数码光点", "放大镜", "画笔"};
constexpr std::array<const char *, 3> kTimeTitles{"15分钟", "30分钟", "60分钟"};
constexpr std::array<const char *, 4> kVoiceTitles{"麦克风", "语音打字", "语音翻译", "语音搜索"};
struct VoiceTip {
    const char *text;
    const char *image;
};
constexpr std::array<VoiceTip, 4> kVoiceTips{{{"切换到麦克风模式", "laserPen_icon-6"},
                                              {"切换到打字模式", "laserPen_icon-6"},
                                              {"切换到翻译模式", "laserPen_icon-7"},
                                              {"切换到搜索模式", "laserPen_icon-8"}}};

// The size slider of each previewed function: range and the setting it shows.
struct SizeRange {
    double min, max;
};
constexpr std::array<SizeRange, 4> kSizeRanges{{{200, 600}, {20, 100}, {200, 600}, {1, 40}}};

QString localized(const char *text)
{
    return hrvAppLocalizedString(QString::fromUtf8(text));
}

void setImageNamed(QXButton *button, const char *name)
{
    button->setProperty("qxImageName", QString::fromLatin1(name));
    button->setImage(QPixmap::fromImage(namedImage(QString::fromLatin1(name))));
}

QXButton *imageButton(QWidget *parent, const char *image, QSize size)
{
    auto *b = new QXButton(parent);
    b->resize(size);
    setImageNamed(b, image);
    return b;
}

QXLabel *label(QWidget *parent, int pixelSize)
{
    auto *l = new QXLabel(parent);
    l->setFont(qxSystemFont(pixelSize));
    l->setTextColor(kTextColor);
    return l;
}

} // namespace

LaserPenSettingViewController::LaserPenSettingViewController(Deps deps) : m_d(deps)
{
    Q_ASSERT(m_d.manager && m_d.state && m_d.notifications && m_d.tips);
}

LaserPenSettingViewController::~LaserPenSettingViewController()
{
    delete m_colorPanel.data();
}

QString LaserPenSettingViewController::imageName(const QXButton *button)
{
    return button->property("qxImageName").toString();
}

void LaserPenSettingViewController::viewDidLoad()
{
    QXBaseViewController::viewDidLoad();
    configUI();
    configTitle();
    configData();
}

bool LaserPenSettingViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::Resize)
        layoutRight();
    return QXBaseViewController::eventFilter(watched, event);
}

// --- building ---------------------------------------------------------------------------

QWidget *LaserPenSettingViewController::makeRow(const char *icon, QWidget *control)
{
    auto *row = new QWidget(m_bar);
    row->resize(LaserPenPreviewView::kSize.width(), kRowHeight);
    auto *image = new QXLabel(row);
    image->setPixmap(QPixmap::fromImage(namedImage(QString::fromLatin1(icon))));
    image->setGeometry(15, (kRowHeight - 18) / 2 + 2, 18, 18);
    control->setParent(row);
    const int left = 15 + 18 + 10;
    const int height = qobject_cast<QXSliderCell *>(control) ? 23 : 20;
    const int drop = qobject_cast<QXSliderCell *>(control) ? 2 : 0;
    control->setGeometry(left, (kRowHeight - height) / 2 + drop, row->width() - 15 - left, height);
    return row;
}

void LaserPenSettingViewController::configUI()
{
    QWidget *page = view();
    page->installEventFilter(this);

    // The preview: picture, figure and the bar of its settings.
    m_preview = new LaserPenPreviewView(page);
    m_preview->move(kPictureAt);
    m_bar = new QWidget(m_preview);
    m_bar->setAttribute(Qt::WA_StyledBackground);
    m_bar->setStyleSheet(QStringLiteral("background-color: rgba(51, 51, 51, 204);"));
    m_bar->setGeometry(0, m_preview->height() - 60, m_preview->width(), 60);
    m_brightness = new QXSliderCell(Qt::Horizontal);
    m_brightnessRow = makeRow("laserPen_brightness_icon", m_brightness);
    m_zoom = new QXSliderCell(Qt::Horizontal);
    m_zoomRow = makeRow("laserPen_zoom_icon", m_zoom);
    m_swatch = new QXButton;
    m_swatch->setLayerCornerRadius(10);
    m_colorRow = makeRow("laserPen_color_icon", m_swatch);
    // Before any preview: brightness at the top, size and colour at the bottom.
    m_brightnessRow->move(0, 0);
    m_zoomRow->move(0, 60 - kRowHeight);
    m_colorRow->move(0, 60 - kRowHeight);
    connect(m_brightness, &QSlider::valueChanged, this, [this] {
        if (!m_updating)
            alphaSliderChangeValue();
    });
    connect(m_zoom, &QSlider::valueChanged, this, [this] {
        if (!m_updating)
            zoomInSliderChangeValue();
    });
    connect(m_swatch, &QXButton::clicked, this, [this] { showColorPanel(); });

    // The four functions: radio, label, switch.
    m_functionView = new QWidget(page);
    m_functionView->setGeometry(kPictureAt.x(), kPictureAt.y() + LaserPenPreviewView::kSize.height() + 20, 280, 220);
    for (int i = 0; i < 4; ++i) {
        QXButton *radio = imageButton(m_functionView, kRadioNor, {24, 24});
        radio->move(0, 44 * i);
        radio->setCheckable(true);
        QXButton *sw = imageButton(m_functionView, kSwitchOff, {39, 29});
        sw->move(m_functionView->width() - 39, 44 * i + 12 - 15);
        QXLabel *text = label(m_functionView, 14);
        text->setGeometry(24 + 25, 44 * i, sw->x() - 10 - 49, 24);
        radio->setTag(i);
        sw->setTag(i);
        connect(radio, &QXButton::clicked, this, [this, radio] { radioBtnClicked(radio); });
        connect(sw, &QXButton::clicked, this, [this, sw] { doSelectSwitch(sw); });
        m_functionRadios << radio;
        m_functionSwitches << sw;
        m_functionLabels << text;
    }

    // The countdown: switch, title, three lengths and a custom one.
    m_countDownSwitch = imageButton(page, kSwitchOff, {39, 29});
    connect(m_countDownSwitch, &QXButton::clicked, this, [this] { doSelectSwitch(m_countDownSwitch); });
    m_countDownLabel = label(page, 16);
    for (int i = 0; i < 4; ++i) {
        QXButton *radio = imageButton(page, kRadioNor, i < 3 ? QSize(80, 24) : QSize(24, 24));
        radio->setTag(i);
        if (i < 3) {
            radio->setFont(qxSystemFont(14));
            radio->setTitleColor(kTextColor);
        }
        connect(radio, &QXButton::clicked, this, [this, radio] { timeRadioBtnClicked(radio); });
        m_timeRadios << radio;
    }
    m_fieldBox = new QWidget(page);
    m_fieldBox->setAttribute(Qt::WA_StyledBackground);
    m_fieldBox->setObjectName(QStringLiteral("qxFieldBox"));
    m_fieldBox->setStyleSheet(
        QStringLiteral("#qxFieldBox { border: 1px solid rgba(0, 0, 0, 51); border-radius: 2px; }"));
    auto *field = new QXTextField(m_fieldBox);
    field->setFrame(false);
    field->setFont(qxSystemFont(14));
    field->setValidator(new OnlyIntegerValueFormatter(field));
    field->setGeometry(10, 1, 222 - 12, 24);
    m_customField = field;
    connect(field, &QLineEdit::textEdited, this, [this] { customMinutesEdited(); });
    connect(field, &QLineEdit::editingFinished, this, [this] { customMinutesEdited(); });

    // The voice key's function: four radios in two columns.
    m_voiceLabel = label(page, 16);
    const qint64 voice = m_d.state->laserPenVoiceFunctionIndex();
    for (int i = 0; i < 4; ++i) {
        QXButton *radio = imageButton(page, kRadioNor, {24, 24});
        radio->setTag(i);
        connect(radio, &QXButton::clicked, this, [this, radio] { voiceRadioBtnClicked(radio); });
        m_voiceRadios << radio;
        m_voiceLabels << label(page, 14);
    }
    if (voice >= 0 && voice < m_voiceRadios.size())
        voiceRadioBtnClicked(m_voiceRadios[int(voice)]);
    layoutRight();
}

// The sections right of the picture follow the page's width.
void LaserPenSettingViewController::layoutRight()
{
    if (!m_countDownSwitch)
        return;
    const int pictureRight = kPictureAt.x() + LaserPenPreviewView::kSize.width();
    const int left = pictureRight + 30;
    m_countDownSwitch->move(view()->width() - 100 - 39, kPictureAt.y());
    const int labelTop = kPictureAt.y() + (29 - 24) / 2;
    m_countDownLabel->setGeometry(left, labelTop, std::max(0, m_countDownSwitch->x() - 5 - left), 24);
    const int labelBottom = labelTop + 24;
    for (int i = 0; i < 3; ++i)
        m_timeRadios[i]->move(left + 120 * i, labelBottom + 25);
    m_timeRadios[3]->move(left, labelBottom + 64);
    m_fieldBox->setGeometry(left + 24 + 10, labelBottom + 64 - 1, 222, 26);
    const int voiceTop = labelBottom + 190;
    m_voiceLabel->setGeometry(left, voiceTop, m_voiceLabel->sizeHint().width(), 24);
    for (int i = 0; i < 4; ++i) {
        const QPoint at(left + 160 * (i % 2), voiceTop + 24 + 20 + 39 * (i / 2));
        m_voiceRadios[i]->move(at);
        // Up to the next column's radio button (120 would run 4 points under it).
        m_voiceLabels[i]->setGeometry(at.x() + 24 + 20, at.y(), 160 - 24 - 20 - 4, 24);
    }
}

void LaserPenSettingViewController::configTitle()
{
    for (int i = 0; i < 4; ++i)
        m_functionLabels[i]->setText(localized(kFunctionTitles[std::size_t(i)]));
    m_countDownLabel->setText(localized("倒计时和警告"));
    for (int i = 0; i < 3; ++i)
        m_timeRadios[i]->setTitle(localized(kTimeTitles[std::size_t(i)]));
    m_customField->setPlaceholderText(localized("自定义倒计时长"));
    m_voiceLabel->setText(localized("语音键功能"));
    for (int i = 0; i < 4; ++i)
        m_voiceLabels[i]->setText(localized(kVoiceTitles[std::size_t(i)]));
    layoutRight();
}

void LaserPenSettingViewController::configData()
{
    // Posted from any thread, the centre delivers it here on the main thread.
    m_d.notifications->addObserver(QString::fromLatin1(qx::notify::kLaserPenVoiceKeyDoubleClickedNSNotification), this,
                                   [this](const QVariant &) { modifyVoiceFunciton(); });
    QXLaserPenManager &m = *m_d.manager;
    const std::array<bool, 4> on{m.laserPenHighlightedSwitch(), m.laserPenDigitalLightSpotSwitch(),
                                 m.laserPenZoomInSwitch(), m.laserPenDrawSwitch()};
    for (int i = 0; i < 4; ++i) {
        setImageNamed(m_functionSwitches[i], on[std::size_t(i)] ? kSwitchOn : kSwitchOff);
        if (!on[std::size_t(i)]) {
            m_functionRadios[i]->setChecked(false);
            m_functionRadios[i]->setEnabled(false);
        }
    }
    setImageNamed(m_countDownSwitch, m.laserPenCountdownSwitch() ? kSwitchOn : kSwitchOff);
    const int time = m.warningTimeIndex();
    if (time >= 0 && time < m_timeRadios.size()) {
        timeRadioBtnClicked(m_timeRadios[time]);
        if (time == 3)
            m_customField->setText(QString::number(m.warningTime()));
    }
    // Nothing previewed yet: the sliders show the stored values, clamped to their ranges.
    setSlider(m_brightness, 0, 1, m.highlightedMaskAlpha());
    setSlider(m_zoom, 0, 1, m.zoomInPixel());
    // The page opens on a preview: the stored one, else the first function switched on,
    // shown but not stored (the choice is the user's). With every function off there is
    // nothing to preview and no bar.
    const int preview = m_previewIndex = m.previewIndex();
    const auto enabled = std::find_if(m_functionRadios.cbegin(), m_functionRadios.cend(),
                                      [](const QXButton *radio) { return radio->isEnabled(); });
    if (preview >= 1 && preview <= 4) {
        radioBtnClicked(m_functionRadios[preview - 1]);
    } else if (enabled != m_functionRadios.cend()) {
        const QScopedValueRollback<bool> shownOnly(m_showingOnly, true);
        radioBtnClicked(*enabled);
    } else {
        showPreview();
    }
}

// --- the functions and the preview --------------------------------------------------------

void LaserPenSettingViewController::radioBtnClicked(QXButton *sender)
{
    for (QXButton *radio : std::as_const(m_functionRadios)) {
        setImageNamed(radio, radio == sender ? kRadioSel : kRadioNor);
        radio->setChecked(radio == sender);
    }
    if (sender->isChecked()) {
        m_previewIndex = sender->tag() + 1;
        if (!m_showingOnly)
            m_d.manager->setPreviewIndex(m_previewIndex);
    }
    showPreview();
}

void LaserPenSettingViewController::doSelectSwitch(QXButton *sender)
{
    const bool wasOn = imageName(sender) == QLatin1String(kSwitchOn);
    setImageNamed(sender, wasOn ? kSwitchOff : kSwitchOn);
    QXLaserPenManager &m = *m_d.manager;
    if (sender == m_countDownSwitch) {
        m.setLaserPenCountdownSwitch(!wasOn);
        if (wasOn) {
            m.hideCountDownWarning();
            return;
        }
        // Run once by the manager when a countdown ends: the switch turns itself off.
        m.setCountDownBlock([manager = m_d.manager, button = QPointer<QXButton>(m_countDownSwitch)] {
            manager->setLaserPenCountdownSwitch(false);
            if (button)
                setImageNamed(button, kSwitchOff);
        });
        return;
    }
    const int row = int(m_functionSwitches.indexOf(sender));
    if (row < 0)
        return;
    using Setter = void (QXLaserPenManager::*)(bool);
    constexpr std::array<Setter, 4> setters{
        &QXLaserPenManager::setLaserPenHighlightedSwitch, &QXLaserPenManager::setLaserPenDigitalLightSpotSwitch,
        &QXLaserPenManager::setLaserPenZoomInSwitch, &QXLaserPenManager::setLaserPenDrawSwitch};
    (m.*setters[std::size_t(row)])(!wasOn);
    QXButton *radio = m_functionRadios[row];
    if (wasOn)
        radio->setChecked(false);
    radio->setEnabled(!wasOn);
}

void LaserPenSettingViewController::setSlider(QXSliderCell *slider, double min, double max, double value)
{
    const QScopedValueRollback<bool> quiet(m_updating, true);
    slider->setMinimum(qRound(min * kSliderScale));
    slider->setMaximum(qRound(max * kSliderScale));
    const double clamped = std::clamp(value, min, max); // a stored value out of range is shown at the end
    slider->setValue(qRound(clamped * kSliderScale));
}

double LaserPenSettingViewController::sliderValue(const QXSliderCell *slider)
{
    return double(slider->value()) / kSliderScale;
}

void LaserPenSettingViewController::showPreview()
{
    QXLaserPenManager &m = *m_d.manager;
    const int index = m_previewIndex;
    if (index <= 0) {
        m_preview->setFigure(0, 0);
        m_bar->hide();
        disablePreviewRadio();
        return;
    }
    m_bar->setGeometry(0, m_preview->height() - 60, m_preview->width(), 60);
    m_bar->show();
    if (index > 4) {
        m_preview->setFigure(0, 0);
        return;
    }
    QXButton *radio = m_functionRadios[index - 1];
    radio->setChecked(true);
    radio->setEnabled(true);
    m_brightnessRow->setVisible(index == 1);
    m_colorRow->setVisible(index == 2 || index == 4);
    if (index == 2 || index == 4)
        m_swatch->setLayerBackgroundColor(index == 2 ? m.digitalLightSpotColor() : m.drawColor());
    const std::array<double, 4> sizes{m.highlightedCircleW(), m.digitalLightSpotCircleW(), m.zoomInCircleW(),
                                      m.drawWidth()};
    const SizeRange range = kSizeRanges[std::size_t(index - 1)];
    setSlider(m_zoom, range.min, range.max, sizes[std::size_t(index - 1)]);
    if (index == 1)
        setSlider(m_brightness, 0, 1, m.highlightedMaskAlpha());
    if (index == 3)
        m_bar->setGeometry(0, m_preview->height() - 40, m_preview->width(), 40);
    placeRows();
    showMask();
}

void LaserPenSettingViewController::placeRows()
{
    const int bottom = m_bar->height() - kRowHeight;
    switch (m_previewIndex) {
    case 1:
        m_brightnessRow->move(0, 0);
        m_zoomRow->move(0, bottom);
        break;
    case 3:
        m_zoomRow->move(0, (m_bar->height() - kRowHeight) / 2);
        break;
    default:
        m_zoomRow->move(0, 0);
        m_colorRow->move(0, bottom);
        break;
    }
}

void LaserPenSettingViewController::showMask()
{
    QXLaserPenManager &m = *m_d.manager;
    switch (m_previewIndex) {
    case 1:
        m_preview->setFigure(1, m.highlightedCircleW(), {}, m.highlightedMaskAlpha());
        break;
    case 2:
        m_preview->setFigure(2, m.digitalLightSpotCircleW(), m.digitalLightSpotColor());
        break;
    case 3:
        m_preview->setFigure(3, m.zoomInCircleW());
        break;
    case 4:
        m_preview->setFigure(4, m.drawWidth(), m.drawColor());
        break;
    default:
        m_preview->setFigure(0, 0);
        break;
    }
}

void LaserPenSettingViewController::disablePreviewRadio()
{
    for (QXButton *radio : std::as_const(m_functionRadios)) {
        radio->setChecked(false);
        setImageNamed(radio, kRadioNor);
    }
}

void LaserPenSettingViewController::alphaSliderChangeValue()
{
    if (m_previewIndex == 1)
        m_d.manager->setHighlightedMaskAlpha(sliderValue(m_brightness));
    showPreview();
}

void LaserPenSettingViewController::zoomInSliderChangeValue()
{
    QXLaserPenManager &m = *m_d.manager;
    const double v = sliderValue(m_zoom);
    switch (m_previewIndex) {
    case 1:
        m.setHighlightedCircleW(v);
        break;
    case 2:
        m.setDigitalLightSpotCircleW(v);
        break;
    case 3:
        m.setZoomInCircleW(v);
        break;
    case 4:
        m.setDrawWidth(v);
        break;
    default:
        break;
    }
    showPreview();
}

void LaserPenSettingViewController::showColorPanel()
{
    if (!m_colorPanel) {
        m_colorPanel = new QColorDialog(view()->window());
        m_colorPanel->setOptions(QColorDialog::DontUseNativeDialog | QColorDialog::ShowAlphaChannel
                                 | QColorDialog::NoButtons);
        m_colorPanel->setModal(false);
        connect(m_colorPanel, &QColorDialog::currentColorChanged, this, [this](const QColor &c) { changeColor(c); });
    }
    m_colorPanel->show();
    m_colorPanel->raise();
    m_colorPanel->activateWindow();
}

void LaserPenSettingViewController::changeColor(const QColor &color)
{
    QXLaserPenManager &m = *m_d.manager;
    if (m_previewIndex == 2)
        m.setDigitalLightSpotColor(color);
    else if (m_previewIndex == 4)
        m.setDrawColor(color);
    showPreview();
}

// --- the countdown and the voice key ------------------------------------------------------

void LaserPenSettingViewController::timeRadioBtnClicked(QXButton *sender)
{
    for (QXButton *radio : std::as_const(m_timeRadios)) {
        setImageNamed(radio, radio == sender ? kRadioSel : kRadioNor);
        if (radio == sender)
            m_d.manager->setWarningTimeIndex(sender->tag());
    }
}

void LaserPenSettingViewController::customMinutesEdited()
{
    // The field takes whole numbers only; "" and a lone "-" count as 0, and a number
    // past the integer range as its end.
    const qlonglong minutes = m_customField->text().trimmed().toLongLong();
    m_d.manager->setWarningTime(
        int(std::clamp<qlonglong>(minutes, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
}

void LaserPenSettingViewController::voiceRadioBtnClicked(QXButton *sender)
{
    for (QXButton *radio : std::as_const(m_voiceRadios))
        setImageNamed(radio, radio == sender ? kRadioSel : kRadioNor);
    m_d.state->setLaserPenVoiceFunctionIndex(sender->tag());
}

void LaserPenSettingViewController::modifyVoiceFunciton()
{
    // A stored index outside 0-3 (a hand-edited file) starts the cycle again at 0.
    const qint64 i = m_d.state->laserPenVoiceFunctionIndex();
    const int next = i >= 0 && i < 3 ? int(i) + 1 : 0;
    voiceRadioBtnClicked(m_voiceRadios[next]);
    const VoiceTip &tip = kVoiceTips[std::size_t(m_d.state->laserPenVoiceFunctionIndex())];
    m_d.tips->showTipMessage(localized(tip.text), QString::fromLatin1(tip.image));
}
