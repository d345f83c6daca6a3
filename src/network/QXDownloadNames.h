#pragma once

#include <QByteArray>
#include <QString>

class QUrl;

// File names a server suggests for a download. Whatever the server sends, the
// result is a single plain file name (no folder part, not "." or "..", no control
// characters) or "" when none can be made, so it can never leave the folder it is
// saved in.

// The last component of a name ("a/b\\c.bin" -> "c.bin", white space around it
// trimmed); "" for "", ".", "..", names with control characters and names longer
// than kQXMaxDownloadNameBytes in UTF-8.
QString qxPlainFileName(const QString &name);

// The file name of a Content-Disposition header: "filename*" (RFC 5987, UTF-8 or
// ISO-8859-1) before "filename" (quoted or a bare token). "" when it names none.
// The result is not yet reduced to a plain name.
QString qxContentDispositionFileName(const QByteArray &header);

// The name a download is saved under: the Content-Disposition file name, else the
// last segment of the answering URL's path, each reduced to a plain file name; ""
// when neither gives one.
QString qxSuggestedFileName(const QByteArray &contentDisposition, const QUrl &url);

// Leaves room for a prefix and the temporary file's suffix under the usual 255-byte
// limit of a file name.
constexpr int kQXMaxDownloadNameBytes = 200;
