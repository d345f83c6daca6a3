#pragma once

class QAbstractScrollArea;

// Scrolls a scroll area's content to its top or bottom; nothing happens for a
// null area or one without content.
void pz_scrollToTop(QAbstractScrollArea *area);
void pz_scrollToBottom(QAbstractScrollArea *area);
