// The string tables are whole: every text the application shows has an entry in each
// of the 18 interface languages, and every Chinese text in the sources that is not a
// log line or data is a key of the tables.
#include "HRVLocalizedString.h"
#include "QXLanguageManager.h"

#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QJsonObject table(const QString &folder)
{
    QFile file(QStringLiteral(QX_SOURCE_DIR "/foundation/i18n/%1.json").arg(folder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

bool hasHan(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x4e00 && c.unicode() <= 0x9fff; });
}

// Sources whose Chinese texts nobody reads on a screen, and why.
const struct {
    const char *file;
    const char *why;
} kNotShown[] = {
    {"foundation/log/", "the developers' log"},
    {"foundation/crash/", "the crash report the developers read"},
    {"device/transport/BleDeviceTable.cpp", "the adapter's state, written to the log"},
    {"device/transport/ReceiverTable.cpp", "receiver names written to the log"},
    {"foundation/QXLanguageManager.cpp", "speech-language names, already written in each interface language"},
    {"foundation/QXToolManager.cpp", "errors of the desktop-folder helper, which no screen shows"},
    {"voice/asr/QXWebApiAsrService.cpp", "a word matched in the speech service's language names"},
    {"assistant/QXSemanticManager.cpp", "the Chinese assistant's task names and its spoken answer"},
    {"assistant/aiweb/AiPageUrlBuilder.cpp", "a parameter of the Chinese AI page's address"},
    {"pages/commands/QXTransferAudioView.cpp", "the heading written into a transcript file"},
};

bool notShown(const QString &path)
{
    return std::any_of(std::begin(kNotShown), std::end(kNotShown),
                       [&](const auto &row) { return path.contains(QLatin1String(row.file)); });
}

struct Literal {
    qsizetype at;
    QString text;
};

// The string literals of a C++ source, and the source with literals and comments
// blanked (so a search for statement ends sees only code).
QList<Literal> literals(const QString &code, QString &blank)
{
    QList<Literal> out;
    blank = code;
    const qsizetype n = code.size();
    auto clear = [&](qsizetype from, qsizetype to) {
        for (qsizetype k = from; k < to && k < n; ++k)
            blank[k] = u' ';
    };
    static const QRegularExpression raw(QStringLiteral(R"re(\GR"([^(\s]*)\()re"));
    QRegularExpressionMatch m;
    for (qsizetype i = 0; i < n;) {
        const QChar c = code[i];
        if (code.mid(i, 2) == QLatin1String("//")) {
            qsizetype end = code.indexOf(u'\n', i);
            end = end < 0 ? n : end;
            clear(i, end);
            i = end;
        } else if (code.mid(i, 2) == QLatin1String("/*")) {
            qsizetype end = code.indexOf(QLatin1String("*/"), i + 2);
            end = end < 0 ? n : end + 2;
            clear(i, end);
            i = end;
        } else if (c == u'R' && i + 1 < n && code[i + 1] == u'"' && (m = raw.match(code, i)).hasMatch()) {
            const QString close = u')' + m.captured(1) + u'"';
            qsizetype end = code.indexOf(close, i);
            end = end < 0 ? n : end;
            out.append({i, code.mid(i + m.capturedLength(), end - i - m.capturedLength())});
            clear(i, end + close.size());
            i = end + close.size();
        } else if (c == u'"') {
            QString text;
            qsizetype j = i + 1;
            for (; j < n && code[j] != u'"'; ++j) {
                if (code[j] == u'\\' && j + 1 < n) {
                    ++j;
                    text += code[j] == u'n' ? QChar(u'\n') : code[j];
                } else {
                    text += code[j];
                }
            }
            out.append({i, text});
            clear(i, j + 1);
            i = j + 1;
        } else if (c == u'\'' && !(i > 0 && code[i - 1].isDigit())) {
            // A character literal ('"', '\''); a digit separator (1'000) is none.
            qsizetype j = i + 1;
            if (j < n && code[j] == u'\\')
                ++j;
            j = code.indexOf(u'\'', j + 1);
            j = j < 0 ? n : j;
            clear(i, j + 1);
            i = j + 1;
        } else {
            ++i;
        }
    }
    return out;
}

TEST(LookTables, EveryTableHasEveryKey)
{
    const QJsonObject english = table(QStringLiteral("en"));
    ASSERT_GT(english.size(), 200);
    for (quint64 index = 0; index < QXLanguageManager::kUiLanguageCount; ++index) {
        const QString folder = HRVLocalizedString::folderForIndex(index);
        SCOPED_TRACE(folder.toStdString());
        const QJsonObject texts = table(folder);
        QStringList missing;
        for (auto it = english.begin(); it != english.end(); ++it) {
            // In Simplified Chinese a Chinese key is its own text.
            if (folder == QLatin1String("zh-Hans") && hasHan(it.key()))
                continue;
            if (texts.value(it.key()).toString().trimmed().isEmpty())
                missing << it.key();
        }
        EXPECT_TRUE(missing.isEmpty()) << missing.size()
                                       << " missing: " << missing.mid(0, 12).join(QStringLiteral(" | ")).toStdString();
    }
}

// A text reaches the localiser through a literal, a variable or a table; whichever, it
// is written somewhere in the sources as Chinese.
TEST(LookTables, EveryChineseTextInTheSourcesIsAKeyUnlessItIsALogLine)
{
    const QJsonObject english = table(QStringLiteral("en"));
    static const QRegularExpression logCall(QStringLiteral(
        R"(\b(writeLog|qxInfo|qxWarning|qxError|qxDebug|qxLog\w*|qDebug|qInfo|qWarning|qCritical|f?printf)\b|<<)"));
    QStringList missing;
    int keys = 0;
    QDirIterator it(QStringLiteral(QX_SOURCE_DIR), {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (notShown(path))
            continue;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QString blank;
        for (const Literal &literal : literals(QString::fromUtf8(file.readAll()), blank)) {
            if (!hasHan(literal.text))
                continue;
            // The statement the text stands in, up to the text: a log call's text is none.
            qsizetype start = 0;
            for (QChar end : {u';', u'{', u'}'})
                start = std::max(start, blank.lastIndexOf(end, literal.at));
            if (logCall.match(blank.mid(start, literal.at - start)).hasMatch())
                continue;
            ++keys;
            if (!english.contains(literal.text))
                missing << literal.text + QStringLiteral(" (") + it.fileName() + u')';
        }
    }
    EXPECT_GT(keys, 200); // the walk still finds the texts
    EXPECT_TRUE(missing.isEmpty()) << "not in the tables: " << missing.join(QStringLiteral(", ")).toStdString();
}

} // namespace
