#include "QXSemanticManager.h"

#include "PZDictionary.h"
#include "audio/AppAudioTool.h"
#include "audio/TKTTSManager.h"

#include <QJsonArray>

#include <array>

namespace {
// Skills whose answer is an audio stream: the link handler is installed even for an
// empty link.
bool isMediaTask(const QString &task)
{
    static const std::array<const char *, 9> kMedia = {"笑话", "故事", "有声书", "广播电台", "网络电台",
                                                       "儿歌", "诗词", "曲艺",   "戏曲"};
    for (const char *media : kMedia)
        if (task == QString::fromUtf8(media))
            return true;
    return false;
}
} // namespace

QXSemanticAnswer qxReadSemanticAnswer(const QJsonObject &dm)
{
    const QString nlg = pz::stringValueForKey(dm, QStringLiteral("nlg"), QString());
    const QString task = pz::stringValueForKey(dm, QStringLiteral("task"), QString());
    QXSemanticAnswer answer;
    answer.sentence = nlg.isEmpty() && task.isEmpty() ? QStringLiteral("我听不懂你说什么，可以换个说法吗？")
                                                      : nlg; // an empty sentence of a skill is still handed over
    const QJsonValue widget = dm.value(QStringLiteral("widget"));
    const QJsonValue content = widget.isObject() ? widget.toObject().value(QStringLiteral("content")) : QJsonValue();
    const QJsonArray items = content.toArray();
    if (items.isEmpty() || !items.first().isObject())
        return answer;
    const QString link = pz::stringValueForKey(items.first().toObject(), QStringLiteral("linkUrl"), QString());
    if (!link.isEmpty() || isMediaTask(task))
        answer.link = link;
    return answer;
}

QXSemanticManager::QXSemanticManager(Deps deps) : m_deps(deps) {}

QXSemanticManager::~QXSemanticManager()
{
    // The handler points at the player; it must not outlive this manager's wiring.
    if (m_deps.tts)
        m_deps.tts->setCompleteBlock({});
}

void QXSemanticManager::analysisData(const QJsonObject &dm)
{
    if (!m_deps.tts)
        return;
    const QXSemanticAnswer answer = qxReadSemanticAnswer(dm);
    m_deps.tts->setSpeakString(answer.sentence);
    m_deps.tts->startSpeak();
    if (!answer.link)
        return;
    TKTTSManager *tts = m_deps.tts;
    AppAudioTool *player = m_deps.player;
    tts->setCompleteBlock([tts, player, link = *answer.link](qint64 status) {
        if (status != 4)
            return;
        tts->setCompleteBlock({}); // once, after the sentence
        if (player)
            player->playAudioWithURL(link);
    });
}
