#pragma once

#include <QString>

#include <functional>

// The translation of recognised speech, as the voice-key dispatcher and the
// translation manager use it.
class ISpeechTranslator {
public:
    using TranslateCallback = std::function<void(bool success, const QString &translation)>;

    virtual ~ISpeechTranslator() = default;

    // A recognition starts: the clauses of the previous one are forgotten.
    virtual void resetTranslation() = 0;

    // Every report of the speech service (status 0 interim, 1 sentence, 2 last). Only
    // the translation key's reports are translated: interim ones clause by clause into
    // the pop-up, the last one whole, pasted like typed text.
    virtual void speechManagerRecognitionStatusChangeRecognizingAsr(const QString &displayText, const QString &newText,
                                                                    int status) = 0;

    // Translates a text once; the callback runs exactly once, with (false, "") for an
    // empty text or a failed request.
    virtual void requestTranslateText(const QString &text, const QString &fromLanguageCode,
                                      const QString &toLanguageCode, TranslateCallback callback) = 0;
};
