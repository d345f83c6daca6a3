#include "QXCommandViewModel.h"

#include "IHotWordList.h"
#include "PZLog.h"
#include "QXHttpRequestManager.h"
#include "scenes/QXAddCommandScene.h"
#include "scenes/QXCommonCmdListScene.h"
#include "scenes/QXCustomInstructionScene.h"
#include "scenes/QXDeleteCommandScene.h"
#include "sqlite/WQSSqliteOperation.h"

const QString QXCommandViewModel::kCommonTable = QStringLiteral("DBCommonCmdList");
const QString QXCommandViewModel::kCustomTable = QStringLiteral("DBCustomizeCmdList");

namespace {

QXNetError shapeError(const QString &what)
{
    return QXNetError{QXNetError::Kind::Shape, QStringLiteral("unexpected answer: ") + what, 0};
}

void logStoreFailure(const QString &what, bool ok, const QString &error)
{
    if (!ok)
        qxWarning("commands") << what << "failed:" << error;
}

} // namespace

QXCommandViewModel::QXCommandViewModel(Deps deps) : m_deps(deps) {}

const QXVoiceCommandList &QXCommandViewModel::commonCmdListArray()
{
    if (m_common.isEmpty())
        m_common =
            qxVoiceCommandPointers(m_deps.store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCommonTable));
    return m_common;
}

const QXVoiceCommandList &QXCommandViewModel::customizeCmdListArray()
{
    if (m_custom.isEmpty()) {
        for (const QXVoiceCommandItem &row :
             m_deps.store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCustomTable)) {
            if (row.typeIndex() != 5)
                m_custom.append(std::make_shared<QXVoiceCommandItem>(row));
        }
    }
    return m_custom;
}

bool QXCommandViewModel::createSQLTableWithtableName(const QString &tableName)
{
    return m_deps.store.createTableWithtableName<QXVoiceCommandItem>(tableName);
}

void QXCommandViewModel::replaceTable(const QString &tableName, const QXVoiceCommandList &list)
{
    // The lists are fetched at launch, while the tables are made only once a device
    // appears: without this a list answered before then would be emptied from memory
    // and never stored.
    if (!createSQLTableWithtableName(tableName))
        qxWarning("commands") << "cannot make" << tableName;
    m_deps.store.delectAllDataBaseWithtableName(tableName, [&](bool ok, const QString &error) {
        logStoreFailure(QStringLiteral("emptying ") + tableName, ok, error);
    });
    m_deps.store.insertsDataBaseWithtableName<QXVoiceCommandItem>(
        tableName, qxVoiceCommandValues(list), [&](bool ok, const QList<QXVoiceCommandItem> &, const QString &error) {
            logStoreFailure(QStringLiteral("storing ") + tableName, ok, error);
        });
}

void QXCommandViewModel::clearLists()
{
    m_custom.clear();
    if (m_deps.hotWords)
        m_deps.hotWords->clearHotWords();
}

void QXCommandViewModel::requestNetCommonCmdList()
{
    m_deps.http.httpRequestWithScene(
        std::make_shared<QXCommonCmdListScene>(),
        [this, alive = lifetime()](bool success, const QJsonValue &result, const QXNetError &error) {
            if (alive.expired())
                return;
            const QJsonValue data = result.toObject().value(QStringLiteral("data"));
            if (!success || !data.isArray()) {
                qxInfo("commands") << "common commands not fetched:" << (success ? "no list" : error.message);
                return;
            }
            m_common = qxVoiceCommandsFromJson(data.toArray());
            m_commonArrived = true;
            // Only the count decides: the stored common list follows the server's size.
            const auto stored = m_deps.store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCommonTable);
            if (stored.size() != m_common.size())
                replaceTable(kCommonTable, m_common);
        });
}

bool QXCommandViewModel::updateLocalCustomizeCmdList(const QJsonValue &answer)
{
    const std::optional<QXVoiceCommandListItem> reply = QXVoiceCommandListItem::fromJson(answer);
    if (!reply)
        return false;
    const QXVoiceCommandList &list = reply->commands();
    clearLists();
    // By content, not by count: an edit made elsewhere that keeps the number of
    // commands would otherwise never arrive, and the stale commands would be matched.
    if (m_deps.store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(kCustomTable) != qxVoiceCommandValues(list))
        replaceTable(kCustomTable, list);
    return true;
}

