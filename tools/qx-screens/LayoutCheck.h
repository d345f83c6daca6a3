#pragma once

#include <QList>
#include <QRect>
#include <QString>

class QWidget;

// What a reader of a window sees go wrong with its layout: a caption cut off (or cut
// with "…" and whole in its tool tip), two controls drawn over each other, a text
// under a widget drawn after it, a control outside its window, a window outside the
// screen.
struct LayoutFinding {
    QString kind;   // "clipped", "elided", "overlap", "covered", "outside-window", "outside-screen"
    QString widget; // class, object name and text of the control
    QString detail;
};

// Inspects the window and the other visible top-level windows (its pop-ups) as shown.
// A control marked as a layer (qxMarkLayer) may lie over its siblings.
QList<LayoutFinding> inspectLayout(QWidget *window);

// Whether a finding of a scene is a named exception; its reason comes back in `why`.
bool isLayoutException(const QString &scene, const LayoutFinding &finding, QString *why = nullptr);

// Whether a scene may look the same in every language (it shows no interface text, or
// only the user's own); its reason comes back in `why`.
bool isFixedTextScene(const QString &scene, QString *why = nullptr);
