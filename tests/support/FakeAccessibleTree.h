#pragma once

// Another application's accessibility tree, built by hand; records what is written.
#include "platform/IAccessibilityBridge.h"

#include <QStringList>

class FakeElement : public platform::IAccessibleElement {
public:
    platform::AccessibleRole kind = platform::AccessibleRole::Other;
    std::vector<std::shared_ptr<IAccessibleElement>> kids;
    bool editable = false, defunct = false;
    std::optional<QString> value; // nothing: no text interface
    int caret = -1;
    QStringList writes;
    QStringList refused; // writes tried on a read-only or defunct element
    std::vector<int> caretMoves;

    static std::shared_ptr<FakeElement> field(platform::AccessibleRole role, const QString &text, int caretAt)
    {
        auto e = std::make_shared<FakeElement>();
        e->kind = role;
        e->editable = true;
        e->value = text;
        e->caret = caretAt;
        return e;
    }
    static std::shared_ptr<FakeElement> group(std::vector<std::shared_ptr<IAccessibleElement>> children)
    {
        auto e = std::make_shared<FakeElement>();
        e->kids = std::move(children);
        return e;
    }

    platform::AccessibleRole role() const override { return kind; }
    std::vector<std::shared_ptr<IAccessibleElement>> children() const override { return kids; }
    bool isDefunct() const override { return defunct; }
    bool isEditable() const override { return editable && !defunct; }
    std::optional<QString> text() const override { return defunct ? std::nullopt : value; }
    std::optional<int> caretOffset() const override { return value ? std::optional(caret) : std::nullopt; }
    bool setText(const QString &text) override
    {
        if (!isEditable()) {
            refused << text;
            return false;
        }
        writes << text;
        value = text;
        caret = int(text.size()); // toolkits put the caret at the end
        return true;
    }
    bool setCaretOffset(int offset) override
    {
        caretMoves.push_back(offset);
        return !defunct;
    }
};

class FakeAccessibilityBridge : public platform::IAccessibilityBridge {
public:
    bool available = true;
    std::shared_ptr<platform::IAccessibleElement> underPointer;
    std::vector<QPoint> asked;

    bool isAvailable() override { return available; }
    std::shared_ptr<platform::IAccessibleElement> elementAtPoint(const QPoint &p) override
    {
        asked.push_back(p);
        return underPointer;
    }
};
