#include "ReceiverAudioInput.h"

#include "ReceiverTable.h"

QString defaultInputDeviceName(quint16 vendorId, quint16 productId)
{
    return qx::receivers::receiverHas(vendorId, productId, qx::receivers::kOrvaneAudio) ? QStringLiteral("ORVANE")
                                                                                        : QStringLiteral("Quorvex");
}
