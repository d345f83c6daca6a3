#pragma once

#include "views/QXBaseView.h"

#include <QString>
#include <QStringList>

#include <functional>

class QXPopUpButton;
class QXTranslateView;

// The translation window's content: a card with a coloured header holding the
// target-language pop-up, the source card, a divider and the translation card. It
// wants f + y + 50 (f, y the cards' heights), or f + 50 in the recognition-only
// layout, where the pop-up is a disabled title and the translation card is gone.
class QXTranslateContentView : public QXBaseView {
    Q_OBJECT
public:
    struct Deps {
        // The pop-up's entries for the window's current mode.
        std::function<QStringList()> languageNames;
        // Recognition only: set by the capture's tool bar.
        std::function<bool()> isScreenshotsOCR;
        bool translucent = false; // a compositor draws the shadow's soft edge
    };

    explicit QXTranslateContentView(Deps deps, QWidget *parent = nullptr);

    QString fanText() const { return m_fanText; }
    QString yiText() const { return m_yiText; }
    void setFanText(const QString &text);
    void setYiText(const QString &text);
    double viewHeight() const { return m_viewHeight; }

    void configUI() override;
    void configTitle() override;

    QXPopUpButton *languageBtn() const { return m_languageBtn; }
    QXTranslateView *fanWordView() const { return m_fanWordView; }
    QXTranslateView *yiWordView() const { return m_yiWordView; }
    bool isRecognitionOnly() const { return m_recognitionOnly; }
    // The rounded card, in this view's points: what an opaque window shows of itself.
    QRegion cardRegion() const;

    // Width of the window this content fills.
    static constexpr int kWidth = 320;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyMode();
    void relayout();
    double cardHeight(const QXTranslateView *card, const QString &text) const;

    Deps m_deps;
    QString m_fanText;
    QString m_yiText;
    double m_viewHeight = 0;
    bool m_recognitionOnly = false;
    QXBaseView *m_contentView = nullptr;
    QWidget *m_header = nullptr;
    QXPopUpButton *m_languageBtn = nullptr;
    QXTranslateView *m_fanWordView = nullptr;
    QWidget *m_divider = nullptr;
    QXTranslateView *m_yiWordView = nullptr;
};
