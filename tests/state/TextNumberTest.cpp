#include "TextNumber.h"
#include "CountingKeyValueStore.h"
#include "QXMouseInfoItem.h"

#include <gtest/gtest.h>

#include <limits>

// The one reading of version texts, product codes and report rates. The rows where the
// parsers it replaced disagreed say which reading was kept.
TEST(TextNumber, LeadingIntegerOfEveryKindOfText)
{
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    const struct {
        const char *what;
        QString text;
        qint64 value;
    } rows[] = {
        {"leading blanks are skipped (the interface rule read 0)", QStringLiteral(" 27"), 27},
        {"hex firmware stops at its first letter", QStringLiteral("1b"), 1},
        {"no text is 0 (the information reply read -1)", QString(), 0},
        {"a letter first is 0", QStringLiteral("V1.2"), 0},
        {"a receiver version", QStringLiteral("4.01"), 4},
        {"a sign", QStringLiteral("-12"), -12},
        {"a report rate with its unit", QStringLiteral("125Hz"), 125},
        {"Arabic-Indic digits are not digits (the voice layout read 27)", QStringLiteral("\u0662\u0667"), 0},
        {"20 digits saturate", QStringLiteral("99999999999999999999"), kMax},
        {"400 digits saturate too", QString(400, QLatin1Char('9')), kMax},
        {"the largest value is kept", QStringLiteral("9223372036854775807"), kMax},
        {"negative 20 digits saturate", QStringLiteral("-99999999999999999999"), kMin},
    };
    for (const auto &row : rows)
        EXPECT_EQ(qx::leadingInteger(row.text), row.value) << row.what;
}

TEST(TextNumber, FirmwareNumberReadsTheStoredVersion)
{
    CountingKeyValueStore store;
    QXMouseInfoItem item(store);
    EXPECT_EQ(item.firmwareNumber(), 0);
    const std::pair<const char *, qint64> rows[] = {{"1b", 1}, {"27", 27}, {"", 0}, {" 11b", 11}};
    for (const auto &[text, number] : rows) {
        item.setFirmwareVersion(QString::fromLatin1(text));
        EXPECT_EQ(item.firmwareNumber(), number) << text;
    }
}
