#pragma once

#include "sqlite/SqliteColumn.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <mutex>
#include <optional>

struct sqlite3;

// The local SQLite store of voice commands, hot words and transcription jobs.
//
// Every operation runs on the caller's thread, returns when the database has answered
// and calls its completion (which may be empty) exactly once, after the store is free
// again, so a completion may call the store. Completions take (success, error): the
// error is empty on success and the database's message on failure. Operations are
// serialised on one connection, so batches from several threads never interleave.
//
// Values always go in as bound parameters; table and column names must match
// [A-Za-z_][A-Za-z0-9_]* and anything else is refused with a message. Columns carry no
// declared type and every value is stored as text, integers as their decimal text, so
// files written by other versions of the application read the same.
class WQSSqliteOperation {
public:
    using Completion = std::function<void(bool success, const QString &error)>;
    // failed: the model whose statement failed (the batch stops there and keeps the
    // models before it); when the batch could not run at all or its commit failed,
    // nothing was stored and every model is in it.
    template <typename Row>
    using BatchCompletion = std::function<void(bool success, const QList<Row> &failed, const QString &error)>;
    // One row as column name -> text; NULL columns are left out.
    using Record = QMap<QString, QString>;

    // The process-wide instance, which the composition root constructed and installed.
    static WQSSqliteOperation &shareOperation();
    static WQSSqliteOperation *setSharedInstance(WQSSqliteOperation *instance); // returns the previous one

    // An empty path stands for the application's database file, resolved when the
    // store is first used. The file is opened on first use and stays open.
    explicit WQSSqliteOperation(QString path = {});
    ~WQSSqliteOperation();
    WQSSqliteOperation(const WQSSqliteOperation &) = delete;
    WQSSqliteOperation &operator=(const WQSSqliteOperation &) = delete;

    // The database file (the application's, when none was given).
    QString filePath() const;

    // "create table if not exists" over the row type's columns: an existing table keeps
    // the columns it was made with. A database that cannot be read is kept as
    // "<file>.unreadable-<time>", unchanged, and a fresh one takes its place.
    template <typename Row>
    bool createTableWithtableName(const QString &tableName, const Row & = Row(), QString *error = nullptr)
    {
        return createTable(tableName, columnNames<Row>(), error);
    }

    // Inserts the row's set values.
    template <typename Row>
    void insertDataBaseWithtableName(const QString &tableName, const Row &model, const Completion &completed)
    {
        finish(completed, insertRows(tableName, {valuesOf(model)}));
    }

    // Inserts the models in order inside one transaction: a crash leaves all or none of
    // them in the file.
    template <typename Row>
    void insertsDataBaseWithtableName(const QString &tableName, const QList<Row> &modelArr,
                                      const BatchCompletion<Row> &completed)
    {
        QList<RowValues> rows;
        rows.reserve(modelArr.size());
        for (const Row &model : modelArr)
            rows.append(valuesOf(model));
        finishBatch(completed, modelArr, insertRows(tableName, rows));
    }

    // Updates the row whose fieldName holds the model's value of that column, setting
    // every set value of the model.
    template <typename Row>
    void updataTableWithtableName(const QString &tableName, const QString &fieldName, const Row &model,
                                  const Completion &completed)
    {
        finish(completed, updateRows(tableName, fieldName, {updateOf(fieldName, model)}));
    }

    template <typename Row>
    void updataTableWithtableName(const QString &tableName, const QString &fieldName, const QList<Row> &modelArr,
                                  const BatchCompletion<Row> &completed)
    {
        QList<RowUpdate> rows;
        rows.reserve(modelArr.size());
        for (const Row &model : modelArr)
            rows.append(updateOf(fieldName, model));
        finishBatch(completed, modelArr, updateRows(tableName, fieldName, rows));
    }

    // Every row as a model, in the database's order. Columns the row type does not have
    // are ignored; a failed query (a missing table, an unopenable file) gives an empty
    // list and, when asked for, its message.
    template <typename Row>
    QList<Row> selectAllDataBaseWithtableName(const QString &tableName, QString *error = nullptr)
    {
        const auto columns = Row::sqliteColumns();
        QList<Row> models;
        const bool ok = selectRows(tableName, nullptr, 0, error,
                                   [&](const QStringList &names, const QList<std::optional<QString>> &values) {
                                       Row model;
                                       for (qsizetype i = 0; i < names.size(); ++i) {
                                           for (const auto &column : columns) {
                                               if (column.assign && names[i] == QLatin1String(column.name)) {
                                                   column.assign(model, values[i]);
                                                   break;
                                               }
                                           }
                                       }
                                       models.append(std::move(model));
                                   });
        if (!ok)
            models.clear();
        return models;
    }

