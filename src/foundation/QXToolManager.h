#pragma once

#include "tools/WavFormat.h"

#include <QByteArray>
#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

// The application's toolbox: the daily log, files under the data root, PCM to WAV,
// machine facts and the byte conversions of the device layer. Mostly static; the
// shared instance exists for callers that hold one. (The helpers that need a display
// live beside it in QXToolManagerUI.)
class QXToolManager {
public:
    QXToolManager() = default;
    // The process-wide instance, which the composition root constructed and installed.
    static QXToolManager &sharedInstance();
    static QXToolManager *setSharedInstance(QXToolManager *instance); // returns the previous one

    // --- daily log ---------------------------------------------------------------
    // Queues a time-stamped entry for today's file in <data root>/Log; never blocks.
    // Before the logs are loaded (PZManagerForLog::load) it goes to the developer log.
    static void writeLog(const QString &message);
    // Returns once every message queued before the call is in its file.
    static void waitForPendingLogsBeforeTermination();

    // --- files -------------------------------------------------------------------
    // <data root> with the component appended: getFilePath("/Log") -> "<root>/Log".
    static QString getFilePath(const QString &component);
    // The same under a standard location; "" when the system knows no such folder.
    static QString getFilePath(const QString &component, QStandardPaths::StandardLocation location);
    // A write-only handle (created with mode 0644, writes append). Not appending empties
    // an existing file first. Null for an empty path or when the file cannot be opened.
    static std::unique_ptr<QFile> createFileHandleWithPath(const QString &path, bool isAppend);
    // True when a file was there and is gone now.
    static bool deleteFileWithPath(const QString &path);
    // The fields of /etc/os-release.
    QVariantMap getDeviceInfo() const;

    struct FolderResult {
        bool ok = false;
        int errorCode = 0; // the platform's file error codes: 514 bad name, 4 no folder, 516 file in the way,
                           // 512 creation failed
        QString error;
    };
    FolderResult createFolderOnDesktopWithName(const QString &name) const;

    // --- audio -------------------------------------------------------------------
    // Writes wavPath as a 16-bit mono WAV holding the PCM file's bytes, at the rate of the
    // connected device. False (and a log line) when the WAV cannot be written; a missing
    // PCM file gives a WAV with no samples.
    static bool pcmConvertToWav(const QString &pcmPath, const QString &wavPath);
    // Where the sample rate rule reads the device state. Null restores "nothing connected".
    static void setWavRateInputsProvider(std::function<WavRateInputs()> provider);
    static WavRateInputs currentWavRateInputs();
    static bool hasWavRateInputsProvider();
    // The rule that turns the device state into a sample rate (it knows the device
    // families, which this layer does not). Without one every recording is written at
    // 16 kHz, the rate with nothing connected. Null removes it. Returns the rule it replaces.
    using WavSampleRateRule = std::function<int(const WavRateInputs &)>;
    static WavSampleRateRule setWavSampleRateRule(WavSampleRateRule rule);
    static bool hasWavSampleRateRule();

    // There is no microphone permission on this desktop: always granted (status 3).
    // The completion runs on the main thread.
    void authorMicphone(std::function<void(bool granted, int status)> completion) const;
    bool isAuthMicphone() const { return true; }

    // --- machine facts -----------------------------------------------------------
    // "<interface>_<mac as 12 lower-case hex digits>", "" when there is no Ethernet-type link.
    static QString macAdress();
    static QString systemVersion();

    // --- device-layer conversions -----------------------------------------------
    // Little-endian bytes to an integer: each byte shifted by 8*i (mod 32), sign-extended
    // from 32 bits and ORed in. 1-3 bytes are unsigned, 4 bytes signed, a 5th ORs into the low byte.
    static int numIntWithData(const QByteArray &data);
    // The low 32 bits, little-endian.
    static QByteArray intToData(int value);
    // Each UTF-16 code as a decimal number followed by a space: "abc" -> "97 98 99 ".
    static QString convertASCII(const QString &text);

    // True when the text holds something besides blanks and line breaks.
    static bool isHaveText(const std::optional<QString> &text);
};
