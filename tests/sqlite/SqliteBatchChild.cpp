// Runs one large batch into the voice-command table of the data root named by
// QX_DATA_DIR. When the database calls the SQL function batch_marker() (a trigger the
// test plants fires it in the middle of the batch), the process says "mid" on stdout
// and waits there to be killed. Exit status 0 and "done 1" when the batch completes.
#include "sqlite/QXVoiceCommandItem.h"
#include "sqlite/WQSSqliteOperation.h"

#include <QCoreApplication>

#include <sqlite3.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

void batchMarker(sqlite3_context *context, int, sqlite3_value **)
{
    static const char line[] = "mid\n";
    if (write(STDOUT_FILENO, line, sizeof line - 1) < 0)
        _exit(3);
    char c;
    // The parent never writes: this blocks until the kill arrives (or stdin closes).
    while (read(STDIN_FILENO, &c, 1) > 0) {
    }
    sqlite3_result_null(context);
}

int registerMarker(sqlite3 *db, const char **, const sqlite3_api_routines *)
{
    return sqlite3_create_function(db, "batch_marker", 0, SQLITE_UTF8, nullptr, batchMarker, nullptr, nullptr);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 0;
    // Every connection the process opens gets the marker function.
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(registerMarker));

    WQSSqliteOperation store;
    QList<QXVoiceCommandItem> batch;
    const QString filler(1000, u'x');
    for (int i = 0; i < rows; ++i) {
        QXVoiceCommandItem item;
        item.cmdType = QStringLiteral("text");
        item.customCmd = QStringLiteral("batch-%1").arg(i);
        item.customName = filler;
        batch.append(item);
    }
    bool stored = false;
    QString error;
    store.insertsDataBaseWithtableName(QStringLiteral("DBCustomizeCmdList"), batch,
                                       WQSSqliteOperation::BatchCompletion<QXVoiceCommandItem>(
                                           [&](bool ok, const QList<QXVoiceCommandItem> &, const QString &message) {
                                               stored = ok;
                                               error = message;
                                           }));
    std::printf("done %d %s\n", stored ? 1 : 0, qPrintable(error));
    return stored ? 0 : 1;
}
