#include "sqlite/WQSSqliteOperation.h"

#include "DataPaths.h"
#include "InstalledInstance.h"
#include "PZLog.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace {

using Values = QList<std::optional<QString>>;

bool isIdentifier(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
        const bool digit = c >= u'0' && c <= u'9';
        if (!letter && !(digit && i > 0))
            return false;
    }
    return true;
}

// Checks every name; on the first bad one fills error and returns false.
bool checkIdentifiers(const QString &table, const QStringList &columns, QString *error)
{
    if (!isIdentifier(table)) {
        *error = QStringLiteral("invalid table name \"%1\"").arg(table);
        return false;
    }
    for (const QString &column : columns) {
        if (!isIdentifier(column)) {
            *error = QStringLiteral("invalid column name \"%1\"").arg(column);
            return false;
        }
    }
    return true;
}

QString conditionText(const QMap<QString, QString> &byParameter, int selectType, Values *values, QString *error)
{
    if (selectType != 0 && selectType != 1) {
        *error = QStringLiteral("unknown condition type %1").arg(selectType);
        return {};
    }
    if (byParameter.isEmpty()) {
        *error = QStringLiteral("no condition given");
        return {};
    }
    QStringList parts;
    for (auto it = byParameter.cbegin(); it != byParameter.cend(); ++it) {
        parts.append(it.key() + QStringLiteral(" = ?"));
        values->append(it.value());
    }
    return parts.join(selectType == 0 ? QStringLiteral(" and ") : QStringLiteral(" or "));
}

class Statement {
public:
    ~Statement() { sqlite3_finalize(m_stmt); }
    sqlite3_stmt **out() { return &m_stmt; }
    sqlite3_stmt *get() const { return m_stmt; }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

QString lastError(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

} // namespace

WQSSqliteOperation &WQSSqliteOperation::shareOperation()
{
    return InstalledInstance<WQSSqliteOperation>::get("WQSSqliteOperation");
}

WQSSqliteOperation *WQSSqliteOperation::setSharedInstance(WQSSqliteOperation *instance)
{
    return InstalledInstance<WQSSqliteOperation>::install(instance);
}

WQSSqliteOperation::WQSSqliteOperation(QString path) : m_path(std::move(path)) {}

WQSSqliteOperation::~WQSSqliteOperation()
{
    sqlite3_close_v2(m_db);
}

QString WQSSqliteOperation::filePath() const
{
    return m_path.isEmpty() ? DataPaths::getFilePath("/QXSqliteDataBase.sqlite") : m_path;
}

sqlite3 *WQSSqliteOperation::openLocked(const QString &path, QString *error)
{
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = db ? lastError(db) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        *error = QStringLiteral("cannot open the database %1: %2").arg(path, reason);
        return nullptr;
    }
    // The commands and history are the owner's alone; SQLite gives its journals the
    // database file's mode.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // Another process holding the file (a second instance, a backup tool) gets a
    // moment to finish instead of failing the statement at once.
    sqlite3_busy_timeout(db, 5000);
    return db;
}

sqlite3 *WQSSqliteOperation::databaseLocked(QString *error)
{
    if (m_db)
        return m_db;
    // Opening is retried on every use until it works, so a data folder that appears
    // later is picked up; the failure is logged once.
    const QString path = filePath();
    DataPaths::ensureDir(QFileInfo(path).absolutePath());
    sqlite3 *db = openLocked(path, error);
    if (!db) {
        if (!m_openFailureLogged) {
            m_openFailureLogged = true;
            writeLog(*error);
        }
        return nullptr;
    }
    // Opening reads nothing; a damaged file shows on its first statement. It must be
    // found here, before a table is made or a row written into it.
    QString reason;
    if (executeLocked(db, QStringLiteral("pragma quick_check(1)"), {}, &reason)) {
        m_db = db;
        return m_db;
    }
    const int code = sqlite3_errcode(db) & 0xff;
    if (code != SQLITE_CORRUPT && code != SQLITE_NOTADB) {
        // Busy or unreadable for now, not damaged: the statements report it.
        m_db = db;
        return m_db;
    }
    sqlite3_close_v2(db);
    m_db = setAsideLocked(path, reason, error);
    return m_db;
}

