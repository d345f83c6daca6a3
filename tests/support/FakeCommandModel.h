#pragma once

#include "services/ICommandModel.h"
#include "sqlite/QXVoiceCommandItem.h"

#include <vector>

// The custom commands as a plain list; requests are recorded and answered by the test
// (answer()). A successful create appends the record, a successful delete removes that
// very record.
class FakeCommandModel : public ICommandModel {
public:
    struct Request {
        bool create = false;
        std::shared_ptr<QXVoiceCommandItem> item;
        Done done;
    };
    QList<std::shared_ptr<QXVoiceCommandItem>> list;
    std::vector<Request> requests;

    const QList<std::shared_ptr<QXVoiceCommandItem>> &customCommands() override { return list; }
    void createCustomCommand(const std::shared_ptr<QXVoiceCommandItem> &item, Done done) override
    {
        requests.push_back({true, item, std::move(done)});
    }
    void deleteCustomCommand(const std::shared_ptr<QXVoiceCommandItem> &item, Done done) override
    {
        requests.push_back({false, item, std::move(done)});
    }
    // Answers the oldest open request.
    void answer(bool success, const QString &failure = {})
    {
        for (Request &r : requests) {
            if (!r.done)
                continue;
            auto done = std::move(r.done);
            r.done = nullptr;
            if (success && r.create)
                list << r.item;
            else if (success)
                list.removeAll(r.item);
            done(success, failure);
            return;
        }
    }
};
