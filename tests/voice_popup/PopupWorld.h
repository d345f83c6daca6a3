#pragma once

#include <cmath>

#include "FakeNeighbours.h"
#include "ManualScheduler.h"
#include "ScopedUserInfoData.h"
#include "popup/QXPopContentView.h"
#include "popup/QXPopupWindow.h"
#include "popup/QXPopupWindowTool.h"
#include "popup/QXWordView.h"
#include "views/NSAnimateImageView.h"

#include <QWidget>

// The pop-up tool over virtual time, a fresh state and recording neighbours. Text
// heights are the texts' lengths, so a row reads "30 characters lay out 30 px high".
struct PopupWorld {
    ManualScheduler clock;
    ScopedUserInfoData state;
    CallLog log;
    VoiceKeyState keys;
    FakeVoiceKeyDispatcher voice{log};
    QWidget *mainWindow = nullptr;
    QXPopupWindowTool tool{{&state.state(), &keys, &voice, [this] { return mainWindow; }, false}};

    PopupWorld()
    {
        NSAnimateImageView::resetSharedState();
        for (QXWordView *card : {content().fanWordView(), content().yiWordView()})
            // One pixel a character; "NaN" and "-..." stand for a broken measurement.
            card->setTextMeasure([](const QString &text) {
                return text == "NaN" ? std::nan("") : text.startsWith('-') ? -1000.0 : double(text.size());
            });
    }
    QXPopupWindow &popup() { return tool.popupWindow(); }
    QXPopContentView &content() { return *popup().popContentView(); }
    int height() { return popup().geometry().height(); }
};
