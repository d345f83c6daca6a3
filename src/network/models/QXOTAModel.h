#pragma once

#include <QJsonObject>
#include <QString>

// A firmware record: the data object of the upgrade check's answer.
struct QXOTAModel {
    QString showNum, num, downloadUrl, remark, attr1, attr2, type, planCode;

    // Absent or non-text fields read as "" (numbers as their text).
    static QXOTAModel fromJson(const QJsonObject &object);
};
