#include "PZTextMeasure.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QTextDocument>
#include <QTextEdit>

#include <cmath>
#include <memory>

double pz_textHeight(const QLabel &label)
{
    const QFontMetricsF metrics(label.font());
    const int flags = label.wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
    const QString text = label.text().isEmpty() ? QStringLiteral(" ") : label.text();
    return std::ceil(metrics.boundingRect(QRectF(0, 0, label.width(), 1e6), flags, text).height());
}

double pz_textHeightWithWidth(const QTextEdit &edit, double width)
{
    if (edit.document()->isEmpty() || !std::isfinite(width) || width <= 0)
        return 0;
    const std::unique_ptr<QTextDocument> doc(edit.document()->clone());
    doc->setDocumentMargin(0);
    doc->setTextWidth(width);
    return doc->size().height();
}
