#include "QXSpeechTranslation.h"

#include "PZLog.h"
#include "QXHttpRequestManager.h"
#include "QXLanguageManager.h"
#include "scenes/QXTranslateScene.h"

#include <QJsonObject>

#include <optional>

namespace {

constexpr int kStatusLast = 2;

// The translation of an answer that echoes the text asked for; nullopt for an answer
// to some other text (an older, shorter clause) or one without a translation.
std::optional<QString> echoedTranslation(const QJsonValue &result, const QString &asked)
{
    const QJsonObject answer = result.toObject();
    const QJsonValue trans = answer.value(QStringLiteral("transText"));
    if (answer.value(QStringLiteral("text")).toString() != asked || !trans.isString())
        return std::nullopt;
    return trans.toString();
}

} // namespace

QStringList qxTranslationClauses(const QString &text)
{
    static const QString kClauseEnds = QStringLiteral(".?!。？！");
    QStringList clauses;
    QString current;
    for (const QChar c : text) {
        current.append(c);
        if (kClauseEnds.contains(c)) {
            clauses.append(current);
            current.clear();
        }
    }
    if (!current.isEmpty())
        clauses.append(current);
    return clauses;
}

QString qxTranslationSourceCode(const QString &code)
{
    return code.startsWith(QLatin1String("ZH")) ? QStringLiteral("ZH_CN") : code;
}

QXSpeechTranslation::QXSpeechTranslation(Deps deps) : m_deps(std::move(deps)) {}

void QXSpeechTranslation::resetTranslation()
{
    m_phraseArray.clear();
    m_currentTranslateIndex = 0;
    m_yiResultText.clear();
    ++m_session;
}

void QXSpeechTranslation::speechManagerRecognitionStatusChangeRecognizingAsr(const QString &displayText,
                                                                             const QString &, int status)
{
    const int pressType = m_deps.pressType ? m_deps.pressType() : 0;
    if (pressType != 37 && pressType != 38)
        return;
    m_lastResultText = displayText;
    if (status == kStatusLast)
        requestTranslateText(displayText, true);
    else
        clausesTranslation(displayText, false);
}

void QXSpeechTranslation::clausesTranslation(const QString &text, bool isLast)
{
    m_phraseArray = qxTranslationClauses(text);
    if (m_currentTranslateIndex < m_phraseArray.size())
        requestTranslateText(m_phraseArray.at(m_currentTranslateIndex), isLast);
}

void QXSpeechTranslation::requestTranslateText(const QString &text, bool isLast)
{
    if (text.isEmpty())
        return;
    const bool keyHeld = m_deps.hadStart && m_deps.hadStart();
    if (isLast && !keyHeld)
        requestFullTranslation();
    else
        requestClauseTranslation(text, isLast);
}

void QXSpeechTranslation::requestFullTranslation()
{
    resetTranslation();
    const QString text = m_lastResultText;
    if (text.isEmpty())
        return;
    send(text,
         [this, text, alive = std::weak_ptr<int>(m_alive)](bool success, const QJsonValue &result, const QXNetError &) {
             if (alive.expired() || !success)
                 return;
             const std::optional<QString> trans = echoedTranslation(result, text);
             if (!trans)
                 return;
             const QString translation = m_yiResultText + *trans;
             if (m_deps.showYiText)
                 m_deps.showYiText(translation);
             if (m_deps.copyAndPasteResult)
                 m_deps.copyAndPasteResult(translation);
         });
}

void QXSpeechTranslation::requestClauseTranslation(const QString &clause, bool isLast)
{
    send(clause, [this, clause, isLast, index = m_currentTranslateIndex, session = m_session,
                  alive = std::weak_ptr<int>(m_alive)](bool success, const QJsonValue &result, const QXNetError &) {
        if (!alive.expired())
            onClauseAnswer(clause, index, session, isLast, success, result);
    });
}

void QXSpeechTranslation::onClauseAnswer(const QString &clause, int index, quint64 session, bool isLast, bool success,
                                         const QJsonValue &result)
{
    // Several clause requests may be in flight. An answer counts only for the clause
    // that is still the one being translated: a late answer for an older version of it,
    // or for a clause already passed, would otherwise be appended in the wrong place.
    if (session != m_session || index != m_currentTranslateIndex || index >= m_phraseArray.size()
        || m_phraseArray.at(index) != clause)
        return;
    QString shown; // a failed clause drops the translations before it
    if (success) {
        const std::optional<QString> trans = echoedTranslation(result, clause);
        if (!trans)
            return;
        shown = m_yiResultText + *trans;
        if (m_deps.showYiText)
            m_deps.showYiText(shown);
    }
    // The last clause may still grow: the next report translates it again.
    if (index == m_phraseArray.size() - 1)
        return;
    m_yiResultText = shown;
    ++m_currentTranslateIndex;
    requestTranslateText(m_phraseArray.at(m_currentTranslateIndex), isLast);
}

void QXSpeechTranslation::send(const QString &text, AnswerHandler handler)
{
    auto scene = std::make_shared<QXTranslateScene>();
    scene->fromLanguage = qxTranslationSourceCode(m_deps.languages.readTranslateFromLanguageCode());
    scene->toLanguage = m_deps.languages.readToLanguageCode();
    scene->text = text;
    m_deps.http.httpRequestWithScene(std::move(scene), std::move(handler));
}

void QXSpeechTranslation::requestTranslateText(const QString &text, const QString &fromLanguageCode,
                                               const QString &toLanguageCode, TranslateCallback callback)
{
    QString cleaned = text;
    cleaned.remove(u'\n');
    cleaned.remove(u'\r');
    if (cleaned.isEmpty()) {
        if (callback)
            callback(false, QString());
        return;
    }
    auto scene = std::make_shared<QXTranslateScene>();
    scene->fromLanguage = qxTranslationSourceCode(fromLanguageCode);
    scene->toLanguage = toLanguageCode;
    scene->text = cleaned;
    m_deps.http.httpRequestWithScene(
        std::move(scene), [callback = std::move(callback)](bool success, const QJsonValue &result, const QXNetError &) {
            if (!callback)
                return;
            const QJsonValue trans = result.toObject().value(QStringLiteral("transText"));
            callback(success, success && trans.isString() ? trans.toString() : QString());
        });
}
