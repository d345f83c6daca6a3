// A selection translated through the real translator and HTTP client against a local
// server: how the text reaches the server and what the window shows of its answer.
#include "TranslateWorld.h"

#include <QJsonDocument>

class Ast1RealStack : public TranslateWorld {
protected:
    Ast1RealStack()
    {
        translator = &real;
        net.server.setHandler([this](const HttpRequestRecord &r) {
            if (!replies.empty()) {
                HttpScriptedReply reply = replies.front();
                replies.pop_front();
                return reply;
            }
            const QJsonObject data{{"text", r.queryValue("text")}, {"transText", "<" + r.queryValue("text") + ">"}};
            return HttpScriptedReply::json(QJsonDocument(QJsonObject{{"rc", 0}, {"data", data}}).toJson());
        });
    }
    std::deque<HttpScriptedReply> replies;
};

TEST_F(Ast1RealStack, SelectionIsSentEncodedAndItsTranslationShows)
{
    select("A&B c");
    settle();
    ASSERT_EQ(net.server.requestCount(), 1);
    const HttpRequestRecord &sent = net.server.lastRequest();
    EXPECT_EQ(sent.path, "/api/translate");
    EXPECT_TRUE(sent.query.contains("text=A%26B%20c")) << sent.query.constData();
    EXPECT_EQ(cards(), "A&B c|<A&B c>");

    // Line breaks are taken out; every reserved character arrives as it was.
    const std::pair<QString, QString> rows[] = {
        {"你好\n世界", "你好世界"},
        {"Hello\nWorld", "HelloWorld"},
        {"a=b+c#d%e&f", "a=b+c#d%e&f"},
    };
    for (const auto &[selected, arrived] : rows) {
        select(selected);
        settle();
        EXPECT_EQ(net.server.lastRequest().queryValue("text"), arrived);
        EXPECT_EQ(cards(), selected + "|<" + arrived + ">");
    }
    EXPECT_FALSE(net.server.lastRequest().query.contains('#'));

    // A bad answer adds nothing under the source.
    const HttpScriptedReply bad[] = {HttpScriptedReply::json(R"({"rc":0,"data":{"text":"x"}})"),
                                     HttpScriptedReply::html(500, "down")};
    for (const HttpScriptedReply &reply : bad) {
        replies.push_back(reply);
        select("x");
        settle();
        EXPECT_EQ(cards(), "x|");
    }
}
