// Which receivers are looked for, and which of their interfaces carry commands or voice.
#include "HidTransportFixture.h"
#include "TextNumber.h"

#include "HidInterfaceRules.h"

using qx::hid::InterfaceRole;
using Role = SimulatedReceiver::Role;

namespace {

struct Pair {
    quint16 pid, vid;
};
// The receivers in the order they are matched, written out independently of the table.
constexpr Pair kPairs[34] = {
    {0x24AB, 0x25BA}, {0x24BB, 0x25AA}, {0xAC22, 0xAC21}, {0x26AB, 0x27BA}, {0x12AB, 0x13BA}, {0x24AC, 0x25CA},
    {0x12AC, 0x13CA}, {0x23AB, 0x3151}, {0x22AB, 0x3151}, {0x50AB, 0x3151}, {0x1043, 0x25A7}, {0x20AB, 0x3151},
    {0x5453, 0x4A4A}, {0xB010, 0x10D6}, {0x8373, 0x248A}, {0x3030, 0x3151}, {0x10AB, 0x3151}, {0x11AB, 0x3151},
    {0x12AB, 0x3151}, {0x13AB, 0x3151}, {0x60AB, 0x248A}, {0x80AB, 0x248A}, {0x61AB, 0x248A}, {0x62AB, 0x248A},
    {0x63AB, 0x248A}, {0x64AB, 0x248A}, {0x65AB, 0x248A}, {0x67AC, 0x248A}, {0x68AC, 0x248A}, {0x69AC, 0x248A},
    {0x5055, 0x4C4A}, {0x70AC, 0x248A}, {0x71AC, 0x248A}, {0x72AC, 0x248A},
};

// The command interface each receiver uses; page 0 marks the version-dependent ones,
// 0xFFFF the receiver that takes every interface.
struct Expected {
    quint32 page, usage;
    bool anyUsage;
};
constexpr Expected kCommand[34] = {
    {0xFF05, 0, false}, {0xFF05, 0, false}, {0xFF05, 0, false}, {0xFF05, 0, false}, {0xFF05, 0, false},
    {0xFF05, 0, false}, {0xFF05, 0, false}, {0xFF05, 0, false}, {0xFF05, 0, false}, {0xFF05, 0, false},
    {0xFF05, 0, false}, {0xFF05, 0, false}, {0xFF05, 0, false}, {0xFF05, 0, false}, {0xFF05, 0, false},
    {0xFF05, 0, false}, {0xFF91, 0, false}, {0x000C, 1, false}, {0xFF91, 0, false}, {0x000C, 1, false},
    {0, 0, false},      {0, 0, false},      {0x0001, 6, false}, {0xFFEF, 0, true},  {0x0001, 6, false},
    {0xFFEF, 0, true},  {0, 0, false},      {0xFFBB, 0, false}, {0x0001, 2, false}, {0xFFBB, 0, false},
    {0xFFFF, 0, false}, {0xFFF0, 1, false}, {0x0001, 2, false}, {0xFFF0, 1, false},
};

InterfaceRole roleOf(quint16 vid, quint16 pid, quint32 page, quint32 usage, const QString &product = "Receiver",
                     quint32 version = 0x0100)
{
    const QString v = qx::hid::dongleVersionText(version);
    return qx::hid::decideInterface(qx::hid::expectedCommandInterface(vid, pid, product, v), page, usage, vid, pid);
}

} // namespace

TEST(HidIdentifyTest, WatchesTheThirtyFourReceiversInOrder)
{
    const QList<platform::HidMatch> matches = HIDDevice::registerDevice();
    ASSERT_EQ(matches.size(), 34);
    for (int i = 0; i < 34; ++i) {
        EXPECT_EQ(matches[i].productId, kPairs[i].pid) << "row " << i + 1;
        EXPECT_EQ(matches[i].vendorId, kPairs[i].vid) << "row " << i + 1;
    }
}

