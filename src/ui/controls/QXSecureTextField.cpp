#include "QXSecureTextField.h"

QXSecureTextField::QXSecureTextField(QWidget *parent) : QXTextField(parent)
{
    setEchoMode(QLineEdit::Password);
    setCentresText(false);
}
