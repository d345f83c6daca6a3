#pragma once

#include "views/QXBaseView.h"

#include <QPointF>

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
    void btnClicked(int tag);

    void configUI() override;
};
