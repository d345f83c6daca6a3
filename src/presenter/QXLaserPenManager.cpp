#include "QXLaserPenManager.h"

#include "HRVLocalizedString.h"
#include "KeyValueStore.h"
#include "LaserPenEffects.h"
#include "LaserPenPainting.h"
#include "PZLog.h"
#include "PZString.h"
#include "services/ILaserPenHidCommands.h"
#include "services/IMouseCommands.h"
#include "services/IPopupTips.h"
#include "services/VoiceKeyState.h"

#include <algorithm>
#include <array>

namespace {

struct ModeTip {
    const char *text;
    const char *image;
};
// By mode: the hard laser, highlight, light spot, loupe, pen.
constexpr std::array<ModeTip, QXLaserPenManager::kModeCount> kModeTips{{
    {"硬激光", "laserPen_icon-1"},
    {"突出显示", "laserPen_icon-9"},
    {"数码光点", "laserPen_icon-4"},
    {"放大镜", "laserPen_icon-3"},
    {"画笔", "laserPen_icon-5"},
}};

// Until the overlays exist (a test without them, a session without a display).
class NoEffects final : public LaserPenEffects {
public:
    void highlighted(double, double) override { missing(); }
    void showDigitalLightSpot(const QColor &, double) override { missing(); }
    void hideHighlighted() override {}
    void zoomIn(double) override { missing(); }
    void dismissZoom() override {}
    void startDraw(const QColor &, double) override { missing(); }
    void endDraw() override {}
    void penMouseDown() override {}
    void penMouseUp() override {}
    void clearDraw() override {}
    void showBlackScreen(const QString &) override { missing(); }
    void hideBlackScreen() override {}

private:
    static void missing()
    {
        qxLogOnce(QStringLiteral("pointer-no-effects"), QStringLiteral("[pointer] no overlays: effects are not shown"));
    }
};

NoEffects &noEffects()
{
    static NoEffects none;
    return none;
}

QString key(const char *name)
{
    return QString::fromLatin1(name);
}

} // namespace

QXLaserPenManager::QXLaserPenManager(Deps deps) : m_d(std::move(deps))
{
    Q_ASSERT(m_d.store && m_d.keys && m_d.tips && m_d.scheduler);
    LaserPenSettings::registerDefaults(*m_d.store);
    m_s = LaserPenSettings::load(*m_d.store);
    m_index = 0;
    changeLaserPenStatus(true);
    m_d.keys->setVioceMode(1);
    m_hasShowEffecf = false;
}

QXLaserPenManager::~QXLaserPenManager()
{
    cancelTimer(*m_d.scheduler, m_warningTimer);
}

void QXLaserPenManager::setDeviceLink(DeviceLink link)
{
    m_d.device = std::move(link);
}

void QXLaserPenManager::setEffects(LaserPenEffects *effects)
{
    m_d.effects = effects;
}

LaserPenEffects &QXLaserPenManager::effects()
{
    return m_d.effects ? *m_d.effects : noEffects();
}

int QXLaserPenManager::vioceMode() const
{
    return m_d.keys->vioceMode();
}

void QXLaserPenManager::setVioceMode(int mode)
{
    m_d.keys->setVioceMode(mode);
}

bool QXLaserPenManager::deviceMatches() const
{
    return m_d.device.pointerReceiver && m_d.device.pointerReceiver();
}

// --- the mode ------------------------------------------------------------------------------

void QXLaserPenManager::changeLaserPenStatus(bool keep)
{
    if (!deviceMatches())
        return;
    dismissEffect();
    if (!keep)
        ++m_index;
    const std::array<bool, kModeCount> enabled{m_s.highlightedSwitch, m_s.digitalLightSpotSwitch, m_s.zoomInSwitch,
                                               m_s.drawSwitch, true};
    if (m_index == kModeCount)
        m_index = 0;
    m_index = std::clamp(m_index, 0, kModeCount - 1);
    int i = m_index;
    while (!enabled[std::size_t(i)])
        ++i; // the last candidate (the receiver's laser) is always on
    m_index = i;
    const int mode = (i + 1) % kModeCount;
    setLaserPenStatus(mode);
    if (!keep) {
        const ModeTip &tip = kModeTips[std::size_t(mode)];
        m_d.tips->showTipMessage(hrvAppLocalizedString(QString::fromUtf8(tip.text)), QString::fromLatin1(tip.image));
    }
    if (m_d.device.commands)
        m_d.device.commands->sendLaserPenModeData(mode);
    if (mode != 4)
        effects().endDraw();
}

