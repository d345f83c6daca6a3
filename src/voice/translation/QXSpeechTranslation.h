#pragma once

#include "ISpeechTranslator.h"

#include <QJsonValue>
#include <QStringList>

#include <functional>
#include <memory>

class QXHttpRequestManager;
class QXLanguageManager;
struct QXNetError;

// The clauses of a recognised text: each ends after one of ".?!。？！" and keeps that
// character; a trailing rest without one is a clause too. No empty clauses.
QStringList qxTranslationClauses(const QString &text);
// The source language as the translation service takes it: every Chinese is "ZH_CN".
QString qxTranslationSourceCode(const QString &code);

// The translation half of the voice-key dispatcher: while the translation key is held
// the text recognised so far is translated clause by clause and the pop-up's
// translation line grows; the last result is translated whole and pasted like typed
// text. Also the plain translation other windows use. Main thread only.
class QXSpeechTranslation : public ISpeechTranslator {
public:
    struct Deps {
        QXHttpRequestManager &http;
        QXLanguageManager &languages;
        std::function<int()> pressType;                          // the dispatcher's press type (37/38: translation key)
        std::function<bool()> hadStart;                          // whether the key is still held
        std::function<void(const QString &)> showYiText;         // the pop-up's translation line
        std::function<void(const QString &)> copyAndPasteResult; // pastes and posts like typed text
    };

    explicit QXSpeechTranslation(Deps deps);

    void resetTranslation() override;
    void speechManagerRecognitionStatusChangeRecognizingAsr(const QString &displayText, const QString &newText,
                                                            int status) override;
    void requestTranslateText(const QString &text, const QString &fromLanguageCode, const QString &toLanguageCode,
                              TranslateCallback callback) override;

    const QStringList &phraseArray() const { return m_phraseArray; }
    int currentTranslateIndex() const { return m_currentTranslateIndex; }
    const QString &yiResultText() const { return m_yiResultText; }

private:
    using AnswerHandler = std::function<void(bool success, const QJsonValue &result, const QXNetError &error)>;

    void clausesTranslation(const QString &text, bool isLast);
    void requestTranslateText(const QString &text, bool isLast);
    void requestFullTranslation();
    void requestClauseTranslation(const QString &clause, bool isLast);
    void onClauseAnswer(const QString &clause, int index, quint64 session, bool isLast, bool success,
                        const QJsonValue &result);
    void send(const QString &text, AnswerHandler handler);

    Deps m_deps;
    QString m_lastResultText;
    QStringList m_phraseArray;
    int m_currentTranslateIndex = 0;
    QString m_yiResultText;
    // Changes whenever the clauses start over, so answers to an earlier set are dropped.
    quint64 m_session = 0;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
