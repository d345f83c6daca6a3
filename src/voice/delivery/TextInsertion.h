#pragma once

#include "platform/IAccessibleElement.h"

#include <QString>

#include <memory>
#include <optional>

// The arithmetic of writing recognised text into another application's field at the
// caret remembered when the recognition started. Lengths and offsets count characters
// (code points), as the accessibility bus does, so an emoji is one character.
namespace textinsertion {

qsizetype characterCount(const QString &text);

// The field's value with text at the caret: the remembered value split at the caret,
// or appended when the caret is not inside it (at the end, past it, or negative).
// Each interim text is written over the same remembered value, so it replaces the
// previous interim text instead of piling up.
QString valueWithText(const QString &value, qint64 caret, const QString &text);

// After the last piece: the caret just behind the inserted text, read against the
// field's value as it is now. Nothing when no character follows the text (the caret
// is already there, or the field did not keep the text whole).
std::optional<qint64> caretBehindText(const QString &valueNow, qint64 caret, const QString &text);

// Roles that take dictated text: one-line fields and multi-line areas. Never a
// password field.
bool isTextRole(platform::AccessibleRole role);

// Depth first below (and including) the element: the last text element met in child
// order; a text element's own children are not searched. At most maxElements are
// visited, so a huge tree (a web page) cannot stall the caller.
std::shared_ptr<platform::IAccessibleElement>
deepestTextElement(const std::shared_ptr<platform::IAccessibleElement> &element, int maxElements = 2000);

} // namespace textinsertion
