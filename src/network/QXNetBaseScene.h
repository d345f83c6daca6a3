#pragma once

#include "QXAnswerReader.h"
#include "QXQueryEncoding.h"

#include <QByteArray>
#include <QString>

#include <optional>

// One HTTP endpoint: where the request goes, how it is sent and how its answer is
// read. Every question has the maker's API default; a scene subclass overrides only
// what differs. The client asks the request questions when it builds the request
// and the answer questions when the answer arrives, so a scene is kept alive until
// then (it is handed over in a shared_ptr).
class QXNetBaseScene {
public:
    virtual ~QXNetBaseScene() = default;

    // Replaces the default parameters (an empty map included: then none are sent).
    void setMyParameters(const QXStringMap &parameters) { m_myParam = parameters; }
    // Replaces the default header (an empty map included: then the scene sets none).
    void setMyRequestHeader(const QXStringMap &header) { m_myHeaderParam = header; }
    void setMyRequestBody(const QByteArray &body) { m_myBodyData = body; }

    const std::optional<QXStringMap> &myParam() const { return m_myParam; }
    const std::optional<QXStringMap> &myHeaderParam() const { return m_myHeaderParam; }
    const std::optional<QByteArray> &myBodyData() const { return m_myBodyData; }

    virtual QString schema() const { return QStringLiteral("HTTP"); }
    // Not const: a scene may fill itself from the application state when its URL is
    // built (the device profile scene consumes a one-shot flag there).
    virtual QString requestURL();
    virtual QString httpMethod() const { return QStringLiteral("GET"); }
    virtual QXStringMap requestHeader() const;
    virtual QXStringMap requestParameters() const;
    virtual std::optional<QByteArray> requestBody() const { return m_myBodyData; }
    virtual qint64 timeOutInterval() const { return 10; }

    virtual qint64 resultBackType() const { return 2; }
    virtual QString resultCodeParsingField() const { return QStringLiteral("rc"); }
    virtual qint64 resultSuccessCode() const { return 0; }
    virtual QString resultMessageParsingField() const { return QStringLiteral("msg"); }
    virtual QString resultDataOneFloorParsingField() const { return QStringLiteral("data"); }
    virtual QString resultDataTwoFloorParsingField() const { return QString(); }
    // Whether an answer without the data field is a failure rather than success.
    virtual bool resultDataRequired() const { return false; }

    QXAnswerSpec answerSpec() const;

    // The six fields that identify the client, built from the stored device on
    // every call: vid, pid, sn, channelName, macAddr, clientversion.
    static QXStringMap defaultClientFields();
    // The maker's main and second API bases.
    static QString mainApiBase();
    static QString secondApiBase();

private:
    std::optional<QXStringMap> m_myParam;
    std::optional<QXStringMap> m_myHeaderParam;
    std::optional<QByteArray> m_myBodyData;
};
