#pragma once

#include <QJsonObject>
#include <QString>

// The account record of a login, registration or member-information answer. The
// account pages create it; the lower layers only hold it and read the token.
struct QXLoginResultModel {
    QString token;
    QJsonObject raw; // the answer's data object as received, for the account pages
};
