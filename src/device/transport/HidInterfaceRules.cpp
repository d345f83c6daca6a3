#include "HidInterfaceRules.h"

#include "PZString.h"
#include "ReceiverTable.h"
#include "TextNumber.h"

namespace qx::hid {

namespace {

constexpr std::uint32_t kAnyUsagePage = 0xFFEF;

bool isMicrophoneProduct(const QString &product)
{
    return product == QLatin1String("Quorvex MIC") || product.contains(QLatin1String("MIC"))
           || product.contains(QLatin1String("Quorvex Audio"));
}

// Receivers whose command interface moved with their firmware: "3.00" uses the 0xFF91
// interface with 33-byte reports; every other version the 0xFFEF interface, with
// 33-byte reports from version 4 on. Some products named "Nimbo"/"TD" keep 0xFFEF at
// "3.00" too.
void applyVersionRule(ExpectedInterface &e, const receivers::ReceiverRow &row, const QString &product,
                      const QString &version)
{
    const bool excluded = row.has(receivers::kExcludeNimboNames)
                          && (product == QLatin1String("Nimbo Quorvex") || product == QLatin1String("Nimbo AiMouse")
                              || product == QLatin1String("TD AIMouse"));
    if (version == QLatin1String("3.00") && !excluded) {
        e.length33 = true;
        e.page = 0xFF91;
        e.usage = 0;
        return;
    }
    e.page = kAnyUsagePage;
    e.usage = 0;
    e.length33 = qx::leadingInteger(version) >= 4;
}

} // namespace

QString dongleVersionText(std::uint32_t versionNumber)
{
    QString hex = pz::ToHex(qint64(versionNumber));
    if (hex.size() == 1)
        hex.prepend(QLatin1String("00"));
    else if (hex.size() == 2)
        hex.prepend(QLatin1Char('0'));
    hex.insert(1, QLatin1Char('.'));
    return hex;
}

ExpectedInterface expectedCommandInterface(std::uint16_t vendorId, std::uint16_t productId, const QString &product,
                                           const QString &dongleVersion)
{
    ExpectedInterface e;
    if (isMicrophoneProduct(product)) {
        e.page = 0x0001;
        e.usage = 6;
        e.fromMicData = !product.contains(QLatin1String("Quorvex Audio")) && vendorId != receivers::kTelinkVendorId
                        && productId != receivers::kTelinkMicProductId;
        return e;
    }
    const receivers::ReceiverRow *row = receivers::findReceiver(vendorId, productId);
    if (!row)
        return e;
    switch (row->rule) {
    case receivers::InterfaceRule::ByVersion:
        applyVersionRule(e, *row, product, dongleVersion);
        break;
    case receivers::InterfaceRule::Fixed:
    case receivers::InterfaceRule::AnyUsage:
        e.page = row->command.page;
        e.usage = row->command.usage;
        break;
    case receivers::InterfaceRule::EveryInterface:
        e.acceptEvery = true;
        break;
    }
    return e;
}

InterfaceRole decideInterface(const ExpectedInterface &expected, std::uint32_t page, std::uint32_t usage,
                              std::uint16_t vendorId, std::uint16_t productId)
{
    bool accepted = false;
    if (page == expected.page && (expected.page == kAnyUsagePage || usage == expected.usage))
        accepted = true;
    else if (page == kAnyUsagePage)
        return InterfaceRole::Command;
    else if (page == 0xFF81 || page == 0xFF91 || expected.acceptEvery)
        accepted = true;
    else if (const receivers::ReceiverRow *row = receivers::findReceiver(vendorId, productId);
             row && row->hasAlternative() && page == row->alternative.page && usage == row->alternative.usage)
        return InterfaceRole::Command;
    if (!accepted)
        return InterfaceRole::Ignored;
    return page == kVoiceUsagePage ? InterfaceRole::Voice : InterfaceRole::Command;
}

} // namespace qx::hid
