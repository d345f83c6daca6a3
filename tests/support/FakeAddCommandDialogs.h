#pragma once

#include "views/IAddCommandDialogs.h"

#include <QWidget>

#include <functional>
#include <vector>

// Records the dialogs the pages open; a test ends one with finish().
class FakeAddCommandDialogs : public IAddCommandDialogs {
public:
    struct Opened {
        QWidget *host = nullptr;
        bool mouseMode = false;
        std::shared_ptr<KeySettingSubModel> keyOption;
        std::shared_ptr<QXVoiceCommandItem> record;
        Finish finish;
    };
    std::vector<Opened> opened;
    std::function<void()> whenOpened; // runs inside open(), as the host's events might

    QWidget *open(QWidget *host, bool mouseMode, std::shared_ptr<KeySettingSubModel> keyOption,
                  std::shared_ptr<QXVoiceCommandItem> record, Finish finish) override
    {
        opened.push_back({host, mouseMode, std::move(keyOption), std::move(record), std::move(finish)});
        if (whenOpened)
            whenOpened();
        return nullptr;
    }
    void finish(bool success)
    {
        if (!opened.empty() && opened.back().finish)
            opened.back().finish(success);
    }
};
