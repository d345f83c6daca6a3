#pragma once

#include "QXBaseView.h"

// A view that keeps mouse presses on its empty areas: a form built on it never
// passes a click to what lies behind it.
class QXBackGroundView : public QXBaseView {
    Q_OBJECT
public:
    explicit QXBackGroundView(QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