void QXLaserPenManager::setLaserPenStatus(int status)
{
    m_status = status;
    m_d.store->setValue(key(LaserPenSettings::kStatusKey), status);
}

void QXLaserPenManager::showLaserPenEffect()
{
    if (m_status == 4) {
        // Earlier strokes stay: no dismiss first.
        effects().startDraw(m_s.drawColor, m_s.drawWidth);
        effects().penMouseDown();
    } else {
        dismissEffect();
        switch (m_status) {
        case 1:
            effects().highlighted(m_s.highlightedMaskAlpha, m_s.highlightedCircleW);
            break;
        case 2:
            effects().showDigitalLightSpot(m_s.digitalLightSpotColor, m_s.digitalLightSpotCircleW);
            break;
        case 3:
            effects().zoomIn(m_s.zoomInCircleW);
            break;
        default:
            break;
        }
    }
    // The mode is read when this runs: a mode key within the delay decides what goes out.
    m_d.scheduler->singleShot(
        kDeviceDelayMs, [this] { sendDeferred(); }, m_lifetime.get());
}

void QXLaserPenManager::sendDeferred()
{
    if (m_status != 0) {
        m_hasShowEffecf = true;
        if (m_d.device.commands)
            m_d.device.commands->sendLaserPenEnterMouseStatusData();
        if (m_d.device.hid)
            m_d.device.hid->sendTelinkLaserPenCloseHardLaserData();
    } else if (m_d.device.hid) {
        m_d.device.hid->sendTelinkLaserPenOpenHardLaserData();
    }
}

void QXLaserPenManager::dismissEffect()
{
    if (m_status == 4) {
        // The stroke ends and stays on the screen; the shown flag stays as it is.
        effects().penMouseUp();
    } else {
        effects().hideHighlighted();
        effects().dismissZoom();
        effects().endDraw();
    }
    if (m_status >= 1 && m_status <= 3) {
        m_hasShowEffecf = false;
        if (m_d.device.commands)
            m_d.device.commands->sendLaserPenQuitMouseStatusData();
    }
    if (m_d.device.hid)
        m_d.device.hid->sendTelinkLaserPenCloseHardLaserData();
}

void QXLaserPenManager::clearDraw()
{
    effects().clearDraw();
}

// --- the settings --------------------------------------------------------------------------

void QXLaserPenManager::writeNumber(const char *name, double value)
{
    m_d.store->setValue(key(name), LaserPenSettings::single(value));
}

void QXLaserPenManager::writeSwitch(bool &property, const char *name, bool on)
{
    if (property == on)
        return;
    property = on;
    m_d.store->setValue(key(name), on);
}

