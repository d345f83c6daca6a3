#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

class AppAudioTool;
class TKTTSManager;

// What a semantic answer (the "dm" of a final recognition) asks for: a sentence to
// read aloud and, after it, possibly an audio link to play (empty for a media skill
// whose link is empty: the player then only pauses).
struct QXSemanticAnswer {
    QString sentence;
    std::optional<QString> link;
};

// Reads an answer. Each level is type-checked: a "widget" that is not an object, a
// "content" that is not an array or a first element that is not an object means no
// link; the sentence is spoken all the same.
QXSemanticAnswer qxReadSemanticAnswer(const QJsonObject &dm);

// Reads the speech service's semantic answers aloud and plays their audio link once
// the sentence has ended (finished or cancelled); the link plays once. An answer with
// a link replaces the link of the one before. Main thread.
class QXSemanticManager {
public:
    struct Deps {
        TKTTSManager *tts = nullptr;
        AppAudioTool *player = nullptr;
    };

    explicit QXSemanticManager(Deps deps);
    ~QXSemanticManager();
    QXSemanticManager(const QXSemanticManager &) = delete;
    QXSemanticManager &operator=(const QXSemanticManager &) = delete;

    void analysisData(const QJsonObject &dm);

private:
    Deps m_deps;
};