sqlite3 *WQSSqliteOperation::setAsideLocked(const QString &path, const QString &reason, QString *error)
{
    // The damaged file is never written: it is kept, with its journal, for a repair
    // (sqlite3's .recover), and the commands start again in a fresh file.
    const QString kept = path + QStringLiteral(".unreadable-")
                         + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (QFile::rename(path, kept)) {
        for (const char *suffix : {"-journal", "-wal", "-shm"})
            if (QFile::exists(path + QLatin1String(suffix)))
                QFile::rename(path + QLatin1String(suffix), kept + QLatin1String(suffix));
        if (sqlite3 *fresh = openLocked(path, error)) {
            qxWarning("sqlite") << "the database" << path << "cannot be read (" << reason
                                << "); it was kept unchanged as" << kept
                                << "and a fresh database was started in its place; the kept file may be"
                                << "repaired with sqlite3's .recover";
            return fresh;
        }
    }
    sqlite3 *memory = openLocked(QStringLiteral(":memory:"), error);
    qxWarning("sqlite") << "the database" << path << "cannot be read (" << reason
                        << ") and cannot be moved aside; it is left unchanged and the voice commands are kept in"
                        << "memory until the app quits";
    return memory;
}

bool WQSSqliteOperation::executeLocked(sqlite3 *db, const QString &sql, const Values &values, QString *error,
                                       const RowSink *sink)
{
    const QByteArray text = sql.toUtf8();
    Statement statement;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), statement.out(), nullptr) != SQLITE_OK) {
        *error = lastError(db);
        return false;
    }
    sqlite3_stmt *stmt = statement.get();
    for (qsizetype i = 0; i < values.size(); ++i) {
        int rc;
        if (!values[i]) {
            rc = sqlite3_bind_null(stmt, int(i + 1));
        } else {
            // Explicit length: texts with NUL characters are stored whole.
            const QByteArray utf8 = values[i]->toUtf8();
            rc = sqlite3_bind_text64(stmt, int(i + 1), utf8.isNull() ? "" : utf8.constData(),
                                     sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
        }
        if (rc != SQLITE_OK) {
            *error = lastError(db);
            return false;
        }
    }
    QStringList names;
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE)
            return true;
        if (rc != SQLITE_ROW) {
            *error = lastError(db);
            return false;
        }
        if (!sink)
            continue;
        const int count = sqlite3_column_count(stmt);
        if (names.isEmpty()) {
            for (int c = 0; c < count; ++c)
                names.append(QString::fromUtf8(sqlite3_column_name(stmt, c)));
        }
        Values row;
        row.reserve(count);
        for (int c = 0; c < count; ++c) {
            const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
            if (sqlite3_column_type(stmt, c) == SQLITE_NULL || !data)
                row.append(std::nullopt);
            else
                row.append(QString::fromUtf8(data, sqlite3_column_bytes(stmt, c)));
        }
        (*sink)(names, row);
    }
}

WQSSqliteOperation::Outcome WQSSqliteOperation::run(const QString &sql, const Values &values)
{
    Outcome outcome;
    std::lock_guard lock(m_mutex);
    sqlite3 *db = databaseLocked(&outcome.error);
    outcome.ok = db && executeLocked(db, sql, values, &outcome.error);
    if (outcome.ok)
        outcome.error.clear();
    return outcome;
}

WQSSqliteOperation::Outcome WQSSqliteOperation::runBatch(const QList<std::pair<QString, Values>> &statements)
{
    if (statements.isEmpty())
        return {}; // nothing to write: done, without opening the database
    std::lock_guard lock(m_mutex);
    return batchLocked(statements);
}