    void delectDataBaseWithtableName(const QString &tableName, const QString &fieldName, const QString &fieldNameValue,
                                     const Completion &completed);
    void delectAllDataBaseWithtableName(const QString &tableName, const Completion &completed);
    bool delectTableWithtableName(const QString &tableName);
    bool cleanTableWithtableName(const QString &tableName);

    // Conditions "column = value" for every entry, joined by "and" (selectType 0) or
    // "or" (selectType 1); other types and an empty dictionary are refused.
    void delectDataBaseWithtableName(const QString &tableName, const QMap<QString, QString> &byParameter,
                                     int selectType, const Completion &completed);
    QList<Record> selectAllDataBaseWithtableName(const QString &tableName, QString *error = nullptr);
    QList<Record> selectAllDataBaseWithtableName(const QString &tableName, const QMap<QString, QString> &byParameter,
                                                 int selectType, QString *error = nullptr);

    // Adds an integer column to an existing table.
    void addNewPropertyWithtableName(const QString &tableName, const QString &propertyName,
                                     const Completion &completed);

private:
    struct Outcome {
        bool ok = true;
        QString error;
        qsizetype failedIndex = -1; // batches: the row that failed; -1 with !ok means all
    };
    struct RowValues {
        QStringList names;
        QList<QString> texts;
    };
    struct RowUpdate {
        RowValues values;
        std::optional<QString> key; // unset: the model has no value to find its row by
        bool keyIsColumn = false;
    };
    using RowSink = std::function<void(const QStringList &names, const QList<std::optional<QString>> &values)>;

    template <typename Row> static QStringList columnNames()
    {
        QStringList names;
        for (const auto &column : Row::sqliteColumns())
            names.append(QLatin1String(column.name));
        return names;
    }
    template <typename Row> static RowValues valuesOf(const Row &model)
    {
        RowValues values;
        for (const auto &column : Row::sqliteColumns()) {
            if (std::optional<QString> text = column.value(model)) {
                values.names.append(QLatin1String(column.name));
                values.texts.append(*text);
            }
        }
        return values;
    }
    template <typename Row> static RowUpdate updateOf(const QString &fieldName, const Row &model)
    {
        RowUpdate update;
        update.values = valuesOf(model);
        for (const auto &column : Row::sqliteColumns()) {
            if (fieldName == QLatin1String(column.name)) {
                update.keyIsColumn = true;
                update.key = column.value(model);
            }
        }
        return update;
    }
    static void finish(const Completion &completed, const Outcome &outcome)
    {
        if (completed)
            completed(outcome.ok, outcome.error);
    }
    template <typename Row>
    static void finishBatch(const BatchCompletion<Row> &completed, const QList<Row> &models, const Outcome &outcome)
    {
        if (!completed)
            return;
        QList<Row> failed;
        if (!outcome.ok) {
            if (outcome.failedIndex >= 0 && outcome.failedIndex < models.size())
                failed.append(models[outcome.failedIndex]);
            else
                failed = models;
        }
        completed(outcome.ok, failed, outcome.error);
    }

    bool createTable(const QString &tableName, const QStringList &columns, QString *error);
    Outcome insertRows(const QString &tableName, const QList<RowValues> &rows);
    Outcome updateRows(const QString &tableName, const QString &fieldName, const QList<RowUpdate> &rows);
    // byParameter null: every row.
    bool selectRows(const QString &tableName, const QMap<QString, QString> *byParameter, int selectType, QString *error,
                    const RowSink &sink);
    QList<Record> selectRecords(const QString &tableName, const QMap<QString, QString> *byParameter, int selectType,
                                QString *error);
    // Runs one statement under the store's lock.
    Outcome run(const QString &sql, const QList<std::optional<QString>> &values);
    // Runs the statements in one transaction under the store's lock.
    Outcome runBatch(const QList<std::pair<QString, QList<std::optional<QString>>>> &statements);

    // Callers hold m_mutex.
    sqlite3 *databaseLocked(QString *error);
    sqlite3 *openLocked(const QString &path, QString *error);
    sqlite3 *setAsideLocked(const QString &path, const QString &reason, QString *error);
    bool executeLocked(sqlite3 *db, const QString &sql, const QList<std::optional<QString>> &values, QString *error,
                       const RowSink *sink = nullptr);
    Outcome batchLocked(const QList<std::pair<QString, QList<std::optional<QString>>>> &statements);

    std::mutex m_mutex;
    QString m_path;
    sqlite3 *m_db = nullptr;
    bool m_openFailureLogged = false;
};
