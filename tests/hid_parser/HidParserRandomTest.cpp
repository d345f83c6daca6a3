// Random and mutated reports of every family and device type through the whole parser:
// nothing is read past a report, no report sets off a burst of notifications, and an
// acknowledgement goes out only where the family's rule asks for one. The rule is
// written out here from the families' descriptions, not taken from the classifier.
#include "HidParserFixture.h"

#include "PZLog.h"

#include <QRandomGenerator>

namespace {

// The most a single report may post: a plan-6 connection status that marks the mouse
// present and changes battery, report rate, lighting and function switch.
constexpr int kMostNotificationsPerReport = 5;

// Longer than any report kind reads (a framed device-information reply of 46 bytes):
// from here on no length rule can hold an acknowledgement back.
constexpr int kLongerThanAnyRead = 46;

bool startsWith(const QByteArray &b, const char *hex)
{
    return b.startsWith(QByteArray::fromHex(hex));
}

// Whether a full-length report is acknowledged before anything else, by its family's rule.
bool acknowledgedByRule(QByteArray b, int plan, int deviceType, quint16 vid, quint16 pid, bool product113)
{
    if (plan == 4 && vid == 0x3151 && pid == 0x12AB && b.size() >= 2)
        b.remove(1, 1); // that receiver's extra byte after the report id
    auto at = [&b](int i) { return i < b.size() ? int(uint8_t(b[i])) : -1; };
    if (plan == 2 || deviceType == 5) {
        if (!startsWith(b, "0d5a4d") && !startsWith(b, "0d6a4d") && !startsWith(b, "4d"))
            return false;
        return at(deviceType == 5 ? 2 : 3) != 0x69; // connection status is never acknowledged
    }
    switch (plan) {
    case 7:
        return at(3) > 0; // any non-zero command byte, whatever the prefix
    case 6: {
        if (!startsWith(b, "0c4d") && !startsWith(b, "1c4d"))
            return false;
        const int command = at(3);
        return product113 && command != 0 && command != 0x61 && command != 0x69;
    }
    case 4:
        for (const char *key : {"0c1133", "0c1140", "0c1137", "0c1138", "0c1135", "0c1141", "0c1131", "0c1132"})
            if (startsWith(b, key))
                return true;
        return false;
    default:
        return false;
    }
}

const QByteArray kSeeds[] = {
    QByteArray::fromHex("0d5a4d6100515831323334"),
    QByteArray::fromHex("0d5a4d6900"),
    QByteArray::fromHex("0d5a4d31004c"),
    QByteArray::fromHex("0d524301a1b2c3d4e5f6"),
    QByteArray::fromHex("0d5a3f020500"),
    QByteArray::fromHex("0dabc1010002"),
    QByteArray::fromHex("a6134d615158202312060000000107020412501b01"),
    QByteArray::fromHex("a6054d0000"),
    QByteArray::fromHex("a5000080100300"),
    QByteArray::fromHex("0c4d1361515820231206000000070302"
                        "04c15a1200004c"),
    QByteArray::fromHex("0c4d0869005a080100"),
    QByteArray::fromHex("1c4d058401"),
    QByteArray::fromHex("0c4e010212ab"),
    QByteArray::fromHex("1be8031000128900"),
    QByteArray::fromHex("0c102f550d000203"),
    QByteArray::fromHex("0c1038123456789abc"),
    QByteArray::fromHex("0c102e5631"),
    QByteArray::fromHex("0c991133"),
    QByteArray::fromHex("0c00"),
    QByteArray::fromHex("4d1361000000000000ab225131020401ca501b"),
    QByteArray::fromHex("0d0150002a01000c00000102030405060000"
                        "51ab37"),
};

TEST_F(HidParserTest, TwoHundredThousandRandomReports)
{
    parser.setKeyEventHandler(nullptr);
    parser.setLightingReplyHandler(nullptr);
    parser.setOtaAckHandler(nullptr);
    setWriteLogHandler([](const QString &) {});
    QRandomGenerator rng(0x5eed17);
    int acknowledged = 0;
    for (int i = 0; i < 200000; ++i) {
        const int p = rng.bounded(8);
        const int type = 1 + rng.bounded(5);
        plan(p, quint64(type));
        ids.first = rng.bounded(2) ? 0x3151 : 0x248A;
        ids.second = rng.bounded(3) == 0 ? 0x12AB : quint16(0x60AB + rng.bounded(0x20) * 0x100);
        state->setProductCode(rng.bounded(4) == 0 ? QStringLiteral("113") : QStringLiteral("56"));
        hid.setIsStartVoice(rng.bounded(4) == 0);
        fakes.keys.setHadStart(rng.bounded(2));

        QByteArray report;
        if (rng.bounded(2)) {
            report = kSeeds[rng.bounded(int(std::size(kSeeds)))];
            const int length = rng.bounded(81);
            report.resize(std::min<qsizetype>(report.size(), length)
                              + rng.bounded(std::max(1, length - int(report.size()) + 1)),
                          '\0');
            for (int flips = rng.bounded(4); flips > 0 && !report.isEmpty(); --flips)
                report[rng.bounded(int(report.size()))] = char(rng.bounded(256));
        } else {
            report.resize(rng.bounded(81));
            for (char &c : report)
                c = char(rng.bounded(256));
        }

        // The acknowledgement as this device would get it (a zero report on families without one).
        sink.reports.clear();
        hid.sendGetReceiveData();
        const QByteArray ack = sink.reports.value(0);
        const bool checkable = ack.count('\0') != ack.size();

        const bool rule =
            acknowledgedByRule(report, p, type, ids.first, ids.second, state->productCode() == QLatin1String("113"));
        notes.clear();
        sink.reports.clear();
        feed(report);
        ASSERT_LE(notes.names().size(), kMostNotificationsPerReport) << report.toHex().constData();
        const bool acked = !sink.reports.isEmpty() && sink.reports.first() == ack;
        if (checkable) {
            // A short report may be dropped unacknowledged; none is acknowledged against the rule.
            if (report.size() >= kLongerThanAnyRead) {
                ASSERT_EQ(acked, rule) << "plan " << p << " type " << type << ": " << report.toHex().constData();
            } else if (acked) {
                ASSERT_TRUE(rule) << "plan " << p << " type " << type << ": " << report.toHex().constData();
            }
            acknowledged += acked ? 1 : 0;
        }
        if (i % 50 == 0) {
            notes.clear();
            sched.advance(600); // delayed requests of present actions run
        }
    }
    setWriteLogHandler(nullptr);
    EXPECT_GT(acknowledged, 1000); // the mutated reports reach the acknowledged kinds
}

} // namespace
