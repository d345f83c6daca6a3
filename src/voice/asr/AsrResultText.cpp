#include "AsrResultText.h"

void AsrResultText::appendSentence(const QString &sentence)
{
    if (sentence.isEmpty())
        return;
    m_text = m_text.isEmpty() ? sentence : m_text + QLatin1Char('\n') + sentence;
}

AsrResultText::Report AsrResultText::apply(const AsrReply &reply)
{
    Report r;
    switch (reply.type) {
    case AsrReply::Type::Mid:
        r.newText = reply.text;
        if (m_text.isEmpty())
            r.display = reply.text;
        else
            r.display = reply.text.isEmpty() ? m_text : m_text + QLatin1Char('\n') + reply.text;
        break;
    case AsrReply::Type::Fin:
        appendSentence(reply.text);
        r.display = m_text;
        r.newText = reply.text;
        r.status = 1;
        break;
    case AsrReply::Type::Last:
        appendSentence(reply.text);
        r.newText = reply.text.isEmpty() ? m_text : reply.text;
        r.display = m_text;
        r.status = 2;
        r.isLast = true;
        break;
    case AsrReply::Type::Other:
        r.display = m_text;
        break;
    }
    return r;
}
