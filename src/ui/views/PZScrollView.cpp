#include "PZScrollView.h"

#include <QAbstractScrollArea>
#include <QScrollArea>
#include <QScrollBar>

namespace {

bool hasContent(QAbstractScrollArea *area)
{
    if (!area)
        return false;
    if (auto *scroll = qobject_cast<QScrollArea *>(area))
        return scroll->widget() != nullptr;
    return true; // item views and text edits always have their content
}

} // namespace

void pz_scrollToTop(QAbstractScrollArea *area)
{
    if (hasContent(area))
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->minimum());
}

void pz_scrollToBottom(QAbstractScrollArea *area)
{
    if (hasContent(area))
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
}
