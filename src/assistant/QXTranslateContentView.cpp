#include "QXTranslateContentView.h"

#include "HRVLocalizedString.h"
#include "QXTranslateView.h"
#include "controls/QXPopUpButton.h"
#include "drawing/KitAppearance.h"
#include "drawing/RoundedRegion.h"

#include <QPainter>

namespace {
constexpr int kInset = 2; // the shadow card, then the content, each 2 in
constexpr int kHeaderHeight = 40;
constexpr int kLanguageWidth = 200;
constexpr int kCardGap = 10;   // source card to translation card (the divider in between)
constexpr double kChrome = 50; // header plus the gap
const QColor kHeaderColor(0, 175, 204);
const QColor kTextGrey(112, 112, 112);
const QColor kDividerGrey(204, 204, 204);

// The cards ignore a null text; an empty one clears them.
QString nonNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}
} // namespace

QXTranslateContentView::QXTranslateContentView(Deps deps, QWidget *parent) : QXBaseView(parent), m_deps(std::move(deps))
{
    configUI();
    configTitle();
}

void QXTranslateContentView::configUI()
{
    m_contentView = new QXBaseView(this);
    m_contentView->setLayerBackgroundColor(Qt::white);
    m_contentView->setLayerCornerRadius(8);
    m_contentView->setMasksToBounds(true);

    m_header = new QWidget(m_contentView);
    qxFillBackground(m_header, kHeaderColor);

    m_languageBtn = new QXPopUpButton(m_header);
    LayerStyle flat = m_languageBtn->layerStyle();
    flat.borderWidth = 0;
    m_languageBtn->setLayerStyle(flat);
    m_languageBtn->setTextAlignment(Qt::AlignCenter);
    m_languageBtn->setTextColor(Qt::white);
    m_languageBtn->setUpImageName(QStringLiteral("1_popUpBtn_up_white"));
    m_languageBtn->setDownImageName(QStringLiteral("1_popUpBtn_down_white"));
    m_languageBtn->setImageAlignment(QXPopUpButton::ArrowAfterText);
    m_languageBtn->setFocusPolicy(Qt::NoFocus);

    const auto card = [this](bool isYi) {
        auto *view = new QXTranslateView(m_contentView);
        view->setContentBgColor(Qt::white);
        view->setTextColor(kTextGrey);
        view->setLayerCornerRadius(0);
        view->setIsYiView(isYi);
        view->setFixedWidth(kWidth - 4 * kInset);
        return view;
    };
    m_fanWordView = card(false);
    m_divider = new QWidget(m_contentView);
    qxFillBackground(m_divider, kDividerGrey);
    m_yiWordView = card(true);
    relayout();
}

void QXTranslateContentView::configTitle()
{
    if (!m_languageBtn)
        return;
    if (m_deps.languageNames)
        m_languageBtn->setItemsArr(m_deps.languageNames());
    applyMode();
}

double QXTranslateContentView::cardHeight(const QXTranslateView *card, const QString &text) const
{
    // A card that shows nothing takes no room (a cleared translation gives its space back).
    return text.isEmpty() ? 0 : card->viewHeight();
}

void QXTranslateContentView::setFanText(const QString &text)
{
    m_fanText = text;
    m_fanWordView->setStringValue(nonNull(text));
    applyMode();
}

void QXTranslateContentView::setYiText(const QString &text)
{
    m_yiText = text;
    m_yiWordView->setStringValue(nonNull(text));
    applyMode();
}

void QXTranslateContentView::applyMode()
{
    m_recognitionOnly = m_deps.isScreenshotsOCR && m_deps.isScreenshotsOCR();
    const double f = cardHeight(m_fanWordView, m_fanText);
    const double y = cardHeight(m_yiWordView, m_yiText);
    m_viewHeight = m_recognitionOnly ? f + kChrome : f + y + kChrome;
    m_languageBtn->setHiddenImageView(m_recognitionOnly);
    m_languageBtn->setEnabled(!m_recognitionOnly);
    if (m_recognitionOnly)
        m_languageBtn->setStringValue(hrvAppLocalizedString(QStringLiteral("识别结果")));
    else // the chosen entry's name again (none for an index outside the list)
        m_languageBtn->setStringValue(QString()), m_languageBtn->setSelectIndex(m_languageBtn->selectIndex());
    m_divider->setVisible(!m_recognitionOnly);
    m_yiWordView->setVisible(!m_recognitionOnly);
    relayout();
}

void QXTranslateContentView::relayout()
{
    if (!m_contentView)
        return;
    m_contentView->setGeometry(rect().adjusted(kInset, kInset, -kInset, -kInset));
    const int w = m_contentView->width();
    m_header->setGeometry(0, 0, w, kHeaderHeight);
    m_languageBtn->setGeometry((w - kLanguageWidth) / 2, 0, kLanguageWidth, kHeaderHeight);
    const int f = int(cardHeight(m_fanWordView, m_fanText));
    const int y = int(cardHeight(m_yiWordView, m_yiText));
    m_fanWordView->setGeometry(kInset, kHeaderHeight, w - 2 * kInset, f);
    m_divider->setGeometry(10, kHeaderHeight + f + 5, w - 20, 1);
    m_yiWordView->setGeometry(kInset, kHeaderHeight + f + kCardGap, w - 2 * kInset, y);
}

QRegion QXTranslateContentView::cardRegion() const
{
    return qxRoundedRegion(QRectF(rect()).adjusted(kInset, kInset, -kInset, -kInset), 8);
}

void QXTranslateContentView::paintEvent(QPaintEvent *event)
{
    QXBaseView::paintEvent(event);
    QPainter p(this);
    const QRectF card = QRectF(rect()).adjusted(kInset, kInset, -kInset, -kInset);
    if (m_deps.translucent)
        QXWordView::paintShadow(p, card);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(card, 8, 8);
}

void QXTranslateContentView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    relayout();
}