TEST(HidIdentifyTest, DongleVersionText)
{
    const std::pair<quint32, const char *> rows[] = {
        {0x300, "3.00"}, {0x21, "0.21"},  {0x1234, "1.234"}, {0x5, "0.05"},
        {0, "0.00"},     {0x4A0, "4.A0"}, {0x0110, "1.10"},
    };
    for (const auto &[number, text] : rows)
        EXPECT_EQ(qx::hid::dongleVersionText(number), QString::fromLatin1(text)) << number;
    EXPECT_EQ(qx::leadingInteger(u"4.01"), 4);
    EXPECT_EQ(qx::leadingInteger(u"12.3"), 12);
    EXPECT_EQ(qx::leadingInteger(u"A.00"), 0);
    // A long run of digits stops at a bound instead of overflowing (now the 64-bit bound).
    EXPECT_EQ(qx::leadingInteger(QString(400, QChar('9'))), qx::leadingInteger(QString(20, QChar('9'))));
}

// For every receiver: its own command interface is taken, a decoy interface is not
// (except where every interface is taken), the vendor pages 0xFFEF, 0xFF81 and 0xFF91
// are taken from every receiver, and a voice interface only from the one that takes all.
TEST(HidIdentifyTest, InterfaceRolesForEveryReceiver)
{
    for (int i = 0; i < 34; ++i) {
        const auto [pid, vid] = kPairs[i];
        const Expected e = kCommand[i];
        SCOPED_TRACE(testing::Message() << "row " << i + 1);
        const bool every = e.page == 0xFFFF;
        if (e.page != 0 && !every) {
            EXPECT_EQ(roleOf(vid, pid, e.page, e.usage), InterfaceRole::Command);
            const bool vendorPage = e.anyUsage || e.page == 0xFF91; // pages taken with any usage
            EXPECT_EQ(roleOf(vid, pid, e.page, e.usage + 7),
                      vendorPage ? InterfaceRole::Command : InterfaceRole::Ignored);
        }
        EXPECT_EQ(roleOf(vid, pid, 0x0001, 0x80), every ? InterfaceRole::Command : InterfaceRole::Ignored);
        for (quint32 page : {0xFFEFu, 0xFF81u, 0xFF91u})
            EXPECT_EQ(roleOf(vid, pid, page, 3), InterfaceRole::Command) << Qt::hex << page;
        EXPECT_EQ(roleOf(vid, pid, 0xFF0C, 1), every ? InterfaceRole::Voice : InterfaceRole::Ignored);
        EXPECT_EQ(roleOf(vid, pid, 0xFFBB, 0),
                  (pid == 0x70AC || e.page == 0xFFBB || every) ? InterfaceRole::Command : InterfaceRole::Ignored);
    }
}

TEST(HidIdentifyTest, VersionDependentReceivers)
{
    struct Row {
        quint16 pid;
        quint32 version;
        const char *product;
        quint32 page; // the expected command page
        bool length33;
    } rows[] = {
        {0x60AB, 0x300, "Nimbo Quorvex", 0xFFEF, false}, // integer value 3
        {0x60AB, 0x300, "X", 0xFF91, true},
        {0x80AB, 0x300, "TD AIMouse", 0xFFEF, false},
        {0x60AB, 0x401, "X", 0xFFEF, true},
        {0x60AB, 0x210, "X", 0xFFEF, false},
        {0x65AB, 0x500, "Y", 0xFFEF, true},
        {0x65AB, 0x300, "Nimbo Quorvex", 0xFF91, true}, // no name exclusion on this one
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << Qt::hex << r.pid << " " << r.version << " " << r.product);
        const auto e =
            qx::hid::expectedCommandInterface(0x248A, r.pid, r.product, qx::hid::dongleVersionText(r.version));
        EXPECT_EQ(e.page, r.page);
        EXPECT_EQ(e.length33, r.length33);
        EXPECT_EQ(roleOf(0x248A, r.pid, r.page, 0, r.product, r.version), InterfaceRole::Command);
        EXPECT_EQ(roleOf(0x248A, r.pid, 0x0001, 2, r.product, r.version), InterfaceRole::Ignored);
    }
}

