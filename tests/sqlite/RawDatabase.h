#pragma once

#include <QString>
#include <QStringList>

#include <sqlite3.h>

#include <gtest/gtest.h>

// A second, plain connection to a database file, to see what the store really wrote
// and to plant rows, columns and triggers it would never make itself.
class RawDatabase {
public:
    explicit RawDatabase(const QString &path)
    {
        EXPECT_EQ(
            sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
            SQLITE_OK);
    }
    ~RawDatabase() { sqlite3_close_v2(m_db); }
    RawDatabase(const RawDatabase &) = delete;
    RawDatabase &operator=(const RawDatabase &) = delete;

    void exec(const QString &sql)
    {
        char *error = nullptr;
        const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error);
        EXPECT_EQ(rc, SQLITE_OK) << sql.toStdString() << ": " << (error ? error : "");
        sqlite3_free(error);
    }

    // Rows of a query, each column as its text or "<null>".
    QList<QStringList> rows(const QString &sql)
    {
        QList<QStringList> out;
        sqlite3_stmt *stmt = nullptr;
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(m_db);
            return out;
        }
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
                row.append(sqlite3_column_type(stmt, c) == SQLITE_NULL
                               ? QStringLiteral("<null>")
                               : QString::fromUtf8(data, sqlite3_column_bytes(stmt, c)));
            }
            out.append(row);
        }
        sqlite3_finalize(stmt);
        return out;
    }

    QString value(const QString &sql)
    {
        const auto r = rows(sql);
        return r.isEmpty() || r.first().isEmpty() ? QString() : r.first().first();
    }

private:
    sqlite3 *m_db = nullptr;
};
