#pragma once

#include "QXTextField.h"

// The password field: characters shown as bullets, the accent caret of the input
// field, the text not centred by the field's rule.
class QXSecureTextField : public QXTextField {
    Q_OBJECT
public:
    explicit QXSecureTextField(QWidget *parent = nullptr);
};
