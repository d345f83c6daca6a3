// The account record of the login, registration and member-information answers.
#include "services/QXLoginResultModel.h"

#include <gtest/gtest.h>

namespace {
std::optional<QXLoginResultModel> parse(const char *json)
{
    const QJsonDocument doc = QJsonDocument::fromJson(json);
    return QXLoginResultModel::fromJson(doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object()));
}
} // namespace

TEST(Acc1LoginResult, FieldsAreTextsAndOtherTypesAreUnset)
{
    const auto m = parse(R"({"id":42,"token":"t","status":true,"expiredTime":1735689600000,"account":null,)"
                         R"("mac":{"a":1},"version":1.5,"password":"x","type":[1],"createdBy":"","extra":1})");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->idStr, "42");
    EXPECT_EQ(m->token, "t");
    EXPECT_EQ(m->status, "1");
    EXPECT_EQ(m->rawExpiredTime(), "1735689600000");
    EXPECT_EQ(m->version, "1.5");
    EXPECT_EQ(m->password, "x");
    EXPECT_EQ(m->createdBy, "") << "an empty text is kept, not unset";
    EXPECT_FALSE(m->account || m->mac || m->type || m->lastLoginIp);

    EXPECT_FALSE(parse(R"([{"id":1}])"));
    EXPECT_FALSE(QXLoginResultModel::fromJson(QJsonValue("x")));
    EXPECT_FALSE(QXLoginResultModel::fromJson(QJsonValue()));

    // Of a repeated key the last counts; a huge number is written out digit by digit.
    const auto odd =
        parse(R"({"token":"a","token":"b","id":1e20,"version":1e-7,"status":false,"lastLoginIp":-3,)"
              R"("expiredTime":{"t":1},"createdDate":12345678901234567890123,"account":9007199254740993})");
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->token, "b");
    EXPECT_EQ(odd->idStr, "100000000000000000000");
    EXPECT_EQ(odd->version, "0.0000001");
    EXPECT_EQ(odd->status, "0");
    EXPECT_EQ(odd->lastLoginIp, "-3");
    EXPECT_FALSE(odd->rawExpiredTime());
    EXPECT_FALSE(odd->expiredTime());
    EXPECT_EQ(odd->createdDate, "12345678901234568000000");
    EXPECT_EQ(odd->account, "9007199254740993") << "past 2^53 a double would lose the last digit";
}

TEST(Acc1LoginResult, ExpiryInMillisecondsReadsAsSeconds)
{
    const struct {
        std::optional<QString> stored, read;
    } rows[] = {
        {"1735689600000", "1735689600"},
        {"1735689600", "1735689600"},
        {"17356896000", "17356896000"},
        {"173568960000", "173568960000"},
        {"", ""},
        {std::nullopt, std::nullopt},
    };
    for (const auto &row : rows) {
        QXLoginResultModel m;
        m.setExpiredTime(row.stored);
        EXPECT_EQ(m.expiredTime(), row.read) << row.stored.value_or("unset").toStdString();
        EXPECT_EQ(m.rawExpiredTime(), row.stored);
    }
}
