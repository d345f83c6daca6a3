#include "QXAIContentView.h"

#include "controls/QXButton.h"
#include "controls/QXTextView.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"

#include <QLabel>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kIcon = 20;
constexpr int kTextLeft = kIcon + 10; // texts start 10 right of the icons
constexpr int kRightInset = 20;
constexpr int kTop = 20;
constexpr int kGap = 20;        // question to the answer card
constexpr int kCardPadding = 5; // the answer's left and right inset inside its card
constexpr int kCardTop = 10;
const QColor kTextColor(38, 12, 12);
const QColor kCardColor(238, 238, 255);

QLabel *icon(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setPixmap(
        QPixmap::fromImage(namedImage(name)).scaled(kIcon, kIcon, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    label->setFixedSize(kIcon, kIcon);
    return label;
}

QXButton *imageButton(const QString &name, QWidget *parent)
{
    auto *button = new QXButton(parent);
    button->setImage(QPixmap::fromImage(namedImage(name)));
    LayerStyle flat = button->layerStyle();
    flat.borderWidth = 0;
    button->setLayerStyle(flat);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(kIcon, kIcon);
    return button;
}

// A measured height that is not a finite, positive number takes no room.
double sane(double height)
{
    return std::isfinite(height) && height > 0 ? height : 0;
}
} // namespace

QXAIContentView::QXAIContentView(TextHeight textHeight, QWidget *parent)
    : QXBaseView(parent), m_textHeight(std::move(textHeight))
{
    m_userIcon = icon(QStringLiteral("user_icon"), this);
    m_questionText = new QXTextView(this);
    m_questionText->setFont(qxSystemFont(16));
    m_questionText->setTextColor(kTextColor);
    m_chatIcon = icon(QStringLiteral("chat_icon"), this);
    m_answerBg = new QXBaseView(this);
    m_answerBg->setLayerBackgroundColor(kCardColor);
    m_answerText = new QXTextView(m_answerBg);
    m_answerText->setFont(qxSystemFont(14));
    m_answerText->setTextColor(kTextColor);
    m_copyBtn = imageButton(QStringLiteral("btn_copy_normal"), this);
    m_copyBtn->setObjectName(QStringLiteral("copy"));
    m_retryBtn = imageButton(QStringLiteral("btn_refresh_normal"), this);
    m_retryBtn->setObjectName(QStringLiteral("retry"));
    connect(m_copyBtn, &QXButton::clicked, this, &QXAIContentView::fuzhiBtnClicked);
    connect(m_retryBtn, &QXButton::clicked, this, &QXAIContentView::retryBtnClicked);
    if (!m_textHeight)
        m_textHeight = [](const QString &text, double width, const QFont &font) {
            return QXTextView::measuredHeight(text, font, width) + QXTextView::kExtraHeight;
        };
}

QString QXAIContentView::question() const
{
    return m_questionText->string();
}

QString QXAIContentView::answer() const
{
    return m_answerText->string();
}

double QXAIContentView::textWidth() const
{
    return std::max(1, width() - kTextLeft - kRightInset);
}

void QXAIContentView::showQuestion(const QString &question, const QString &answer)
{
    const double w = textWidth();
    m_questionText->setMaxWidth(w);
    m_questionText->setString(question);
    m_answerText->setMaxWidth(w - 2 * kCardPadding);
    m_answerText->setString(answer);
    m_questionHeight = sane(m_textHeight(question, w, m_questionText->font()));
    m_answerTextHeight = sane(m_textHeight(answer, w - 2 * kCardPadding, m_answerText->font()));
    m_answerHeight = m_answerTextHeight + 20;
    m_viewHeight = m_answerTextHeight + (m_questionHeight + 20 + 20) + 20 + 40;
    relayout();
}

void QXAIContentView::relayout()
{
    const int w = int(textWidth());
    const int q = int(std::ceil(std::max(m_questionHeight, double(kIcon))));
    m_userIcon->move(0, kTop);
    m_questionText->setGeometry(kTextLeft, kTop, w, q);
    const int cardTop = kTop + q + kGap;
    m_chatIcon->move(0, cardTop);
    const int card = int(std::ceil(m_answerHeight));
    m_answerBg->setGeometry(kTextLeft, cardTop, w, card);
    m_answerText->setGeometry(kCardPadding, kCardTop, std::max(1, w - 2 * kCardPadding), std::max(0, card - kCardTop));
    const int buttonsTop = cardTop + card + 5;
    m_copyBtn->move(kTextLeft + w - kIcon, buttonsTop);
    m_retryBtn->move(kTextLeft + w - 2 * kIcon - 10, buttonsTop);
}

void QXAIContentView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    relayout();
}

void QXAIContentView::fuzhiBtnClicked()
{
    if (copyBlock)
        copyBlock(answer());
}

void QXAIContentView::retryBtnClicked()
{
    if (retryBlock)
        retryBlock(question());
}
