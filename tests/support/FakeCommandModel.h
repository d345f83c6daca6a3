#pragma once

#include "services/ICommandModel.h"
#include "sqlite/QXVoiceCommandItem.h"

#include <QStringList>

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
    // The fetches in the order asked ("common", "custom"); custom ones are answered
    // with answerFetch().
    QStringList fetches;
    std::vector<Done> customFetches;

    const QList<std::shared_ptr<QXVoiceCommandItem>> &customCommands() override { return list; }
    void fetchCommonCommands() override { fetches << QStringLiteral("common"); }
    void fetchCustomCommands(Done done) override
    {
        fetches << QStringLiteral("custom");
        customFetches.push_back(std::move(done));
    }
    // Answers the oldest open custom fetch (the list as the test set it).
    void answerFetch(bool success, const QString &failure = {})
    {
        for (Done &d : customFetches) {
            if (!d)
                continue;
            auto done = std::move(d);
            d = nullptr;
            done(success, failure);
            return;
        }
    }
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
