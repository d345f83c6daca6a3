#include "PressTypeConverter.h"

#include "AUSoundAdditions.h"
#include "HRVLocalizedString.h"
#include "QXUserInfoData.h"
#include "services/Neighbours.h"

#include <cmath>

using namespace presstype;

namespace {
constexpr quint64 kPointerDeviceType = 2;

void showTip(const char *text, const char *image)
{
    neighbours().tips->showTipMessage(hrvAppLocalizedString(QString::fromUtf8(text)), QString::fromLatin1(image));
}
} // namespace

PressTypeConverter::~PressTypeConverter()
{
    invalidateTimer();
}

int PressTypeConverter::convertPressTypeWithNum(qint64 num, int pressType)
{
    if (num != 0)
        invalidateTimer();
    if (QXUserInfoData::sharedInstance().mouseInfoItem().deviceType() == kPointerDeviceType)
        return convertPointer(num);
    return convertOther(num, pressType);
}

int PressTypeConverter::convertOther(qint64 num, int pressType)
{
    IVoiceKeyDispatcher &voice = *neighbours().voice;
    switch (num) {
    case 49:
        return kSearchDown;
    case 50:
        return kSearchUp;
    case 51:
        return voice.isTranslate() ? kTranslateDown : kTypingDown;
    case 52:
        return voice.isTranslate() ? kTranslateUp : kTypingUp;
    case 53:
        return kTranslateDown;
    case 54:
        return kTranslateUp;
    case 64:
        toggleTranslateMode(pressType);
        return kNone;
    case 80:
        return kKeyCommand;
    default:
        return kNone;
    }
}

int PressTypeConverter::convertPointer(qint64 num)
{
    // The pointer repeats its key code in every report while the key is held; outside
    // plan 2 only the first code after a key-up (code 0) counts.
    if (m_tempNum != 0 && QXUserInfoData::sharedInstance().chipPlan() != 2) {
        m_tempNum = num;
        return kNone;
    }
    ILaserPen &pen = *neighbours().laserPen;
    int result = kNone;
    switch (num) {
    case 32:
        nextPointerVoiceMode();
        break;
    case 37:
    case 38:
        result = pointerVoicePressType(pen.vioceMode(), num == 37);
        break;
    case 39:
        result = kSearchDown;
        break;
    case 40:
        result = kSearchUp;
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
    return result;
}

PressTypeConverter::KeyRule PressTypeConverter::keyRule(int converted, int pressType)
{
    if (converted == kNone || converted == pressType)
        return KeyRule::Ignore;
    if ((converted == kSearchDown || converted == kSearchUp) &&
        (pressType == kTypingDown || pressType == kTranslateDown))
        return KeyRule::StopReport;
    return KeyRule::Take;
}

bool PressTypeConverter::toggleTranslateMode(int pressType)
{
    // Switching modes under a held voice key would end its input in the other mode.
    if (pressType == kTypingDown || pressType == kTranslateDown)
        return false;
    IVoiceKeyDispatcher &voice = *neighbours().voice;
    const bool translate = !voice.isTranslate();
    voice.setIsTranslate(translate);
    if (translate)
        showTip("切换到翻译模式", "laserPen_icon-7");
    else
        showTip("切换到打字模式", "laserPen_icon-6");
    return true;
}

void PressTypeConverter::nextPointerVoiceMode()
{
    neighbours().voice->cancelAsr();
    ILaserPen &pen = *neighbours().laserPen;
    int mode = pen.vioceMode() + 1;
    if (mode >= 4 || mode <= 0)
        mode = 1;
    pen.setVioceMode(mode);
    if (mode == 1)
        showTip("切换到打字模式", "laserPen_icon-6");
    else if (mode == 2)
        showTip("切换到翻译模式", "laserPen_icon-7");
    else
        showTip("切换到投屏模式", "laserPen_icon-2");
}

int PressTypeConverter::pointerVoicePressType(int vioceMode, bool down)
{
    if (vioceMode == 1)
        return down ? kTypingDown : kTypingUp;
    if (vioceMode == 2 || vioceMode == 3)
        return down ? kTranslateDown : kTranslateUp;
    return kNone;
}

void PressTypeConverter::startVolumeTime()
{
    Scheduler &s = Scheduler::instance();
    cancelTimer(s, m_volumeTimer);
    m_volumeTimer = s.repeating(kVolumeIntervalMs, [this] { changeSystemVolume(); });
}

void PressTypeConverter::invalidateTimer()
{
    cancelTimer(Scheduler::instance(), m_volumeTimer);
}

void PressTypeConverter::changeSystemVolume()
{
    if (m_isIncreaseSystemVolume)
        AUSoundAdditions::increaseSystemVolumeBy(kVolumeStep);
    else
        AUSoundAdditions::decreaseSystemVolumeBy(kVolumeStep);
    // Rounded: 0.7 read back as 0.6999999 must show 70, not 69.
    const long percent = std::lround(double(AUSoundAdditions::systemVolume()) * 100.0);
    neighbours().tips->showTipMessage(QStringLiteral("当前音量 %1").arg(percent),
                                      m_isIncreaseSystemVolume ? QStringLiteral("laserPen_icon-10")
                                                               : QStringLiteral("laserPen_icon-11"));
}