void QXLaserPenManager::setHighlightedMaskAlpha(double v)
{
    m_s.highlightedMaskAlpha = v;
    writeNumber(LaserPenSettings::kHighlightedMaskAlphaKey, v);
}
void QXLaserPenManager::setHighlightedCircleW(double v)
{
    m_s.highlightedCircleW = v;
    writeNumber(LaserPenSettings::kHighlightedCircleWKey, v);
}
void QXLaserPenManager::setDigitalLightSpotColor(const QColor &c)
{
    m_s.digitalLightSpotColor = c;
    m_d.store->setValue(key(LaserPenSettings::kDigitalLightSpotColorKey), LaserPenSettings::colorText(c));
}
void QXLaserPenManager::setDigitalLightSpotCircleW(double v)
{
    m_s.digitalLightSpotCircleW = v;
    writeNumber(LaserPenSettings::kDigitalLightSpotCircleWKey, v);
}
void QXLaserPenManager::setZoomInPixel(double v)
{
    m_s.zoomInPixel = v;
    writeNumber(LaserPenSettings::kZoomInPixelKey, v);
}
void QXLaserPenManager::setZoomInCircleW(double v)
{
    m_s.zoomInCircleW = v;
    writeNumber(LaserPenSettings::kZoomInCircleWKey, v);
}
void QXLaserPenManager::setDrawColor(const QColor &c)
{
    m_s.drawColor = c;
    m_d.store->setValue(key(LaserPenSettings::kDrawColorKey), LaserPenSettings::colorText(c));
}
void QXLaserPenManager::setDrawWidth(double v)
{
    m_s.drawWidth = v;
    writeNumber(LaserPenSettings::kDrawWidthKey, v);
}
void QXLaserPenManager::setLaserPenHighlightedSwitch(bool on)
{
    writeSwitch(m_s.highlightedSwitch, LaserPenSettings::kHighlightedSwitchKey, on);
}
void QXLaserPenManager::setLaserPenDigitalLightSpotSwitch(bool on)
{
    writeSwitch(m_s.digitalLightSpotSwitch, LaserPenSettings::kDigitalLightSpotSwitchKey, on);
}
void QXLaserPenManager::setLaserPenZoomInSwitch(bool on)
{
    writeSwitch(m_s.zoomInSwitch, LaserPenSettings::kZoomInSwitchKey, on);
}
void QXLaserPenManager::setLaserPenDrawSwitch(bool on)
{
    writeSwitch(m_s.drawSwitch, LaserPenSettings::kDrawSwitchKey, on);
}
void QXLaserPenManager::setLaserPenCountdownSwitch(bool on)
{
    writeSwitch(m_s.countdownSwitch, LaserPenSettings::kCountdownSwitchKey, on);
}
void QXLaserPenManager::setPreviewIndex(int index)
{
    if (m_s.previewIndex == index)
        return;
    m_s.previewIndex = index;
    m_d.store->setValue(key(LaserPenSettings::kPreviewIndexKey), index);
}
void QXLaserPenManager::setWarningTimeIndex(int index)
{
    m_s.warningTimeIndex = index;
    m_d.store->setValue(key(LaserPenSettings::kWarningTimeIndexKey), index);
}
void QXLaserPenManager::setWarningTime(int minutes)
{
    m_s.warningTime = minutes;
    m_d.store->setValue(key(LaserPenSettings::kWarningTimeKey), minutes);
}

// --- the countdown and the black screen ----------------------------------------------------

bool QXLaserPenManager::isCountingDown() const
{
    return m_warningTimer != Scheduler::kNoTimer;
}

void QXLaserPenManager::enterBlackScreen()
{
    m_isBlackScreen = true;
    effects().showBlackScreen({});
    if (m_s.countdownSwitch)
        startWarningTimer();
}

void QXLaserPenManager::quitBlackScreen()
{
    m_isBlackScreen = false;
    effects().hideBlackScreen();
    hideCountDownWarning();
}

void QXLaserPenManager::showCountDownWarningCallBack(std::function<void()> block)
{
    m_countDownBlock = std::move(block);
    startWarningTimer();
}

void QXLaserPenManager::hideCountDownWarning()
{
    effects().hideBlackScreen();
    cancelTimer(*m_d.scheduler, m_warningTimer);
}

void QXLaserPenManager::startWarningTimer()
{
    cancelTimer(*m_d.scheduler, m_warningTimer);
    m_countDownNum = laserpen::countdownStartSeconds(m_s.warningTimeIndex, m_s.warningTime);
    if (m_s.warningTimeIndex < 0 || m_s.warningTimeIndex > 3)
        qxWarning("pointer") << "countdown length index" << m_s.warningTimeIndex << "is not one of 0-3; 15 minutes";
    m_warningTimer = m_d.scheduler->repeating(
        kCountdownTickMs, [this] { countDownTime(); }, m_lifetime.get());
    countDownTime();
}

void QXLaserPenManager::countDownTime()
{
    // A custom length of 0 or less (a "-" can be typed) ends at the first tick rather
    // than counting down forever.
    const qint64 shown = std::max<qint64>(m_countDownNum, 0);
    if (m_d.device.hid)
        m_d.device.hid->sendTelinkLaserPenCountdownData(laserpen::countdownDeviceValue(shown));
    effects().showBlackScreen(pz::secondToStr(shown, hrvAppLocalizedString));
    if (shown == 0) {
        cancelTimer(*m_d.scheduler, m_warningTimer);
        quitBlackScreen();
        if (m_countDownBlock)
            m_countDownBlock();
        m_countDownNum = -1;
        return;
    }
    --m_countDownNum;
}