WQSSqliteOperation::Outcome WQSSqliteOperation::batchLocked(const QList<std::pair<QString, Values>> &statements)
{
    Outcome outcome;
    outcome.ok = false;
    sqlite3 *db = databaseLocked(&outcome.error);
    if (!db)
        return outcome;
    // Taking the write lock up front means no other writer can slip in between the
    // begin and the first statement.
    if (!executeLocked(db, QStringLiteral("begin immediate"), {}, &outcome.error))
        return outcome;
    for (qsizetype i = 0; i < statements.size(); ++i) {
        if (!executeLocked(db, statements[i].first, statements[i].second, &outcome.error)) {
            outcome.failedIndex = i;
            break;
        }
    }
    if (sqlite3_get_autocommit(db)) {
        // Some errors (a full disk, RAISE(ROLLBACK)) end the transaction themselves:
        // nothing of the batch was kept.
        outcome.failedIndex = -1;
        return outcome;
    }
    QString commitError;
    if (!executeLocked(db, QStringLiteral("commit"), {}, &commitError)) {
        QString ignored;
        executeLocked(db, QStringLiteral("rollback"), {}, &ignored);
        outcome.failedIndex = -1;
        outcome.error = commitError;
        return outcome;
    }
    outcome.ok = outcome.failedIndex < 0;
    if (outcome.ok)
        outcome.error.clear();
    return outcome;
}

bool WQSSqliteOperation::createTable(const QString &tableName, const QStringList &columns, QString *error)
{
    QString message;
    QString *err = error ? error : &message;
    if (!checkIdentifiers(tableName, columns, err))
        return false;
    const Outcome outcome =
        run(QStringLiteral("create table if not exists %1(%2)").arg(tableName, columns.join(u',')), {});
    *err = outcome.error;
    return outcome.ok;
}

WQSSqliteOperation::Outcome WQSSqliteOperation::insertRows(const QString &tableName, const QList<RowValues> &rows)
{
    Outcome outcome;
    outcome.ok = false;
    if (!checkIdentifiers(tableName, {}, &outcome.error))
        return outcome;
    QList<std::pair<QString, Values>> statements;
    for (const RowValues &row : rows) {
        if (!checkIdentifiers(tableName, row.names, &outcome.error))
            return outcome;
        QStringList marks;
        Values values;
        for (const QString &text : row.texts) {
            marks.append(QStringLiteral("?"));
            values.append(text);
        }
        statements.append(
            {QStringLiteral("insert into %1(%2) values(%3)").arg(tableName, row.names.join(u','), marks.join(u',')),
             values});
    }
    return runBatch(statements);
}

WQSSqliteOperation::Outcome WQSSqliteOperation::updateRows(const QString &tableName, const QString &fieldName,
                                                           const QList<RowUpdate> &rows)
{
    Outcome outcome;
    outcome.ok = false;
    if (!checkIdentifiers(tableName, {fieldName}, &outcome.error))
        return outcome;
    QList<std::pair<QString, Values>> statements;
    for (const RowUpdate &row : rows) {
        if (!row.keyIsColumn || !row.key) {
            // An update that cannot name its row must not report success.
            outcome.error = row.keyIsColumn ? QStringLiteral("the model has no value for \"%1\"").arg(fieldName)
                                            : QStringLiteral("no column \"%1\" in the row type").arg(fieldName);
            return outcome;
        }
        QStringList assignments;
        Values values;
        for (qsizetype c = 0; c < row.values.names.size(); ++c) {
            assignments.append(row.values.names[c] + QStringLiteral(" = ?"));
            values.append(row.values.texts[c]);
        }
        values.append(*row.key);
        statements.append(
            {QStringLiteral("update %1 set %2 where %3 = ?").arg(tableName, assignments.join(u','), fieldName),
             values});
    }
    return runBatch(statements);
}

