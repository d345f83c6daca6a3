#pragma once

#include <QJsonValue>
#include <QString>

#include <optional>

// The account record of a login, registration or member-information answer. The
// account pages create it; the lower layers only hold it and read `token`, the login
// token sent with the member-information request.
//
// Every field is text and may be unset (the answer lacked it, or held null, an array
// or an object there), which is not the same as "". A JSON number arrives as its
// decimal text without exponent ("id": 42 -> "42", 1e20 -> "100000000000000000000"),
// true/false as "1"/"0".
class QXLoginResultModel {
public:
    std::optional<QString> idStr; // JSON key "id"
    std::optional<QString> version;
    std::optional<QString> mac;
    std::optional<QString> lastUpdatedBy;
    std::optional<QString> lastUpdatedDate;
    std::optional<QString> createdDate;
    std::optional<QString> type;
    std::optional<QString> lastLoginDate;
    std::optional<QString> password;
    std::optional<QString> createdBy;
    std::optional<QString> token;
    std::optional<QString> account; // shown as the account name
    std::optional<QString> lastLoginIp;
    std::optional<QString> status;

    // The membership expiry: the stored text cut to its first 10 characters when it
    // has 13 or more (a time in milliseconds since 1970 becomes seconds), else the
    // stored text unchanged.
    std::optional<QString> expiredTime() const;
    const std::optional<QString> &rawExpiredTime() const { return m_expiredTime; }
    void setExpiredTime(const std::optional<QString> &text) { m_expiredTime = text; }

    // The record of an answer's data value; none unless it is an object. Keys other
    // than the fields' are ignored; of a repeated key the last counts.
    static std::optional<QXLoginResultModel> fromJson(const QJsonValue &data);
    // A JSON value as field text under the rules above; none for null, arrays,
    // objects and numbers that are not finite.
    static std::optional<QString> fieldText(const QJsonValue &value);

    bool operator==(const QXLoginResultModel &) const = default;

private:
    std::optional<QString> m_expiredTime;
};
