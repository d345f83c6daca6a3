#pragma once

#include <QValidator>

#include <functional>

// Lets only whole numbers be typed: an empty text, or optional white space, an
// optional sign, digits and nothing after them but white space, within 64 bits. Every
// refused edit beeps. (QIntValidator differs: it lets a lone sign through as intermediate, and
// handles white space and ranges its own way.)
class OnlyIntegerValueFormatter : public QValidator {
    Q_OBJECT
public:
    explicit OnlyIntegerValueFormatter(QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;

    static bool isPartialStringValid(const QString &text);

    // The sound of a refused edit; the default is the desktop's beep.
    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }

private:
    std::function<void()> m_beep;
};
