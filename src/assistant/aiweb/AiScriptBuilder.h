#pragma once

#include <QString>

// The scripts the application runs in the AI page. Texts (recognised speech, typed
// questions, helper ids) go in as JavaScript string literals with every character
// that could end or break the literal escaped, so the page receives exactly the
// text, whatever it holds. Pure.
namespace aiweb {

// The body of a single-quoted JavaScript string literal whose value is `text`.
QString jsStringBody(const QString &text);

// The page's send function for the product (integer value of its code): each partner
// page has its own; the maker's pages take handlInputValue.
QString sendScript(qint64 product, const QString &text, const QString &sno, const QString &timeStamp);
// The JSON object MESSAGE_SEND takes: {"sn", "timestamp" (a number), "sign"}, compact.
QString messageSendObject(const QString &sno, const QString &timeStamp);

QString helperInputScript(const QString &helperId, const QString &text);
QString fontSizeScript(int size);
QString clearBoxScript();
// The context switch: 2 when turned on, 1 when off.
QString switchScript(bool on);
QString microphonePermissionScript();

} // namespace aiweb
