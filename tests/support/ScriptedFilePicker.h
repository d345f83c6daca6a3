#pragma once

#include "desktop/FilePicker.h"

#include <vector>

// Records what the pages ask for; a test answers the last question with answer().
class ScriptedFilePicker : public FilePicker {
public:
    struct Asked {
        Request request;
        Done done;
    };
    std::vector<Asked> asked;

    void pick(const Request &request, Done done) override { asked.push_back({request, std::move(done)}); }
    // nullopt: the user cancelled.
    void answer(const std::optional<QString> &path)
    {
        if (asked.empty() || !asked.back().done)
            return;
        auto done = std::move(asked.back().done);
        asked.back().done = nullptr;
        done(path);
    }
};
