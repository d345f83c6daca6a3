#pragma once

#include "FakeDesktop.h"
#include "network/NetTestFixture.h"

#include "KeyValueStore.h"
#include "QXLanguageManager.h"
#include "TargetRecords.h"
#include "commands/IHotWordList.h"
#include "commands/QXCmdService.h"
#include "commands/QXCommandViewModel.h"
#include "delivery/TextInsertionService.h"
#include "sqlite/WQSSqliteOperation.h"
#include "translation/QXSpeechTranslation.h"

#include <QTemporaryDir>

#include <map>

struct RecordingHotWords : IHotWordList {
    int clears = 0;
    QXVoiceCommandList removed;
    void clearHotWords() override { ++clears; }
    void removeHotWord(const QXVoiceCommandPtr &entry) override { removed << entry; }
};

// The maker's API on a local server answering per path (translations echo the text as
// "T[text]"), a temporary command store, and the voice commands and translation over
// recording fakes.
class Vox5Test : public NetTest {
protected:
    void SetUp() override
    {
        NetTest::SetUp();
        server.setHandler([this](const HttpRequestRecord &r) {
            if (const auto it = replies.find(r.path); it != replies.end())
                return it->second;
            const QString text = r.queryValue("text");
            const QJsonObject data{{"text", text}, {"transText", "T[" + text + "]"}};
            return HttpScriptedReply::json(QJsonDocument(QJsonObject{{"rc", 0}, {"data", data}}).toJson());
        });
        for (const QString &table : {QXCommandViewModel::kCommonTable, QXCommandViewModel::kCustomTable})
            ASSERT_TRUE(model.createSQLTableWithtableName(table));
    }
    static HttpScriptedReply jsonReply(const QByteArray &body) { return HttpScriptedReply::json(body); }
    void settle()
    {
        (void)QTest::qWaitFor([this] { return client().requestsInFlight() == 0; }, 5000);
        QCoreApplication::processEvents();
    }
    static QStringList words(const QXVoiceCommandList &list)
    {
        QStringList w;
        for (const auto &item : list)
            w << item->customCmd.value_or(item->cmdWord.value_or(QStringLiteral("-")));
        return w;
    }
    QStringList rows(const QString &table)
    {
        return words(qxVoiceCommandPointers(store.selectAllDataBaseWithtableName<QXVoiceCommandItem>(table)));
    }
    struct Outcome {
        int calls = 0;
        bool ok = false;
        QXVoiceCommandList list;
    };
    QXCommandViewModel::Callback recorder(Outcome &o)
    {
        return [&o](bool ok, const QXVoiceCommandList &list, const QXNetError &) { o = {o.calls + 1, ok, list}; };
    }

    std::map<QByteArray, HttpScriptedReply> replies;
    QTemporaryDir dir;
    WQSSqliteOperation store{dir.filePath("commands.sqlite")};
    RecordingHotWords hotWords;
    QXCommandViewModel model{{client(), store, &hotWords}};
    FakeWorkspace workspace;
    FakeKeyPoster keys;
    FakeClipboard clipboard;
    MemoryKeyValueStore prefs;
    TargetRecords records{prefs}; // the targets the user picked
    TextInsertionService text{{clipboard, keys}};
    QXCmdService runner{{model, workspace, text, &records}};

    QXLanguageManager languages{prefs};
    int pressType = 37;
    bool hadStart = true;
    QStringList shown, pasted;
    QXSpeechTranslation translation{{client(), languages, [this] { return pressType; }, [this] { return hadStart; },
                                     [this](const QString &t) { shown << t; },
                                     [this](const QString &t) { pasted << t; }}};
};
