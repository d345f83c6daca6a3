#include "KeyValueStore.h"
#include "MouseModelSettingModel.h"
#include "ScopedUserInfoData.h"
#include "services/LanguageHooks.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

struct UILanguage {
    explicit UILanguage(QString code)
    {
        previous = installLanguageHooks({[code] { return code; }, nullptr, nullptr});
    }
    ~UILanguage() { installLanguageHooks(previous); }
    LanguageHooks previous;
};

QJsonObject object(const char *json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(json), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json;
    return doc.object();
}

const char kProfile[] = R"({"id":7,"productId":12,"unknownMember":"dropped","keyInfos":[
  {"id":"k1","key":"voice_key","name":"语音键","names":{"EN_US":"Voice key","JA_JP":5,"KO_KR":{}},
   "childs":[{"id":"c1","operation":"dk","childs":[
     {"id":"s1","cmd":"Action_VI","first":"0","name":"A"},
     {"id":"s2","cmd":"Action_SK","first":"1","name":"B",
      "attr0":"{\"keyCode\":9,\"modifierFlagsString\":\"⌘\"}"}]}]},
  {"id":2.5,"key":["wrong"],"name":null,"childs":{"not":"an array"}},
  "not an object"]})";

} // namespace

TEST(KeyModels, DerivedCodes)
{
    const struct {
        const char *cmd;
        quint64 type;
    } ops[] = {{"Action_VI", 2},
               {"action_vi", 0},
               {"Action_VI ", 0},
               {"Action_OPEN_WEBURL", 28},
               {"Action_GPT", 18},
               {"GO_HOME", 11},
               {"DEL_OPT", 12},
               {"Action_OW_OFFICIAL", 27},
               {"Action_GetWord_Trans", 24},
               {"Action_copy", 19},
               {"", 0}};
    for (const auto &row : ops)
        EXPECT_EQ(KeySettingSubModel::operationTypeForCmd(QString::fromUtf8(row.cmd)), row.type) << row.cmd;
    EXPECT_EQ(KeySettingSubModel().operationType(), 0u); // no code at all

    const struct {
        const char *op;
        quint64 type;
    } presses[] = {{"sk", 1}, {"dk", 2}, {"lk", 3}, {"SK", 0}, {"", 0}};
    for (const auto &row : presses) {
        KeySettingModel m;
        m.setOperation(QString::fromLatin1(row.op));
        EXPECT_EQ(m.keyPressType(), row.type) << row.op;
    }

    const struct {
        const char *key;
        quint64 kind;
    } keys[] = {{"dpi_set", 1}, {"center_key", 2}, {"translate_key", 5}, {"M_key", 6},
                {"AI_key", 7},  {"M_key4", 11},    {"Auxiliary_set", 0}, {"m_key", 0}};
    for (const auto &row : keys)
        EXPECT_EQ(MouseSettingModel::keyTypeForKey(QString::fromLatin1(row.key)), row.kind) << row.key;
}

TEST(KeyModels, SelectionIsTheLastMarkedOptionAndIsWorkedOutOnce)
{
    KeySettingModel m = KeySettingModel::fromJson(object(R"({"childs":[
        {"id":"a","first":"0","name":"A"},{"id":"b","first":"1","name":"B"},
        {"id":"c","first":"0","name":"C"},{"id":"d","first":"1","name":"D"}]})"));
    EXPECT_EQ(m.selectIndex(), 3);
    EXPECT_EQ(m.selectKey(), QStringLiteral("d"));
    EXPECT_EQ(m.selectValue(), QStringLiteral("D"));
    m.childs()[1].setFirst(QStringLiteral("0"));
    m.childs()[3].setFirst(QStringLiteral("0"));
    EXPECT_EQ(m.selectKey(), QStringLiteral("d")); // chosen once, not looked at again
    m.setSelectIndex(1);
    EXPECT_EQ(m.selectIndex(), 1);

    KeySettingModel none = KeySettingModel::fromJson(object(R"({"childs":[{"id":"a","first":"0"}]})"));
    EXPECT_EQ(none.selectKey(), std::nullopt);
    EXPECT_EQ(none.selectValue(), std::nullopt);
    EXPECT_EQ(none.selectIndex(), 0);
    none.setSelectIndex(2);
    none.childs()[0].setFirst(QStringLiteral("1")); // still unchosen, so the options count
    EXPECT_EQ(none.selectKey(), QStringLiteral("a"));
    EXPECT_EQ(none.selectIndex(), 0);
}

TEST(KeyModels, NamesFollowTheInterfaceLanguage)
{
    MouseSettingModel m;
    m.setNames({{"EN_US", "X"}});
    UILanguage zh("ZH_CN");
    EXPECT_EQ(m.name(), "");
    m.setName(QStringLiteral("键"));
    EXPECT_EQ(m.name(), QStringLiteral("键"));
    UILanguage en("EN_US");
    EXPECT_EQ(m.name(), "X");
}

