#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// Text handling of request URLs. Pure functions, no Qt objects.

using QXStringMap = QMap<QString, QString>;

// Percent-encodes one value (or key) for a URL query with the kit's URL encoding:
// space, ASCII punctuation other than - . _ ~ and everything outside ASCII become
// %XX of their UTF-8 bytes. "&", "=", "+", "#", "%" and spaces in values therefore
// reach the server unchanged.
QString qxEncodeQueryValue(const QString &value);

// Makes a URL text sendable: every character after the authority that is not
// allowed in a URL query (spaces, non-ASCII letters, quotes, "#", ...) becomes a
// percent escape. An escape that is already there ("%26") is kept as it is, so a
// value encoded by a scene is not escaped a second time; a lone "%" becomes "%25".
QByteArray qxEscapeUrlText(const QString &url);

// True when the query of an (escaped) URL has a field whose key is exactly `key`.
bool qxUrlQueryHasKey(const QByteArray &escapedUrl, const QString &key);

// Appends the pairs, form-encoded and in key order, to the URL's query.
QByteArray qxAppendQueryParameters(const QByteArray &escapedUrl, const QXStringMap &parameters);

// Base + path + "?k=v&k=v" with each value encoded: the form every scene URL takes.
QString qxBuildSceneUrl(const QString &base, const QString &path, const QList<QPair<QString, QString>> &query = {});
