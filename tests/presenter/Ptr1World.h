#pragma once

// The pointer manager over the real HID command builders (a plan-2 pointer receiver,
// frames read back as the device reads them), recording overlays, a counting store
// and virtual time. Device commands and tips land in one ordered log.
#include "CountingKeyValueStore.h"
#include "DeviceWorld.h"
#include "FrameDecoder.h"
#include "HRVLocalizedString.h"
#include "LaserPenEffects.h"
#include "QXLaserPenManager.h"
#include "ReceiverTable.h"

#include <gtest/gtest.h>

class RecordingEffects : public LaserPenEffects {
public:
    QStringList calls;
    QString blackText; // the countdown text last shown
    bool black = false;
    void highlighted(double a, double d) override { calls << QStringLiteral("highlighted(%1,%2)").arg(a).arg(d); }
    void showDigitalLightSpot(const QColor &c, double d) override
    {
        calls << QStringLiteral("spot(%1,%2)").arg(c.name()).arg(d);
    }
    void hideHighlighted() override { calls << "hideHighlighted"; }
    void zoomIn() override { calls << "zoomIn"; }
    void dismissZoom() override { calls << "dismissZoom"; }
    void startDraw(const QColor &, double w) override { calls << QStringLiteral("startDraw(%1)").arg(w); }
    void endDraw() override { calls << "endDraw"; }
    void penMouseDown() override { calls << "penDown"; }
    void penMouseUp() override { calls << "penUp"; }
    void clearDraw() override { calls << "clearDraw"; }
    void showBlackScreen(const QString &text) override
    {
        black = true;
        blackText = text;
    }
    void hideBlackScreen() override { black = false; }
};

struct Ptr1World : HidProtocolWorld<> {
    // Tips go into the log after the frames sent before them.
    class Tips : public IPopupTips {
    public:
        explicit Tips(Ptr1World &w) : m_w(w) {}
        void showTipMessage(const QString &text, const QString &image) override
        {
            m_w.flush();
            m_w.log << QStringLiteral("tip(%1,%2)").arg(text, image);
        }

    private:
        Ptr1World &m_w;
    };

    CountingKeyValueStore store;
    RecordingEffects effects;
    Tips tips{*this};
    VoiceKeyState keys;
    std::pair<quint16, quint16> penIds{0x248A, 0x62AB};
    QStringList log;
    std::unique_ptr<QXLaserPenManager> pen;

    Ptr1World() { plan(2, 2); }
    ~Ptr1World() { pen.reset(); }

    // A new manager, as at a start of the application, over the same store.
    QXLaserPenManager &make()
    {
        pen.reset();
        QXLaserPenManager::Deps d;
        d.store = &store;
        d.scheduler = &sched;
        d.keys = &keys;
        d.tips = &tips;
        d.effects = &effects;
        d.device = {&facade, &hid, [this] { return qx::receivers::followsPointerModes(penIds.first, penIds.second); }};
        pen = std::make_unique<QXLaserPenManager>(d);
        return *pen;
    }

    // The frames the device received, by their short names.
    void flush()
    {
        static const QMap<QString, QString> names{
            {"sendLaserPenModeData", "mode"},
            {"sendLaserPenEnterMouseStatusData", "enterMouseStatus"},
            {"sendLaserPenQuitMouseStatusData", "quitMouseStatus"},
            {"sendTelinkLaserPenOpenHardLaserData", "openHardLaser"},
            {"sendTelinkLaserPenCloseHardLaserData", "closeHardLaser"},
            {"sendTelinkLaserPenCountdownData", "countdown"},
        };
        for (const QByteArray &r : sent()) {
            const auto f = sim::FrameDecoder::decodeHid(2, r);
            QString name = f ? names.value(f->command, f->command) : QStringLiteral("?") + r.toHex();
            if (f && name == "mode")
                name += QStringLiteral("(%1)").arg(f->args.value(0));
            log << name;
        }
    }
    QStringList take()
    {
        flush();
        return std::exchange(log, {});
    }
    static QString tip(const char *text, const char *image)
    {
        return QStringLiteral("tip(%1,%2)").arg(hrvAppLocalizedString(QString::fromUtf8(text)), QLatin1String(image));
    }
};
