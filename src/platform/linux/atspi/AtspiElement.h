#pragma once

#include "platform/IAccessibleElement.h"

#include <memory>

struct _AtspiAccessible;

namespace platform::linuxbackend {

// An element of the AT-SPI tree. Holds its own reference to the libatspi object.
class AtspiElement final : public IAccessibleElement {
public:
    // Takes over the caller's reference.
    static std::shared_ptr<AtspiElement> adopt(_AtspiAccessible *object);
    ~AtspiElement() override;
    AtspiElement(const AtspiElement &) = delete;
    AtspiElement &operator=(const AtspiElement &) = delete;

    AccessibleRole role() const override;
    std::vector<std::shared_ptr<IAccessibleElement>> children() const override;
    bool isDefunct() const override;
    bool isEditable() const override;
    std::optional<QString> text() const override;
    std::optional<int> caretOffset() const override;
    bool setText(const QString &text) override;
    bool setCaretOffset(int offset) override;

private:
    explicit AtspiElement(_AtspiAccessible *object) : m_object(object) {}
    _AtspiAccessible *m_object;
};

} // namespace platform::linuxbackend
