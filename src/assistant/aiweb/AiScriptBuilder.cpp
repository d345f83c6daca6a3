#include "AiScriptBuilder.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>

namespace aiweb {

QString jsStringBody(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        switch (c) {
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'\'':
            out += QLatin1String("\\'");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case 0x2028:
            out += QLatin1String("\\u2028");
            break;
        case 0x2029:
            out += QLatin1String("\\u2029");
            break;
        case u'/':
            // "</script>" inside a page's inline copy of a script would end it.
            out += (i > 0 && text.at(i - 1) == QLatin1Char('<')) ? QLatin1String("\\/") : QLatin1String("/");
            break;
        default:
            if (c < 0x20)
                out += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
            else
                out += QChar(c);
        }
    }
    return out;
}

QString messageSendObject(const QString &sno, const QString &timeStamp)
{
    const QByteArray sign =
        QCryptographicHash::hash((sno + QLatin1Char('#') + timeStamp + QStringLiteral("#brenquostavile")).toUtf8(),
                                 QCryptographicHash::Md5)
            .toHex();
    QJsonObject o;
    o.insert(QStringLiteral("sn"), sno);
    // 64-bit: the time stamp outgrows 32 bits in 2038.
    o.insert(QStringLiteral("timestamp"), timeStamp.toLongLong());
    o.insert(QStringLiteral("sign"), QString::fromLatin1(sign));
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

QString sendScript(qint64 product, const QString &text, const QString &sno, const QString &timeStamp)
{
    const QString t = jsStringBody(text);
    switch (product) {
    case 216:
        return QStringLiteral("idallSendMessage('KDLEMRUTQPZXAVBNCHWGOSIFY','%1',true)").arg(t);
    case 229:
    case 217:
    case 166:
        return QStringLiteral("MESSAGE_SEND('%1',%2)").arg(t, messageSendObject(sno, timeStamp));
    case 44:
    case 282:
    case 209:
    case 285:
        return QStringLiteral("externalFunc('send','%1')").arg(t);
    case 266:
        return QStringLiteral("aiMouseExternalFunc('send','%1')").arg(t);
    default:
        return QStringLiteral("handlInputValue('%1',2)").arg(t);
    }
}

QString helperInputScript(const QString &helperId, const QString &text)
{
    return QStringLiteral("handlHelperInput('%1','%2',2)").arg(jsStringBody(helperId), jsStringBody(text));
}

QString fontSizeScript(int size)
{
    return QStringLiteral("fontSizeChange(%1)").arg(size);
}

QString clearBoxScript()
{
    return QStringLiteral("clearBox()");
}

QString switchScript(bool on)
{
    return QStringLiteral("switchChange(%1)").arg(on ? 2 : 1);
}

QString microphonePermissionScript()
{
    return QStringLiteral("window.onMicrophonePermissionChanged(true);");
}

} // namespace aiweb