bool WQSSqliteOperation::selectRows(const QString &tableName, const QMap<QString, QString> *byParameter, int selectType,
                                    QString *error, const RowSink &sink)
{
    QString message;
    QString *err = error ? error : &message;
    err->clear();
    if (!checkIdentifiers(tableName, byParameter ? byParameter->keys() : QStringList(), err))
        return false;
    QString sql = QStringLiteral("select * from %1").arg(tableName);
    Values values;
    if (byParameter) {
        const QString condition = conditionText(*byParameter, selectType, &values, err);
        if (condition.isEmpty())
            return false;
        sql += QStringLiteral(" where ") + condition;
    }
    std::lock_guard lock(m_mutex);
    sqlite3 *db = databaseLocked(err);
    return db && executeLocked(db, sql, values, err, &sink);
}

void WQSSqliteOperation::delectDataBaseWithtableName(const QString &tableName, const QString &fieldName,
                                                     const QString &fieldNameValue, const Completion &completed)
{
    Outcome outcome;
    if (!checkIdentifiers(tableName, {fieldName}, &outcome.error)) {
        outcome.ok = false;
        return finish(completed, outcome);
    }
    finish(completed, run(QStringLiteral("delete from %1 where %2 = ?").arg(tableName, fieldName), {fieldNameValue}));
}

void WQSSqliteOperation::delectAllDataBaseWithtableName(const QString &tableName, const Completion &completed)
{
    Outcome outcome;
    if (!checkIdentifiers(tableName, {}, &outcome.error)) {
        outcome.ok = false;
        return finish(completed, outcome);
    }
    finish(completed, run(QStringLiteral("delete from %1").arg(tableName), {}));
}

bool WQSSqliteOperation::delectTableWithtableName(const QString &tableName)
{
    return isIdentifier(tableName) && run(QStringLiteral("drop table %1").arg(tableName), {}).ok;
}

bool WQSSqliteOperation::cleanTableWithtableName(const QString &tableName)
{
    return isIdentifier(tableName) && run(QStringLiteral("delete from %1").arg(tableName), {}).ok;
}

void WQSSqliteOperation::delectDataBaseWithtableName(const QString &tableName,
                                                     const QMap<QString, QString> &byParameter, int selectType,
                                                     const Completion &completed)
{
    Outcome outcome;
    outcome.ok = false;
    if (!checkIdentifiers(tableName, byParameter.keys(), &outcome.error))
        return finish(completed, outcome);
    Values values;
    const QString condition = conditionText(byParameter, selectType, &values, &outcome.error);
    if (condition.isEmpty())
        return finish(completed, outcome);
    finish(completed, run(QStringLiteral("delete from %1 where %2").arg(tableName, condition), values));
}

QList<WQSSqliteOperation::Record> WQSSqliteOperation::selectAllDataBaseWithtableName(const QString &tableName,
                                                                                     QString *error)
{
    return selectRecords(tableName, nullptr, 0, error);
}

QList<WQSSqliteOperation::Record>
WQSSqliteOperation::selectAllDataBaseWithtableName(const QString &tableName, const QMap<QString, QString> &byParameter,
                                                   int selectType, QString *error)
{
    return selectRecords(tableName, &byParameter, selectType, error);
}

QList<WQSSqliteOperation::Record> WQSSqliteOperation::selectRecords(const QString &tableName,
                                                                    const QMap<QString, QString> *byParameter,
                                                                    int selectType, QString *error)
{
    QList<Record> records;
    const bool ok = selectRows(tableName, byParameter, selectType, error,
                               [&](const QStringList &names, const QList<std::optional<QString>> &values) {
                                   Record record;
                                   for (qsizetype i = 0; i < names.size(); ++i) {
                                       if (values[i])
                                           record.insert(names[i], *values[i]);
                                   }
                                   records.append(record);
                               });
    if (!ok)
        records.clear();
    return records;
}

void WQSSqliteOperation::addNewPropertyWithtableName(const QString &tableName, const QString &propertyName,
                                                     const Completion &completed)
{
    Outcome outcome;
    if (!checkIdentifiers(tableName, {propertyName}, &outcome.error)) {
        outcome.ok = false;
        return finish(completed, outcome);
    }
    finish(completed, run(QStringLiteral("alter table %1 add %2 integer").arg(tableName, propertyName), {}));
}
