// qx-ble-probe: checks the Bluetooth LE central against a real adapter.
//
//   qx-ble-probe --list        scan and print every peripheral heard, marking ours
//   qx-ble-probe               find one of ours, connect, subscribe, print every value
//   qx-ble-probe --send HEX    ... and write one command frame once connected
//
// Quits after --seconds (default 30). Exit code 0 when something of ours was found
// (--list) or connected, 1 otherwise, 2 without an adapter.
#include "BleDeviceTable.h"
#include "QXBLEManager.h"
#include "platform/linux/BluetoothBackend.h"

#include "InstalledInstance.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

void print(const QString &line)
{
    out() << QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz ")) << line << Qt::endl;
}

// Prints what the central tells the application.
class PrintingDelegate final : public BleManagerDelegate {
public:
    bool isConnect() const override { return false; }
    void setDeviceName(const QString &n) override { print(QStringLiteral("connecting to \"%1\"").arg(n)); }
    void setBlueDeviceMac(const QString &m) override { print(QStringLiteral("connected, address %1").arg(m)); }
    void setBleConnect(bool on) override { connected = on; }
    void setDeviceType(int t) override { print(QStringLiteral("device type %1").arg(t)); }
    void setIsFromMicData(bool on) override { print(QStringLiteral("voice from device: %1").arg(on)); }
    void eventTypeConvertDataToHexStr(const QByteArray &v) override
    {
        print(QStringLiteral("value %1").arg(QString::fromLatin1(v.toHex(' '))));
    }
    bool connected = false;
};

// Prints every discovery of a bare central.
class ListingDelegate final : public platform::IBleCentralDelegate {
public:
    explicit ListingDelegate(platform::IBleCentral &c) : central(c) {}
    void centralDidUpdateState(platform::BleAdapterState s) override
    {
        print(QStringLiteral("adapter: %1").arg(ble::adapterStateText(s)));
        if (s == platform::BleAdapterState::Unsupported)
            QCoreApplication::exit(2);
        if (s == platform::BleAdapterState::PoweredOn) {
            for (const auto &p : central.retrieveConnectedPeripherals(ble::primaryServiceUuids())) {
                ++ours;
                print(QStringLiteral("held by the system: %1 \"%2\"").arg(p.id, p.name));
            }
        }
    }
    void centralDidDiscoverPeripheral(const platform::BlePeripheralInfo &p) override
    {
        const bool match = ble::matchesDeviceName(p.name);
        ours += match && !p.cached ? 1 : 0;
        print(QStringLiteral("%1 %2 \"%3\" rssi %4%5 services [%6]")
                  .arg(match ? QStringLiteral("OURS ") : QStringLiteral("     "), p.id, p.name)
                  .arg(p.rssi)
                  .arg(p.cached ? QStringLiteral(" (cached)") : QString())
                  .arg(p.serviceUuids.join(QLatin1Char(' '))));
    }
    void centralDidConnectPeripheral(const QString &) override {}
    void centralDidFailToConnectPeripheral(const QString &, const QString &) override {}
    void centralDidDisconnectPeripheral(const QString &, const QString &) override {}
    void peripheralDidDiscoverServices(const QString &, const QStringList &, const QString &) override {}
    void peripheralDidDiscoverCharacteristics(const QString &, const QString &,
                                              const QList<platform::BleCharacteristicInfo> &, const QString &) override
    {
    }
    void peripheralDidUpdateNotificationState(const platform::BleCharacteristicRef &, bool, const QString &) override {}
    void peripheralDidUpdateValue(const platform::BleCharacteristicRef &, const QByteArray &, const QString &) override
    {
    }

    platform::IBleCentral &central;
    int ours = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qx-ble-probe"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Checks the Bluetooth LE central against a real adapter."));
    parser.addHelpOption();
    const QCommandLineOption listOpt(QStringLiteral("list"), QStringLiteral("Only scan and list peripherals."));
    const QCommandLineOption secondsOpt(QStringLiteral("seconds"), QStringLiteral("Run time (default 30)."),
                                        QStringLiteral("n"), QStringLiteral("30"));
    const QCommandLineOption sendOpt(QStringLiteral("send"), QStringLiteral("Hex frame to write once connected."),
                                     QStringLiteral("hex"));
    parser.addOptions({listOpt, secondsOpt, sendOpt});
    parser.process(app);

    bool ok = false;
    const int seconds = parser.value(secondsOpt).toInt(&ok);
    if (!ok || seconds <= 0) {
        std::fprintf(stderr, "--seconds needs a positive number\n");
        return 64;
    }
    QByteArray frame;
    if (parser.isSet(sendOpt)) {
        const QByteArray hex = parser.value(sendOpt).toLatin1().replace(' ', "");
        frame = QByteArray::fromHex(hex);
        if (frame.isEmpty() || frame.toHex() != hex.toLower()) {
            std::fprintf(stderr, "--send needs hex bytes, e.g. 5a0102\n");
            return 64;
        }
    }

    if (parser.isSet(listOpt)) {
        const std::unique_ptr<platform::IBleCentral> made = platform::linuxbackend::createBleCentral();
        platform::IBleCentral &central = *made;
        ListingDelegate listing(central);
        central.setDelegate(&listing);
        central.scanForPeripherals();
        QTimer::singleShot(seconds * 1000, &app, [&] { QCoreApplication::exit(listing.ours > 0 ? 0 : 1); });
        const int rc = app.exec();
        central.setDelegate(nullptr);
        return rc;
    }

    // The tool is its own composition root: the centre the central posts to.
    NotificationCenter notifications;
    ScopedInstall<NotificationCenter> installed(&notifications);
    PrintingDelegate printing;
    QXBLEManager manager([] { return platform::linuxbackend::createBleCentral(); }, &printing);
    NotificationCenter &nc = NotificationCenter::defaultCenter();
    nc.addObserver(QString::fromLatin1(qx::notify::kBleConnectNotification), &app, [&](const QVariant &) {
        print(QStringLiteral("kBleConnectNotification (state %1)").arg(manager.stateNOW()));
        if (!frame.isEmpty() && manager.sendData(frame)) {
            print(QStringLiteral("wrote %1").arg(QString::fromLatin1(frame.toHex(' '))));
            frame.clear();
        }
    });
    nc.addObserver(QString::fromLatin1(qx::notify::kBleDisConnectNotification), &app,
                   [](const QVariant &) { print(QStringLiteral("kBleDisConnectNotification")); });
    bool everConnected = false;
    nc.addObserver(QString::fromLatin1(qx::notify::kBleConnectNotification), &app,
                   [&](const QVariant &) { everConnected = true; });

    manager.startScan();
    // Without an adapter there is nothing to wait for.
    QTimer::singleShot(500, &app, [&] {
        if (manager.connectState() == ble::adapterStateText(platform::BleAdapterState::Unsupported))
            QCoreApplication::exit(2);
    });
    QTimer::singleShot(seconds * 1000, &app, [&] { QCoreApplication::exit(everConnected ? 0 : 1); });
    const int rc = app.exec();
    print(QStringLiteral("adapter \"%1\", state %2").arg(manager.connectState()).arg(manager.stateNOW()));
    return rc;
}
