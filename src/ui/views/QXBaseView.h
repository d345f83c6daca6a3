#pragma once

#include "drawing/LayerStyle.h"

#include <QPointer>
#include <QWidget>

// The base of the application's composite views. The constructor subscribes the
// view's configTitle to "kUpdateTitleNotification" for the view's life, so every
// live view sets its texts again when the interface language changes. The base
// calls none of the hooks: each subclass calls its own from its constructor, in its
// own order (a virtual call from here would reach the empty base version anyway).
class QXBaseView : public QWidget {
    Q_OBJECT
public:
    explicit QXBaseView(QWidget *parent = nullptr);
    ~QXBaseView() override;

    // Create subviews; load state and register further observers; set every
    // user-visible text. configTitle runs again on each language change, so it only
    // sets texts (from the current state) and never adds subviews.
    virtual void configUI() {}
    virtual void configData() {}
    virtual void configTitle() {}

    // The layer look (background, border, corner radius, clipping). The border is
    // drawn over the subviews, as a layer border is.
    const LayerStyle &layerStyle() const { return m_layer; }
    void setLayerStyle(const LayerStyle &style);
    void setLayerBackgroundColor(const QColor &color);
    void setLayerBorder(const QColor &color, qreal width);
    void setLayerCornerRadius(qreal radius);
    void setMasksToBounds(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void childEvent(QChildEvent *event) override;

private:
    void layerChanged();
    void updateMask();

    LayerStyle m_layer;
    QPointer<QWidget> m_borderOverlay;
};

// Ends now the language-change subscription a view of the kit holds for `object`,
// rather than at its destruction: for a view taken off the screen and deleted later,
// which must not redraw its titles in between.
void endTitleSubscription(QObject *object);
