#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// What decides the sample rate of a recording written as WAV: plain facts about the
// device in use. The recording is 16-bit mono PCM; its rate depends on the connected
// device family, so the rule that reads these (wavSampleRate) lives with the family
// traits of the device layer, and the tool manager is handed it.
struct WavRateInputs {
    bool bleConnect = false;
    int chipPlan = 0;
    int deviceType = 1;
    QString firmwareVersion; // as the device reports it, read as an integer
    int samplingRate = 0;    // non-zero: the device streams at 16 kHz
    quint16 currentVid = 0;  // the HID receiver in use, 0 when none
    quint16 currentPid = 0;
};

// The 44-byte header of a mono 16-bit PCM WAV file, integers little-endian.
QByteArray wavHeader(quint32 dataSize, quint32 sampleRate);
