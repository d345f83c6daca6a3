#pragma once

#include "QXVoiceCommandListItem.h"

#include <optional>

// The spoken word of a command: its custom word, or the common word when that is empty.
QString qxCommandWord(const QXVoiceCommandItem &item);

// The first command of the list that the spoken text names: the text, trimmed of
// punctuation at both ends, equals the word ignoring case or contains it (case
// sensitive). A command without a word never matches. nullptr when none does.
QXVoiceCommandPtr searchCmdFromCommandArr(const QXVoiceCommandList &list, const QString &text);
