#pragma once

#include "QXNetError.h"
#include "QXVoiceCommandListItem.h"
#include "services/ICommandModel.h"

#include <functional>
#include <memory>

class IHotWordList;
class QXHttpRequestManager;
class WQSSqliteOperation;

// The voice commands in memory, in the local store and on the server: the server's
// common commands and the user's custom commands (hot words, type 5, share the custom
// table but never the custom list). Each list refills from its table when empty.
//
// Main thread only. Every callback runs exactly once, on the main thread, after the
// model has stored what the server answered; none runs once the model is gone.
class QXCommandViewModel : public ICommandModel {
public:
    // (true, the commands, {}) or (false, {}, why).
    using Callback = std::function<void(bool success, const QXVoiceCommandList &commands, const QXNetError &error)>;

    struct Deps {
        QXHttpRequestManager &http;
        WQSSqliteOperation &store;
        IHotWordList *hotWords = nullptr; // none: no hot-word list to keep in step
    };

    static const QString kCommonTable; // "DBCommonCmdList"
    static const QString kCustomTable; // "DBCustomizeCmdList"

    explicit QXCommandViewModel(Deps deps);
    QXCommandViewModel(const QXCommandViewModel &) = delete;
    QXCommandViewModel &operator=(const QXCommandViewModel &) = delete;

    const QXVoiceCommandList &commonCmdListArray();
    const QXVoiceCommandList &customizeCmdListArray();
    void setCommonCmdListArray(const QXVoiceCommandList &list) { m_common = list; }
    void setCustomizeCmdListArray(const QXVoiceCommandList &list) { m_custom = list; }

    // Creates a command table if it does not exist.
    bool createSQLTableWithtableName(const QString &tableName);

    // Fetches the common list: it becomes the in-memory list; the table follows only
    // when its row count differs. Failures change nothing.
    void requestNetCommonCmdList();
    // Whether the server's common list has been answered since launch.
    bool commonCmdListArrived() const { return m_commonArrived; }
    // Fetches the custom list and stores it; (true, the custom list read back).
    void requestNetCustomizeCmdList(Callback callback);
    // Stores a fetched custom list answer. False, changing nothing, for an answer
    // that holds no list.
    bool updateLocalCustomizeCmdList(const QJsonValue &answer);

    // Creates a custom command or hot-word entry; the server answers with the whole
    // new custom list, which replaces the stored one. (true, that list).
    void requestCreateCustomizeCmd(const QXVoiceCommandPtr &item, Callback callback);
    // Deletes a custom command or hot-word entry by its word, here and on the server.
    void requestDeleteCustomizeCmd(const QXVoiceCommandPtr &item, Callback callback);

    // The pages' view of the custom list (ICommandModel): the requests above, with the
    // failure's message text.
    const QXVoiceCommandList &customCommands() override { return customizeCmdListArray(); }
    void fetchCommonCommands() override { requestNetCommonCmdList(); }
    void fetchCustomCommands(Done done) override;
    void createCustomCommand(const QXVoiceCommandPtr &item, Done done) override;
    void deleteCustomCommand(const QXVoiceCommandPtr &item, Done done) override;

private:
    void replaceTable(const QString &tableName, const QXVoiceCommandList &list);
    void clearLists();
    std::weak_ptr<int> lifetime() const { return m_alive; }

    Deps m_deps;
    QXVoiceCommandList m_common;
    QXVoiceCommandList m_custom;
    bool m_commonArrived = false;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
