#include "QXUsbInfoManager.h"
#include "ReceiverTable.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace rx = qx::receivers;

namespace {

// Every vendor and product id the tables know: the receivers' and the maker's mice.
QSet<int> knownIds()
{
    QSet<int> ids;
    for (const rx::ReceiverRow &row : rx::receiverTable())
        ids << row.vendorId << row.productId;
    for (int pid = 0; pid <= 0xFFFF; ++pid)
        if (rx::mouseSourceOfProduct(rx::kMakerVendorId, quint16(pid)))
            ids << pid;
    return ids;
}

// The id literals of a source text outside its comments, as "line: literal".
QStringList idLiterals(const QString &source, const QSet<int> &ids)
{
    static const QRegularExpression comments(QStringLiteral(R"(//[^\n]*|/\*.*?\*/)"),
                                             QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression literal(QStringLiteral(R"(\b0[xX]([0-9A-Fa-f]{4})\b)"));
    QString code = source;
    // Comments become blanks of the same shape, so line numbers stay.
    for (auto m = comments.globalMatch(source); m.hasNext();) {
        const auto c = m.next();
        for (qsizetype i = c.capturedStart(); i < c.capturedEnd(); ++i)
            if (code[i] != QLatin1Char('\n'))
                code[i] = QLatin1Char(' ');
    }
    QStringList found;
    for (auto m = literal.globalMatch(code); m.hasNext();) {
        const auto l = m.next();
        if (ids.contains(l.captured(1).toInt(nullptr, 16)))
            found << QStringLiteral("%1: %2")
                         .arg(code.left(l.capturedStart()).count(QLatin1Char('\n')) + 1)
                         .arg(l.captured());
    }
    return found;
}

} // namespace

TEST(ReceiverQuirks, IdLiteralsAreFoundInCodeButNotInComments)
{
    const QSet<int> ids = knownIds();
    const struct {
        const char *source;
        int hits;
    } rows[] = {
        {"if (vid == 0x248A && pid == 0x64ab)", 2},
        {"return 0x3151; // the maker", 1},
        {"// the 0x248A receiver\n/* and 0x68AC */ int x;", 0},
        {"page = 0xFF05; big = 0x248A1;", 0}, // not an id; five digits
        {"{0x31AB, 0}", 1},                   // a mouse of the maker
    };
    for (const auto &row : rows)
        EXPECT_EQ(idLiterals(QString::fromLatin1(row.source), ids).size(), row.hits) << row.source;
}

// Receivers are told apart by the columns of their rows; no other source file names
// one by its ids.
TEST(ReceiverQuirks, NoIdLiteralOutsideTheDeviceTables)
{
    const QSet<QString> tables{"ReceiverTable.h", "ReceiverTable.cpp", "BleDeviceTable.h", "BleDeviceTable.cpp"};
    const QSet<int> ids = knownIds();
    int files = 0;
    QDirIterator it(QStringLiteral(QX_SOURCE_DIR), {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo file(it.next());
        if (tables.contains(file.fileName()))
            continue;
        QFile f(file.filePath());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file.filePath().toStdString();
        ++files;
        for (const QString &hit : idLiterals(QString::fromUtf8(f.readAll()), ids))
            ADD_FAILURE() << file.filePath().toStdString() << ":" << hit.toStdString();
    }
    EXPECT_GT(files, 100);
}

// The quirks that used to be private copies, read from the rows.
TEST(ReceiverQuirks, QuirkColumns)
{
    const struct {
        const char *what;
        quint16 vid, pid;
        rx::Flag flag;
    } rows[] = {
        {"plan-4 re-framing", 0x3151, 0x12AB, rx::kReframedReports},
        {"114-byte voice units", 0x248A, 0x68AC, rx::kLargeVoiceUnits},
        {"16 kHz PCM", 0x248A, 0x64AB, rx::kWideBandPcm},
        {"hidapi word receiver", 0x13BA, 0x12AB, rx::kF2SwitchesMode},
        {"hidapi voice receiver", 0x13CA, 0x12AC, rx::kHidapiHotKeys},
        {"pointer reports", 0x3151, 0x23AB, rx::kPointerReports},
        {"ORVANE microphone", 0x25CA, 0x24AC, rx::kOrvaneAudio},
        {"no report-rate choice", 0x248A, 0x61AB, rx::kFixedReportRate},
    };
    for (const auto &row : rows) {
        int carriers = 0;
        for (const rx::ReceiverRow &r : rx::receiverTable())
            carriers += r.has(row.flag);
        EXPECT_TRUE(rx::receiverHas(row.vid, row.pid, row.flag)) << row.what;
        EXPECT_EQ(carriers, row.flag == rx::kHidapiHotKeys ? 2 : 1) << row.what;
    }

    // The hot-key receivers and the family each switches to (0: it keeps its own).
    const std::tuple<quint16, quint16, int> hotKeys[] = {
        {0x13BA, 0x12AB, 0}, {0x13CA, 0x12AC, 0}, {0x3151, 0x20AB, 2}, {0x248A, 0x64AB, 6}};
    int hotKeyRows = 0;
    for (const rx::ReceiverRow &r : rx::receiverTable())
        hotKeyRows += r.has(rx::kHotKey);
    EXPECT_EQ(hotKeyRows, 4);
    for (const auto &[vid, pid, plan] : hotKeys) {
        ASSERT_TRUE(rx::receiverHas(vid, pid, rx::kHotKey)) << vid << ":" << pid;
        EXPECT_EQ(rx::findReceiver(vid, pid)->hotKeyPlan, plan) << vid << ":" << pid;
    }

    // The USB arrival monitor's pairs, in the order it always watched them.
    const std::pair<int, int> watched[] = {{0x25BA, 0x24AB}, {0x25AA, 0x24BB}, {0xAC21, 0xAC22}, {0x27BA, 0x26AB},
                                           {0x13BA, 0x12AB}, {0x25CA, 0x24AC}, {0x13CA, 0x12AC}, {0x3151, 0x23AB},
                                           {0x3151, 0x22AB}, {0x3151, 0x50AB}, {0x10D6, 0xB010}};
    const QList<QXUsbInfoManager::Pair> pairs = QXUsbInfoManager::watchedPairs();
    ASSERT_EQ(pairs.size(), qsizetype(std::size(watched)));
    for (qsizetype i = 0; i < pairs.size(); ++i)
        EXPECT_EQ(std::make_pair(pairs[i].vendorId, pairs[i].productId), watched[i]) << i;
}
