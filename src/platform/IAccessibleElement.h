#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace platform {

// The kinds of element text insertion tells apart; every other role is Other.
enum class AccessibleRole {
    Other,
    Entry,        // a one-line text field (search fields included)
    Text,         // a multi-line text area
    PasswordText, // never read or written
};

// One element of another application's accessibility tree. Offsets count characters
// (Unicode code points), as the accessibility bus does. Any call may fail because the
// application went away or changed its tree; the element then answers "defunct".
class IAccessibleElement {
public:
    virtual ~IAccessibleElement() = default;

    virtual AccessibleRole role() const = 0;
    virtual std::vector<std::shared_ptr<IAccessibleElement>> children() const = 0;
    virtual bool isDefunct() const = 0;
    // Has an editable-text interface and is neither read-only nor insensitive.
    virtual bool isEditable() const = 0;
    // The whole text; nothing when the element has no text interface or the read failed.
    virtual std::optional<QString> text() const = 0;
    // The caret offset; nothing without a text interface; -1 where the toolkit has none.
    virtual std::optional<int> caretOffset() const = 0;

    virtual bool setText(const QString &text) = 0;
    virtual bool setCaretOffset(int offset) = 0;
};

} // namespace platform
