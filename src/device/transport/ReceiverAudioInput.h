#pragma once

#include <QString>

// The name of the audio input that the connected receiver brings: "ORVANE" for the
// receiver whose row has kOrvaneAudio, "Quorvex" for every other one and with none
// connected.
QString defaultInputDeviceName(quint16 vendorId, quint16 productId);
