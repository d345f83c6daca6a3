// What the companion believes of the AI page's helper: frames cut from a stream, and
// each event checked field by field before anything acts on it.
#include "platform/AiWebWire.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>

#include <gtest/gtest.h>

namespace {

using platform::aiwebwire::FrameReader;
using platform::aiwebwire::HelperEvent;
using platform::aiwebwire::parseHelperEvent;

QByteArray payload(const QCborMap &m)
{
    return m.toCborValue().toCbor();
}

TEST(WebLink, EventsAreBelievedOnlyWhenEveryFieldHasItsType)
{
    const QCborMap nested{{QStringLiteral("a"), QCborArray{1, QStringLiteral("b"), true}}};
    QCborValue deep = 1;
    for (int i = 0; i < 40; ++i)
        deep = QCborArray{deep};
    struct Row {
        const char *what;
        QCborMap event;
        bool believed;
    };
    const Row rows[] = {
        {"ready", {{"k", "ready"}, {"window", 4194311}, {"otr", false}}, true},
        {"ready without a window", {{"k", "ready"}, {"window", 0}, {"otr", false}}, false},
        {"ready, window as text", {{"k", "ready"}, {"window", "7"}, {"otr", false}}, false},
        {"ready, window past 32 bits", {{"k", "ready"}, {"window", (1LL << 32) + 7}, {"otr", false}}, false},
        {"load failed", {{"k", "loading"}, {"status", 3}, {"url", "http://a/p"}, {"code", 404}, {"error", "x"}}, true},
        {"load of no status",
         {{"k", "loading"}, {"status", 4}, {"url", "http://a/p"}, {"code", 0}, {"error", ""}},
         false},
        {"load without error", {{"k", "loading"}, {"status", 1}, {"url", "http://a/p"}, {"code", 0}}, false},
        {"message", {{"k", "message"}, {"name", "iOS"}, {"json", "{}"}}, true},
        {"message, long name", {{"k", "message"}, {"name", QString(300, 'n')}, {"json", "{}"}}, false},
        {"download", {{"k", "download"}, {"id", 3}, {"url", "u"}, {"type", "t"}, {"name", "n"}, {"link", true}}, true},
        {"download, id past 32 bits",
         {{"k", "download"}, {"id", 1LL << 33}, {"url", "u"}, {"type", "t"}, {"name", "n"}, {"link", true}},
         false},
        {"progress",
         {{"k", "progress"}, {"id", 3}, {"state", 1}, {"received", 5}, {"total", -1}, {"path", "/p"}, {"error", ""}},
         true},
        {"progress, negative bytes",
         {{"k", "progress"}, {"id", 3}, {"state", 0}, {"received", -5}, {"total", 9}, {"path", ""}, {"error", ""}},
         false},
        {"progress of no state",
         {{"k", "progress"}, {"id", 3}, {"state", 3}, {"received", 0}, {"total", 9}, {"path", ""}, {"error", ""}},
         false},
        {"result", {{"k", "result"}, {"request", 2}, {"value", nested}}, true},
        {"result nested past reason", {{"k", "result"}, {"request", 2}, {"value", deep}}, false},
        {"result with a tag",
         {{"k", "result"}, {"request", 2}, {"value", QCborValue(QDateTime::currentDateTimeUtc())}},
         false},
        {"files", {{"k", "chooseFiles"}, {"request", 9}, {"multiple", true}}, true},
        {"files, multiple as number", {{"k", "chooseFiles"}, {"request", 9}, {"multiple", 1}}, false},
        {"unknown kind", {{"k", "exec"}, {"text", "rm"}}, false},
        {"no kind", {{"window", 1}}, false},
        {"ready, window past an X id", {{"k", "ready"}, {"window", 0x100400007LL}, {"otr", false}}, false},
        {"new window, gesture as number", {{"k", "newWindow"}, {"url", "u"}, {"gesture", 1}}, false},
        // 32-bit numbers an X server never hands out: cut to 29 bits they name someone's window.
        {"ready, window of 30 bits", {{"k", "ready"}, {"window", 0x20400007LL}, {"otr", false}}, false},
        {"ready, window of 32 bits", {{"k", "ready"}, {"window", 0xffc00007LL}, {"otr", false}}, false},
        {"ready, the largest X id", {{"k", "ready"}, {"window", 0x1fffffffLL}, {"otr", false}}, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(parseHelperEvent(payload(row.event)).has_value(), row.believed);
    }
    EXPECT_FALSE(parseHelperEvent(QCborValue(QCborArray{QStringLiteral("ready")}).toCbor()));
    EXPECT_FALSE(parseHelperEvent(QByteArray("\xa1\x61", 2)));

    const auto load = parseHelperEvent(payload(rows[4].event));
    EXPECT_EQ(load->status, platform::IAiWebHost::LoadStatus::Failed);
    EXPECT_EQ(load->errorCode, 404);
    EXPECT_EQ(load->url, QUrl("http://a/p"));
    const auto result = parseHelperEvent(payload(rows[14].event));
    EXPECT_EQ(result->value.toMap().value("a").toList().value(1).toString(), "b");
}

TEST(WebLink, StreamIsCutIntoFramesAndAnOverlongLengthEndsIt)
{
    using platform::aiwebwire::frame;
    const QByteArray two =
        frame("pong", {{QStringLiteral("request"), 1}}) + frame("pong", {{QStringLiteral("request"), 2}});
    FrameReader reader;
    for (const char c : two) {
        reader.append(QByteArray(1, c));
        while (const auto p = reader.next())
            EXPECT_EQ(parseHelperEvent(*p)->kind, HelperEvent::Kind::Pong);
    }
    EXPECT_FALSE(reader.failed());

    FrameReader bad;
    bad.append(QByteArray::fromHex("7fffffff00") + two);
    EXPECT_FALSE(bad.next());
    EXPECT_TRUE(bad.failed());
    bad.append(two);
    EXPECT_FALSE(bad.next());
}

// A page's result or message past the bound is refused before it is converted, and
// the companion's reader refuses its frame at the length.
TEST(GuardWebLink, AResultOrMessagePastTheBoundIsRefused)
{
    using platform::aiwebwire::kMaxEvent;
    for (const qsizetype size : {kMaxEvent - 64, kMaxEvent + 1}) {
        const QString big(size, QLatin1Char('x'));
        const QCborMap result{{"k", "result"}, {"request", 2}, {"value", big}};
        EXPECT_EQ(parseHelperEvent(payload(result)).has_value(), size < kMaxEvent);
        EXPECT_EQ(parseHelperEvent(payload({{"k", "message"}, {"name", "iOS"}, {"json", big}})).has_value(),
                  size < kMaxEvent);
        FrameReader reader(kMaxEvent);
        reader.append(platform::aiwebwire::frame("result", result));
        EXPECT_EQ(reader.next().has_value(), size < kMaxEvent);
    }
}

// The helper takes an answer only while its question waits.
TEST(FinWebLink, AnAnswerBeforeOrAfterItsWaitIsNotKept)
{
    platform::aiwebwire::AnswerBox box;
    box.deliver(1, {{QStringLiteral("path"), QStringLiteral("/early")}});
    box.await(1);
    EXPECT_FALSE(box.has(1));
    box.deliver(1, {{QStringLiteral("path"), QStringLiteral("/asked")}});
    EXPECT_EQ(box.end(1)->value(QStringLiteral("path")).toString(), "/asked");
    box.deliver(1, {{QStringLiteral("path"), QStringLiteral("/late")}});
    box.await(1);
    EXPECT_FALSE(box.end(1));
}

} // namespace
