#pragma once

#include "FakeDesktop.h"
#include "FakeGlobalShortcuts.h"
#include "FakeNeighbours.h"
#include "FakeScreenGrabber.h"
#include "ManualScheduler.h"
#include "ScopedUserInfoData.h"
#include "ScriptedFilePicker.h"

#include "QXSnip.h"
#include "QXSnipToolView.h"
#include "overlay/EscapeArbiter.h"
#include "platform/ShortcutBinder.h"
#include "services/ITranslationWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

// The capture over fakes: a pattern desktop, the escape key, a scripted save panel, a
// clipboard, the tips; the compositor is on or off as the test says; the clock stands
// at 1700000000.
class SnipWorld {
public:
    static constexpr int kEscape = 53;

    struct TranslationWindow : ITranslationWindow {
        bool shown = false;
        void showTranslateWindow(const QString &, const QString &) override { shown = true; }
        bool isShow() const override { return shown; }
        QRect frameGeometry() const override { return {}; }
        void dismissWindow() override { shown = false; }
    } translation;

    ManualScheduler scheduler{QDateTime::fromSecsSinceEpoch(1700000000, QTimeZone::utc())};
    ScopedUserInfoData user;
    CallLog log;
    FakePopupTips tips{log};
    FakeClipboard clipboard;
    FakeScreenGrabber grabber;
    FakeGlobalShortcuts keys;
    platform::ShortcutBinder binder{user.store(), &keys};
    EscapeArbiter escape{binder};
    ScriptedFilePicker files;
    bool compositor = false;
    std::vector<QImage> translated;
    std::vector<bool> ocr;
    QXSnip snip{deps()};

    QXSnip::Deps deps()
    {
        QXSnip::Deps d;
        d.state = &user.state();
        d.translation = &translation;
        d.setIsScreenshotsOCR = [this](bool on) { ocr.push_back(on); };
        d.translateImage = [this](const QImage &i) { translated.push_back(i); };
        d.tips = &tips;
        d.clipboard = &clipboard;
        d.files = [this] { return &files; };
        d.overlays = {&grabber, [this] { return compositor; }, &escape};
        d.scheduler = &scheduler;
        return d;
    }
    QWidget *overlay(int i = 0) const { return snip.overlays().value(i); }
    // A left-button drag on an overlay, in its points.
    void drag(QPoint from, QPoint to, int i = 0)
    {
        QWidget *w = overlay(i);
        QTest::mousePress(w, Qt::LeftButton, {}, from);
        QTest::mouseMove(w, (from + to) / 2);
        QTest::mouseMove(w, to);
        QTest::mouseRelease(w, Qt::LeftButton, {}, to);
    }
    // What screen i shows at a rectangle of its points.
    QImage desktop(const QRect &r, int i = 0) { return grabber.grab(QGuiApplication::screens().value(i), r); }
};
