#pragma once

// A patch of desktop for the voice pop-ups' scenes: it owns a pop-up tool over the
// scene's state (with a dispatcher that reports a running recognition) and, once
// shown, lays the tool's windows on itself so the picture holds them.
#include "FakeNeighbours.h"
#include "SceneWorld.h"
#include "popup/QXPopupWindowTool.h"

#include <QPainter>
#include <QWidget>

#include <memory>

class PopupDesk : public QWidget {
public:
    explicit PopupDesk(SceneWorld &world) : m_voice(m_log)
    {
        m_keys.setHadStart(true);
        QXPopupWindowTool::Deps deps;
        deps.state = &world.state();
        deps.keys = &m_keys;
        deps.voice = &m_voice;
        deps.translucent = world.option(QStringLiteral("translucent")) != QLatin1String("0");
        m_tool = std::make_unique<QXPopupWindowTool>(deps);
    }

    QXPopupWindowTool &tool() { return *m_tool; }

    // Sizes the desk to hold `window` with a margin and, once the desk is on the
    // screen, puts the window on it.
    void lay(SceneWorld &world, QWidget *window)
    {
        constexpr int kMargin = 20;
        setFixedSize(window->size() + QSize(2 * kMargin, 2 * kMargin));
        world.afterShow([this, window] { window->move(mapToGlobal(QPoint(kMargin, kMargin))); });
    }

    static SceneOption translucentOption()
    {
        return {QStringLiteral("translucent"), QStringLiteral("1"),
                QStringLiteral("1: as with a compositor, 0: the opaque window shaped to its cards")};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(214, 220, 227));
    }

private:
    CallLog m_log;
    VoiceKeyState m_keys;
    FakeVoiceKeyDispatcher m_voice;
    std::unique_ptr<QXPopupWindowTool> m_tool;
};
