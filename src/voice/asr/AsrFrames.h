#pragma once

// What goes to the websocket speech service: its address and the JSON text frame that
// carries each audio chunk. Pure functions, so tests and the fuzz target call them alone.

#include "VoiceStreamFormat.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

// The address of the speech service for a device profile: base + "/ws", with the
// profile's region (percent-encoded), else "region=out" for receivers sold abroad
// (mouseSource 1), else no query.
QUrl asrWebSocketUrl(const QString &base, const QString &region, quint64 mouseSource);

// How the device's voice is declared to the service; the device side knows it.
using AsrAudioFormat = VoiceStreamFormat;

// Everything of a frame but the audio and its place in the stream.
struct AsrFrameFields {
    QString apiKey;
    QString language;
    QString clientId;
    QString deviceNo; // the machine's address, lower case, ":"-separated
    QString serialNo;
    bool punctuation = false;
    QString phrases;
    bool semantic = false;
    AsrAudioFormat audio;
};

// The stream position of a frame: the first, one in the middle, or a last one.
enum class AsrStreamPosition { First, Middle, Last };

// Compact JSON text of one frame: "start" is true only for the first, "end" for a last.
QByteArray buildAsrFrame(const AsrFrameFields &fields, QByteArrayView chunk, AsrStreamPosition position);
