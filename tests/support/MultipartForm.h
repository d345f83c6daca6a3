#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

#include <optional>

// One part of a multipart/form-data body as a server reads it.
struct MultipartPart {
    QList<QPair<QByteArray, QByteArray>> headers; // names as sent
    QByteArray body;

    QByteArray header(const QByteArray &name) const; // first match, case-insensitive
    // A parameter of the Content-Disposition header ("name", "filename"); nullopt when absent.
    std::optional<QByteArray> dispositionParameter(const QByteArray &parameter) const;
};

// Reads a multipart body the way a strict server would: the boundary from the
// Content-Type header (quoted or not), CRLF line ends, a closing delimiter.
// nullopt when the body does not follow the format.
std::optional<QList<MultipartPart>> parseMultipartForm(const QByteArray &contentTypeHeader, const QByteArray &body);
