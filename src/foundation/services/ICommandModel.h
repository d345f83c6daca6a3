#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QXVoiceCommandItem;

// The user's custom voice commands as the command pages reach them: the list they
// show and the two requests that change it on the server. The voice layer's command
// model is the one implementation; page tests use a scripted fake.
//
// Main thread only. Each request's done runs exactly once, on the main thread, after
// the model has stored what the server answered; failure carries the message a page
// shows.
class ICommandModel {
public:
    using Done = std::function<void(bool success, const QString &failure)>;

    virtual ~ICommandModel() = default;

    // The custom commands (hot-word entries excluded), refilled from the store when empty.
    virtual const QList<std::shared_ptr<QXVoiceCommandItem>> &customCommands() = 0;
    // Fetches the server's common commands and stores them; the outcome is not reported.
    virtual void fetchCommonCommands() = 0;
    // Fetches the custom list and stores it (done after it is stored).
    virtual void fetchCustomCommands(Done done) = 0;
    virtual void createCustomCommand(const std::shared_ptr<QXVoiceCommandItem> &item, Done done) = 0;
    // Deletes by the record's word, here and on the server.
    virtual void deleteCustomCommand(const std::shared_ptr<QXVoiceCommandItem> &item, Done done) = 0;
};