TEST(KeyModels, ProfileTreeDecodesLeniently)
{
    UILanguage zh("ZH_CN");
    const MouseModelSettingModel model = MouseModelSettingModel::fromJson(object(kProfile));
    EXPECT_EQ(model.modelId(), QStringLiteral("7"));
    EXPECT_EQ(model.productId(), QStringLiteral("12"));
    ASSERT_EQ(model.keyInfos().size(), 2);

    const MouseSettingModel &voice = model.keyInfos().at(0);
    EXPECT_EQ(voice.idStr(), QStringLiteral("k1"));
    EXPECT_EQ(voice.keyType(), 3u);
    EXPECT_EQ(voice.name(), QStringLiteral("语音键"));
    EXPECT_EQ(voice.names().value("JA_JP"), "5");
    EXPECT_FALSE(voice.names().contains("KO_KR"));
    ASSERT_EQ(voice.childs().size(), 1);
    const KeySettingModel &press = voice.childs().at(0);
    EXPECT_EQ(press.keyPressType(), 2u);
    EXPECT_EQ(press.selectKey(), QStringLiteral("s2"));
    EXPECT_EQ(press.selectValue(), QStringLiteral("B"));
    EXPECT_EQ(press.selectIndex(), 1);
    ASSERT_EQ(press.childs().size(), 2);
    EXPECT_EQ(press.childs().at(0).operationType(), 2u);
    EXPECT_EQ(press.childs().at(1).operationType(), 5u);
    EXPECT_EQ(press.childs().at(1).attr0(), QStringLiteral("{\"keyCode\":9,\"modifierFlagsString\":\"⌘\"}"));
    {
        UILanguage en("EN_US");
        EXPECT_EQ(voice.name(), "Voice key");
    }

    // Members of the wrong type are ignored; a fractional number keeps its digits.
    const MouseSettingModel &odd = model.keyInfos().at(1);
    EXPECT_EQ(odd.idStr(), QStringLiteral("2.5"));
    EXPECT_EQ(odd.key(), std::nullopt);
    EXPECT_EQ(odd.nameField(), std::nullopt);
    EXPECT_TRUE(odd.childs().isEmpty());
    EXPECT_EQ(odd.keyType(), 0u);
}

TEST(KeyModels, StoredKeysReadBackAsWritten)
{
    ScopedUserInfoData s;
    MouseModelSettingModel model = MouseModelSettingModel::fromJson(object(kProfile));
    // State that exists only after use must survive too: a worked-out selection, a set
    // index, an empty text that is not an absent one.
    (void)model.keyInfos()[0].childs()[0].selectKey();
    model.keyInfos()[1].setFirst(QStringLiteral(""));
    KeySettingModel extra;
    extra.setSelectIndex(4);
    model.keyInfos()[1].childs().append(extra);

    s->setMouseSettingArr(model.keyInfos());
    s.store().setJson(kMouseSettingArrKey, MouseSettingModel::listToJson(s->mouseSettingArr()));
    const QList<MouseSettingModel> back = MouseSettingModel::listFromJson(s.store().jsonArray(kMouseSettingArrKey));
    EXPECT_EQ(back, model.keyInfos());
    EXPECT_EQ(back[1].first(), QStringLiteral(""));
    EXPECT_EQ(back[1].childs()[0].selectIndex(), 4);

    const MouseModelSettingModel again = MouseModelSettingModel::fromJson(model.toJson());
    EXPECT_EQ(again, model);
    // The raw name is written, not the localised one.
    UILanguage en("EN_US");
    EXPECT_EQ(again.keyInfos()[0].nameField(), QStringLiteral("语音键"));
}

TEST(KeyModels, BuildersFromTheState)
{
    ScopedUserInfoData s;
    const MouseSettingModel aux = MouseSettingModel::createMouseAuxiliarySetModel();
    EXPECT_EQ(aux.key(), QStringLiteral("Auxiliary_set"));
    EXPECT_EQ(aux.nameField(), QStringLiteral("辅助设置"));
    EXPECT_TRUE(aux.childs().isEmpty());

    MouseSettingModel dpi = MouseSettingModel::createMouseDPIModel();
    EXPECT_EQ(dpi.keyType(), 1u);
    ASSERT_EQ(dpi.childs().size(), 1);
    s->mouseInfoItem().setDpi(2);
    dpi.updateDPIItems(s.state());
    QStringList firsts, names;
    for (const KeySettingSubModel &o : dpi.childs()[0].childs()) {
        firsts << o.first().value_or("?");
        names << o.name();
        EXPECT_EQ(o.operationType(), 1u);
    }
    EXPECT_EQ(firsts, QStringList({"0", "0", "1", "0"}));
    EXPECT_EQ(names, QStringList({"800dpi", "1000dpi", "1200dpi", "1600dpi"}));

    s->setReportRateArr({"125", "500Hz", "1000"});
    s->setReportRate(500);
    dpi.updateAuxiliarySetItems(s.state());
    firsts.clear();
    for (const KeySettingSubModel &o : dpi.childs()[0].childs()) {
        firsts << o.first().value_or("?");
        EXPECT_EQ(o.operationType(), 25u);
    }
    EXPECT_EQ(firsts, QStringList({"0", "1", "0"}));

    MouseSettingModel bare = aux; // no press kinds: nothing to fill, nothing breaks
    bare.updateDPIItems(s.state());
    bare.updateAuxiliarySetItems(s.state());
    EXPECT_TRUE(bare.childs().isEmpty());
}
