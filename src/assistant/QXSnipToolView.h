#pragma once

#include "views/QXBaseView.h"

#include <QPointF>
#include <QRectF>

#include <functional>

// The capture's tool bar: five 40-point buttons on a white rounded bar, by tag:
// 0 recognise only, 1 recognise and translate, 2 save as PNG, 3 copy, 4 cancel.
class QXSnipToolView : public QXBaseView {
    Q_OBJECT
public:
    enum Tool { kRecognise = 0, kTranslate = 1, kSave = 2, kCopy = 3, kCancel = 4 };

    explicit QXSnipToolView(QWidget *parent = nullptr);

    std::function<void(int tag)> btnClickedBlock;
    // Places the bar under a selection whose bottom-right corner is `point`.
    void setCenterPoint(QPointF point);
    // Places the bar for a selection in its parent's points: under it, or above or
    // inside it where the parent (the screen's overlay) has no room below.
    void placeFor(const QRectF &selection);
    void btnClicked(int tag);

    void configUI() override;
};
