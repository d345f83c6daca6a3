#pragma once

#include "RawDatabase.h"
#include "TempDataRoot.h"
#include "sqlite/QXTransferAudioModel.h"
#include "sqlite/QXVoiceCommandItem.h"
#include "sqlite/WQSSqliteOperation.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QXVoiceCommandItem &item, std::ostream *os)
{
    auto text = [](const std::optional<QString> &v) {
        return v ? "\"" + v->toStdString() + "\"" : std::string("unset");
    };
    *os << "{" << text(item.cmdType) << ", " << text(item.customCmd) << ", " << text(item.customName) << ", "
        << text(item.cmdWord) << ", " << text(item.cmdExecute) << "}";
}

// What a completion was called with, and how often.
struct Reply {
    int calls = 0;
    bool ok = false;
    QString error;

    WQSSqliteOperation::Completion completion()
    {
        return [this](bool success, const QString &message) {
            ++calls;
            ok = success;
            error = message;
        };
    }
};

template <typename Row> struct BatchReply {
    int calls = 0;
    bool ok = false;
    QList<Row> failed;
    QString error;

    WQSSqliteOperation::BatchCompletion<Row> completion()
    {
        return [this](bool success, const QList<Row> &f, const QString &message) {
            ++calls;
            ok = success;
            failed = f;
            error = message;
        };
    }
};

inline QXVoiceCommandItem voiceItem(std::optional<QString> cmdType, std::optional<QString> customCmd,
                                    std::optional<QString> customName = std::nullopt)
{
    QXVoiceCommandItem item;
    item.cmdType = std::move(cmdType);
    item.customCmd = std::move(customCmd);
    item.customName = std::move(customName);
    return item;
}

inline const QString kCustomTable = QStringLiteral("DBCustomizeCmdList");
inline const QString kTransferTable = QStringLiteral("DBTransferAudioList");

// A store on the application's database file inside a fresh data root.
class StoreTest : public DataRootTest {
protected:
    QString databasePath() const { return root.file("QXSqliteDataBase.sqlite"); }
    WQSSqliteOperation store;
};
