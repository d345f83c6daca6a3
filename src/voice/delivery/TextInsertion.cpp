#include "TextInsertion.h"

#include <functional>

namespace textinsertion {
namespace {

// The UTF-16 index of the character at a code-point offset inside the text.
qsizetype utf16Index(const QString &text, qint64 characters)
{
    qsizetype i = 0;
    for (qint64 c = 0; c < characters && i < text.size(); ++c)
        i += (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
    return i;
}

} // namespace

qsizetype characterCount(const QString &text)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++n)
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    return n;
}

QString valueWithText(const QString &value, qint64 caret, const QString &text)
{
    if (caret < 0 || caret >= characterCount(value))
        return value + text;
    const qsizetype at = utf16Index(value, caret);
    return value.left(at) + text + value.mid(at);
}

std::optional<qint64> caretBehindText(const QString &valueNow, qint64 caret, const QString &text)
{
    const qint64 inserted = characterCount(text);
    const qint64 after = qint64(characterCount(valueNow)) - (inserted + caret);
    if (caret < 0 || after <= 0)
        return std::nullopt;
    return caret + inserted;
}

bool isTextRole(platform::AccessibleRole role)
{
    return role == platform::AccessibleRole::Entry || role == platform::AccessibleRole::Text;
}

std::shared_ptr<platform::IAccessibleElement>
deepestTextElement(const std::shared_ptr<platform::IAccessibleElement> &element, int maxElements)
{
    std::shared_ptr<platform::IAccessibleElement> found;
    int budget = maxElements;
    const std::function<void(const std::shared_ptr<platform::IAccessibleElement> &)> visit =
        [&](const std::shared_ptr<platform::IAccessibleElement> &e) {
            if (!e || budget-- <= 0)
                return;
            if (isTextRole(e->role())) {
                found = e;
                return;
            }
            for (const auto &child : e->children())
                visit(child);
        };
    visit(element);
    return found;
}

} // namespace textinsertion
