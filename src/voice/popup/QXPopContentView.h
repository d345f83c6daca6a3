#pragma once

#include <QHash>
#include <QList>
#include <QPixmap>
#include <QRegion>
#include <QWidget>

#include "views/QXBaseView.h"

class NSAnimateImageView;
class QLabel;
class QXWordView;

// The speech pop-up's content: the recognised text on a white card, the translation
// on an accent card under a wave strip (both hidden while there is no translation),
// and the press type's animation at the bottom centre. It works out the height it
// wants (viewHeight); the window takes that height.
class QXPopContentView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrameStepDelayMs = 500;

    explicit QXPopContentView(QWidget *parent = nullptr);

    QString fanText() const { return m_fanText; }
    void setFanText(const QString &text);
    QString yiText() const { return m_yiText; }
    void setYiText(const QString &text);

    // 33 typing, 35 search command, 37 translation, 0 idle. A change plays the type's
    // frames and, half a second later, the listening loop (after any type, 0 too).
    qint64 pressType() const { return m_pressType; }
    void setPressType(qint64 type);

    double viewHeight() const { return m_viewHeight; }
    // Places the cards and the animation in the current size. A hidden view gets its
    // resize event only when shown; the window calls this when it changes the size.
    void relayout();

    // The loop plays only while the pop-up is on the screen: a hidden window's
    // frames would wake an idle application ten times a second for nothing.
    void setAnimationsVisible(bool visible);

    // What the content covers (cards, wave strip, animation): the window's shape
    // where no compositor can show a translucent window.
    QRegion shapeRegion() const;

    NSAnimateImageView *typeImageView() const { return m_typeImageView; }
    QXWordView *fanWordView() const { return m_fanWordView; }
    QXWordView *yiWordView() const { return m_yiWordView; }
    QWidget *waveView() const { return m_waveView; }
    double fanWordViewHeight() const { return m_fanHeight; }
    double yiWordViewHeight() const { return m_yiHeight; }

signals:
    void viewHeightChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void recomputeHeight();
    void playFrames(const QList<QPixmap> &frames);
    const QList<QPixmap> &frames(qint64 type);

    QString m_fanText;
    QString m_yiText;
    qint64 m_pressType = 0;
    double m_viewHeight = 0;
    double m_fanHeight = 100;
    double m_yiHeight = 100;
    bool m_animationsVisible = false;

    QXWordView *m_fanWordView = nullptr;
    QXWordView *m_yiWordView = nullptr;
    QXBaseView *m_waveView = nullptr;
    QLabel *m_waveImage = nullptr;
    NSAnimateImageView *m_typeImageView = nullptr;
    // Frames per press type (-1: the listening loop), made once.
    QHash<qint64, QList<QPixmap>> m_frames;
};
