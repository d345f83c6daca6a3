#pragma once

// A patch of desktop for the translation window's scenes: the pop-up tool of the
// voice scenes, which owns the translation window and hands it its texts, over the
// scene's state; the window is laid on the desk once shown.
#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "PopupDesk.h"
#include "QXLanguageManager.h"
#include "QXTranslateWindow.h"

class TranslateDesk : public PopupDesk {
public:
    explicit TranslateDesk(SceneWorld &world) : PopupDesk(world), m_tips(m_log)
    {
        QXTranslateWindow::Deps deps;
        deps.state = &world.state();
        deps.languages = &QXLanguageManager::sharedInstance();
        deps.isScreenshotsOCR = [this] { return tool().isScreenshotsOCR(); };
        deps.clipboard = &m_clipboard;
        deps.tips = &m_tips;
        deps.translucent = world.option(QStringLiteral("translucent")) != QLatin1String("0");
        m_window = std::make_unique<QXTranslateWindow>(std::move(deps));
        tool().setTranslationWindow(m_window.get());
    }
    ~TranslateDesk() override { tool().setTranslationWindow(nullptr); }

    void show(SceneWorld &world, const QString &fan, const QString &yi)
    {
        tool().showTranslateWindowFanText(fan, yi);
        lay(world, &m_window->window());
    }

private:
    CallLog m_log;
    FakeClipboard m_clipboard;
    FakePopupTips m_tips;
    std::unique_ptr<QXTranslateWindow> m_window;
};
