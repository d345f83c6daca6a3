#pragma once

#include <QWidget>

// A control laid under or over its siblings on purpose (a row's backdrop button under
// its captions, a badge on a picture). Unmarked controls that overlap a sibling are a
// layout fault, which the screens tool's layout check reports.
inline void qxMarkLayer(QWidget *widget)
{
    widget->setProperty("qxLayer", true);
}

inline bool qxIsLayer(const QWidget *widget)
{
    return widget->property("qxLayer").toBool();
}
