#pragma once

#include <QString>

// An informational alert with one button that only closes it: a message and, under
// it, the detail text (QXToolManagerUI::showErrorMsg).
class IErrorAlert {
public:
    virtual ~IErrorAlert() = default;
    virtual void showErrorMsg(const QString &message, const QString &detail) = 0;
};
