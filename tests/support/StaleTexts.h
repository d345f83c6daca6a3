#pragma once

#include "HRVLocalizedString.h"
#include "QXLanguageManager.h"
#include "controls/QXPopUpButton.h"
#include "controls/QXTextView.h"

#include <QAbstractButton>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QWidget>

// Every text a person can read under `root` (the root included): titles, labels,
// drop-down and menu entries, placeholders, tool tips, window titles; of a field the
// user types in, only its placeholder.
inline QStringList shownTexts(QWidget *root)
{
    QStringList texts;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : std::as_const(widgets)) {
        if (w != root && !w->isVisibleTo(root))
            continue;
        texts << w->toolTip();
        if (w->isWindow())
            texts << w->windowTitle();
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            texts << b->text();
        if (auto *l = qobject_cast<QLabel *>(w))
            texts << l->text();
        if (auto *p = qobject_cast<QXPopUpButton *>(w))
            texts << p->itemsArr() << p->stringValue();
        if (auto *t = qobject_cast<QXTextView *>(w))
            texts << t->string();
        if (auto *e = qobject_cast<QLineEdit *>(w))
            texts << (e->isReadOnly() ? e->text() : QString()) << e->placeholderText();
        if (auto *menu = qobject_cast<QMenu *>(w))
            for (const QAction *action : menu->actions())
                texts << (action->isVisible() ? action->text() : QString());
    }
    texts.removeAll(QString());
    return texts;
}

// The names the language lists show now. A language without a name of its own for an
// item shows the English one, which is no text of its table.
inline QSet<QString> languageListNames(QXLanguageManager &languages)
{
    QSet<QString> names;
    for (const QStringList &list : {languages.readAudioLanguageNameList(), languages.readToLanguageNameList(),
                                    languages.readWordInputNameList(), languages.readScreenshotsFromNameList(),
                                    languages.readScreenshotsNameList(), languages.readFromWordInputNameList()})
        names.unite(QSet<QString>(list.begin(), list.end()));
    return names;
}

// Which of `texts` are still in another interface language than the one of
// `uiLanguageIndex`: a whole text that is some table's text (or a Chinese source
// text) but none of the current table's, and a run of Chinese characters that is a
// source text or another table's text and appears in no text of the current table.
// `data` are texts that come from elsewhere (a server, the user) and are let pass.
inline QStringList textsInAnotherLanguage(const QStringList &texts, quint64 uiLanguageIndex,
                                          const QSet<QString> &data = {})
{
    // Every table holds every key; a key a table lacks would show as itself.
    QFile english(QStringLiteral(":/i18n/en.json"));
    HRVLocalizedString::localizedString(QString(), 2); // registers the tables' resources
    english.open(QIODevice::ReadOnly);
    QSet<QString> current, others;
    for (const QString &key : QJsonDocument::fromJson(english.readAll()).object().keys()) {
        others << key;
        for (quint64 index = 0; index < quint64(QXLanguageManager::kUiLanguageCount); ++index)
            (index == uiLanguageIndex ? current : others) << HRVLocalizedString::localizedString(key, index);
    }
    const auto inCurrentText = [&current](const QString &run) {
        for (const QString &text : current)
            if (text.contains(run))
                return true;
        return false;
    };
    static const QRegularExpression hanRun(QStringLiteral("\\p{Han}+"));
    QStringList stale;
    for (const QString &text : texts) {
        if (data.contains(text) || current.contains(text))
            continue;
        bool old = others.contains(text);
        for (auto match = hanRun.globalMatch(text); !old && match.hasNext();) {
            const QString run = match.next().captured();
            old = others.contains(run) && !inCurrentText(run) && !data.contains(run);
        }
        if (old)
            stale << text;
    }
    return stale;
}
