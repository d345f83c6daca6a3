// Feeds arbitrary script messages of the AI page through their handling, and the
// texts they carry through the JavaScript string escaping. Input: the handler name up
// to the first '\n', then the body's JSON text. A message acts only when it is an
// "iOS" object with a known action, and an escaped text never ends its literal.
#include "aiweb/AiMessageHandler.h"
#include "aiweb/AiScriptBuilder.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// No line terminator, and every quote behind an odd run of backslashes.
bool staysInsideTheLiteral(const QString &body)
{
    qsizetype backslashes = 0;
    for (const QChar c : body) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c.unicode() == 0x2028 || c.unicode() == 0x2029)
            return false;
        if (c == QLatin1Char('\'') && backslashes % 2 == 0)
            return false;
        backslashes = c == QLatin1Char('\\') ? backslashes + 1 : 0;
    }
    return backslashes % 2 == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype nameEnd = input.indexOf('\n');
    const QString name = QString::fromUtf8(nameEnd < 0 ? input : input.left(nameEnd));
    const QString body = QString::fromUtf8(nameEnd < 0 ? QByteArray() : input.mid(nameEnd + 1));

    const AiMessageAction action = aiweb::handleAiMessage(name, body);
    if (action.logLine.isEmpty())
        std::abort();
    if (action.kind != AiMessageAction::Kind::None && name != QLatin1String("iOS"))
        std::abort();
    if (action.kind != AiMessageAction::Kind::CopyToClipboard && !action.text.isEmpty())
        std::abort();
    if (!staysInsideTheLiteral(aiweb::jsStringBody(body)) || !staysInsideTheLiteral(aiweb::jsStringBody(name)))
        std::abort();
    return 0;
}
