#include "PressTypeConverter.h"

#include "AUSoundAdditions.h"
#include "HRVLocalizedString.h"
#include "HidInfoFields.h"
#include "QXUserInfoData.h"
#include "services/VoiceKeyState.h"

#include <cmath>

using namespace presstype;

namespace {
constexpr quint64 kPointerDeviceType = 2;

void tip(const DeviceSeams &seams, const char *text, const char *image)
{
    seams.tips->showTipMessage(hrvAppLocalizedString(QString::fromUtf8(text)), QString::fromLatin1(image));
}
} // namespace

PressTypeConverter::PressTypeConverter(const Options &options) : m_options(options)
{
    m_options.seams = m_options.seams.resolved();
}

PressTypeConverter::~PressTypeConverter()
{
    invalidateTimer();
}

int PressTypeConverter::convertPressTypeWithNum(qint64 num, qint64 pressType)
{
    const bool pointer = QXUserInfoData::sharedInstance().mouseInfoItem().deviceType() == kPointerDeviceType;
    if (m_options.dropPointerRepeats && pointer && num != 0 && num == m_tempNum)
        return kNone;
    if (num != 0)
        invalidateTimer();
    if (pointer)
        return convertPointer(num);

    if (num == hidinfo::kModeToggleKey) {
        toggleTranslateMode(m_options.seams, int(pressType));
        return kNone;
    }
    return hidinfo::nonPointerPressType(num, m_options.seams.keys->isTranslate());
}

int PressTypeConverter::convertPointer(qint64 num)
{
    // Outside plan 2 a key pressed while another is held is only remembered.
    if (m_tempNum != 0 && QXUserInfoData::sharedInstance().chipPlan() != 2) {
        m_tempNum = num;
        return kNone;
    }
    ILaserPen &pen = *m_options.seams.laserPen;
    int type = kNone;
    switch (num) {
    case 32:
        nextPointerVoiceMode(m_options.seams);
        break;
    case 37:
    case 38:
        type = pointerVoicePressType(m_options.seams.keys->vioceMode(), num == 37);
        break;
    case 39:
        type = kSearchDown;
        break;
    case 40:
        type = kSearchUp;
        break;
    case 64:
        pen.changeLaserPenStatus(false);
        break;
    case 69:
        pen.showLaserPenEffect();
        break;
    case 70:
        pen.dismissEffect();
        break;
    case 71:
    case 73:
        m_isIncreaseSystemVolume = num == 71;
        startVolumeTime();
        break;
    case 72:
    case 74:
        invalidateTimer();
        break;
    default:
        break;
    }
    m_tempNum = num;
    return type;
}

bool PressTypeConverter::toggleTranslateMode(const DeviceSeams &seams, int pressType)
{
    // Switching modes under a held voice key would end its input in the other mode.
    if (pressType == kTypingDown || pressType == kTranslateDown)
        return false;
    const DeviceSeams s = seams.resolved();
    const bool translate = !s.keys->isTranslate();
    s.keys->setIsTranslate(translate);
    if (translate)
        tip(s, "切换到翻译模式", "laserPen_icon-7");
    else
        tip(s, "切换到打字模式", "laserPen_icon-6");
    return true;
}

int PressTypeConverter::pointerVoicePressType(int vioceMode, bool down)
{
    if (vioceMode == 1)
        return down ? kTypingDown : kTypingUp;
    if (vioceMode == 2 || vioceMode == 3)
        return down ? kTranslateDown : kTranslateUp;
    return kNone;
}

void PressTypeConverter::nextPointerVoiceMode(const DeviceSeams &seams)
{
    const DeviceSeams s = seams.resolved();
    s.voice->cancelAsr();
    int mode = s.keys->vioceMode() + 1;
    if (mode >= 4 || mode <= 0)
        mode = 1;
    s.keys->setVioceMode(mode);
    switch (mode) {
    case 1:
        tip(s, "切换到打字模式", "laserPen_icon-6");
        break;
    case 2:
        tip(s, "切换到翻译模式", "laserPen_icon-7");
        break;
    default:
        tip(s, "切换到投屏模式", "laserPen_icon-2");
        break;
    }
}

void PressTypeConverter::startVolumeTime()
{
    invalidateTimer();
    // Cancelled on the scheduler that started it, whatever is installed by then.
    m_timerScheduler = &Scheduler::instance();
    m_volumeTimer = m_timerScheduler->repeating(kVolumeIntervalMs, [this] { changeSystemVolume(); });
}

void PressTypeConverter::invalidateTimer()
{
    if (m_timerScheduler)
        cancelTimer(*m_timerScheduler, m_volumeTimer);
    m_timerScheduler = nullptr;
}

void PressTypeConverter::changeSystemVolume()
{
    if (m_isIncreaseSystemVolume)
        AUSoundAdditions::increaseSystemVolumeBy(kVolumeStep, m_options.volume);
    else
        AUSoundAdditions::decreaseSystemVolumeBy(kVolumeStep, m_options.volume);
    const float volume = AUSoundAdditions::systemVolume(m_options.volume);
    // Rounded, not truncated: 0.7 is held as 0.69999... and would show as 69.
    const long percent = std::lround(double(volume) * 100.0);
    m_options.seams.tips->showTipMessage(hrvAppLocalizedString(QStringLiteral("当前音量 %1")).arg(percent),
                                         m_isIncreaseSystemVolume ? QStringLiteral("laserPen_icon-10")
                                                                  : QStringLiteral("laserPen_icon-11"));
}