TEST(HidIdentifyTest, MicrophoneProductsUseTheKeyboardInterface)
{
    struct Row {
        quint16 vid, pid;
        const char *product;
        bool fromMic;
    } rows[] = {
        {0x3151, 0x22AB, "Quorvex MIC", true},      {0x3151, 0x22AB, "USB MIC 2", true},
        {0x3151, 0x22AB, "Quorvex Audio 2", false}, {0x248A, 0x61AB, "Quorvex MIC", false},
        {0x25BA, 0x24AB, "Quorvex MIC", true}, // its own row does not matter
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.product);
        const auto e = qx::hid::expectedCommandInterface(r.vid, r.pid, r.product, "1.00");
        EXPECT_EQ(e.fromMicData, r.fromMic);
        EXPECT_EQ(roleOf(r.vid, r.pid, 0x0001, 6, r.product), InterfaceRole::Command);
        EXPECT_EQ(roleOf(r.vid, r.pid, 0xFF05, 0, r.product), InterfaceRole::Ignored);
    }
    // Case matters: "mic" is not a microphone.
    EXPECT_FALSE(qx::hid::expectedCommandInterface(0x3151, 0x22AB, "quorvex mic", "1.00").fromMicData);
}

// Over the simulated bus: what the arrival of each interface does.
TEST_F(HidTransportTest, ArrivalOfAMicrophoneReceiverAsksForDeviceVoiceAtEachLook)
{
    watch();
    SimulatedReceiver::Options o;
    o.product = "Quorvex MIC";
    o.withMouse = false;
    SimulatedReceiver rx(bus, 0x3151, 0x22AB, o);
    rx.addInterface(Role::Other, 0xFF05, 0);
    rx.addInterface(Role::Keyboard, 0x0001, 6);
    rx.plugIn();
    EXPECT_EQ(hid->devicePath(), rx.path(Role::Keyboard));
    EXPECT_EQ(fakes.log.count("setIsFromMicData(1)"), 2); // once per interface looked at
}

TEST_F(HidTransportTest, VersionRulesOverTheBus)
{
    watch();
    SimulatedReceiver::Options o;
    o.versionNumber = 0x300;
    o.product = "X";
    auto rx = plugRow(21, o);
    EXPECT_EQ(hid->devicePath(), rx->path(Role::Command));
    EXPECT_TRUE(hid->isLength33());
    EXPECT_EQ(item().dongleVersion(), "3.00");
    EXPECT_EQ(st().chipPlan(), 6);
}

TEST_F(HidTransportTest, BadArrivalsAreIgnored)
{
    watch();
    platform::HidDeviceInfo blank;
    hid->setDeviceRef(blank, false); // no device at all
    blank.path = "/dev/hidraw-blank";
    hid->setDeviceRef(blank, false); // every property missing
    platform::HidDeviceInfo unknown{"/dev/hidraw-unknown", 0x1234, 0x5678, 0x100, "X", "S", 0xFF05, 0, {}};
    hid->setDeviceRef(unknown, false);
    hid->setDeviceRef(unknown, true);
    EXPECT_FALSE(hid->hasDevice());
    EXPECT_EQ(fakes.log.calls, QStringList{});

    // A mouse already connected (here over Bluetooth LE) keeps the transport as it is.
    st().setBleConnect(true);
    auto rx = plugRow(1);
    EXPECT_FALSE(hid->hasDevice());
    EXPECT_EQ(item().dongleVersion(), "");
    st().setBleConnect(false);

    // Arrivals repeated for an interface already held change nothing.
    hid->startMonitor();
    sched.runDue();
    ASSERT_TRUE(hid->hasDevice());
    fakes.log.clear();
    hid->setDeviceRef(rx->info(rx->interfaces().last()), false);
    sched.runDue();
    EXPECT_EQ(fakes.log.calls, QStringList{});
}