void QXCommandViewModel::requestNetCustomizeCmdList(Callback callback)
{
    m_deps.http.httpRequestWithScene(
        std::make_shared<QXCustomInstructionScene>(),
        [this, alive = lifetime(), callback](bool success, const QJsonValue &result, const QXNetError &error) {
            if (alive.expired())
                return;
            const bool stored = success && updateLocalCustomizeCmdList(result);
            if (!callback)
                return;
            if (stored)
                callback(true, customizeCmdListArray(), {});
            else
                callback(false, {}, success ? shapeError(QStringLiteral("no command list")) : error);
        });
}

void QXCommandViewModel::requestCreateCustomizeCmd(const QXVoiceCommandPtr &item, Callback callback)
{
    if (!item) {
        if (callback)
            callback(false, {}, QXNetError{QXNetError::Kind::InvalidRequest, QStringLiteral("no command"), 0});
        return;
    }
    QXStringMap parameters = QXNetBaseScene::defaultClientFields();
    parameters.insert(QStringLiteral("customName"), item->customName.value_or(QString()));
    parameters.insert(QStringLiteral("customCmd"), item->customCmd.value_or(QString()));
    parameters.insert(QStringLiteral("cmdType"), item->cmdType.value_or(QString()));
    auto scene = std::make_shared<QXAddCommandScene>();
    scene->setMyParameters(parameters);
    m_deps.http.httpRequestWithScene(
        scene, [this, alive = lifetime(), callback](bool success, const QJsonValue &result, const QXNetError &error) {
            if (alive.expired())
                return;
            if (success && !result.isArray()) {
                // Storing "nothing" here would wipe every command the user has.
                success = false;
                qxWarning("commands") << "create answered without a command list";
            }
            if (!success) {
                if (callback)
                    callback(false, {}, error.isError() ? error : shapeError(QStringLiteral("no command list")));
                return;
            }
            const QXVoiceCommandList list = qxVoiceCommandsFromJson(result.toArray());
            clearLists();
            replaceTable(kCustomTable, list);
            if (callback)
                callback(true, list, {});
        });
}

void QXCommandViewModel::requestDeleteCustomizeCmd(const QXVoiceCommandPtr &item, Callback callback)
{
    if (!item) {
        if (callback)
            callback(false, {}, QXNetError{QXNetError::Kind::InvalidRequest, QStringLiteral("no command"), 0});
        return;
    }
    QXStringMap parameters = QXNetBaseScene::defaultClientFields();
    parameters.insert(QStringLiteral("customCmd"), item->customCmd.value_or(QString()));
    auto scene = std::make_shared<QXDeleteCommandScene>();
    scene->setMyParameters(parameters);
    m_deps.http.httpRequestWithScene(scene, [this, alive = lifetime(), item, callback](bool success, const QJsonValue &,
                                                                                       const QXNetError &error) {
        if (alive.expired())
            return;
        if (!success) {
            if (callback)
                callback(false, {}, error);
            return;
        }
        const QString word = item->customCmd.value_or(QString());
        if (item->typeIndex() == 5) {
            if (m_deps.hotWords)
                m_deps.hotWords->removeHotWord(item);
        }
        // The table loses every row with this word, so the list drops them all too:
        // memory and table agree without a reload.
        m_custom.removeIf(
            [&](const QXVoiceCommandPtr &c) { return c == item || c->customCmd.value_or(QString()) == word; });
        m_deps.store.delectDataBaseWithtableName(
            kCustomTable, QStringLiteral("customCmd"), word,
            [](bool ok, const QString &error) { logStoreFailure(QStringLiteral("deleting a command"), ok, error); });
        if (callback)
            callback(true, {}, {});
    });
}

void QXCommandViewModel::fetchCustomCommands(Done done)
{
    requestNetCustomizeCmdList([done = std::move(done)](bool ok, const QXVoiceCommandList &, const QXNetError &error) {
        if (done)
            done(ok, error.message);
    });
}

void QXCommandViewModel::createCustomCommand(const QXVoiceCommandPtr &item, Done done)
{
    requestCreateCustomizeCmd(item,
                              [done = std::move(done)](bool ok, const QXVoiceCommandList &, const QXNetError &error) {
                                  if (done)
                                      done(ok, error.message);
                              });
}

void QXCommandViewModel::deleteCustomCommand(const QXVoiceCommandPtr &item, Done done)
{
    requestDeleteCustomizeCmd(item,
                              [done = std::move(done)](bool ok, const QXVoiceCommandList &, const QXNetError &error) {
                                  if (done)
                                      done(ok, error.message);
                              });
}
