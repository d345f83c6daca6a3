#include "QXLoginView.h"

#include "AccountFormKit.h"
#include "PZQRCode.h"
#include "controls/OnlyIntegerValueFormatter.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXTextField.h"
#include "drawing/KitAppearance.h"
#include "drawing/TextFit.h"

#include <QLabel>
#include <QPixmap>

#include <algorithm>

using accountform::loc;

namespace {
const QColor kPlaceholder(204, 204, 204);
constexpr int kLeft = 37;
constexpr int kQrWidth = 140;
constexpr int kTabsToQr = 20;
constexpr int kTabPixelSize = 15;

QXTextField *field(QWidget *parent)
{
    auto *f = new QXTextField(parent);
    f->setFont(qxSystemFont(14));
    QPalette palette = f->palette();
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::PlaceholderText, kPlaceholder);
    f->setPalette(palette);
    return f;
}

int textWidth(const QWidget *w, const QString &text)
{
    return w->fontMetrics().horizontalAdvance(text) + 4;
}
} // namespace

QXLoginView::QXLoginView(QWidget *parent) : QXBaseView(parent)
{
    setLayerBackgroundColor(QColor(34, 34, 36));
    m_codeMode = accountform::makeFillButton(this, 15, Qt::transparent, 0);
    m_codeMode->setFont(qxSystemFont(kTabPixelSize, QFont::Bold));
    m_codeMode->setObjectName(QStringLiteral("codeMode"));
    m_passwordMode = accountform::makeFillButton(this, 15, Qt::transparent, 0);
    m_passwordMode->setFont(qxSystemFont(kTabPixelSize, QFont::Bold));
    m_passwordMode->setObjectName(QStringLiteral("passwordMode"));
    m_divider = accountform::makeUnderline(this);
    m_phoneLabel = accountform::makeLabel(this, qxSystemFont(12), accountform::kFieldGrey);
    m_phone = field(this);
    setDigitsOnly(m_phone, true);
    m_phoneLine = accountform::makeUnderline(this);
    m_authCode = accountform::makeFillButton(this, 13, Qt::transparent, 0);
    m_authCode->setFont(qxSystemFont(13, QFont::Bold));
    m_authCode->setTitleColor(kPlaceholder);
    m_authCodeLabel = accountform::makeLabel(this, qxSystemFont(12), accountform::kFieldGrey);
    m_authCodeField = field(this);
    m_authCodeLine = accountform::makeUnderline(this);
    m_qrView = new QXBaseView(this);
    m_qrView->setLayerBackgroundColor(Qt::transparent);
    m_qrView->setLayerCornerRadius(10);
    m_qrView->setLayerBorder(accountform::kFieldGrey, 1);
    m_qrImage = new QLabel(m_qrView);
    qxFillBackground(m_qrImage, Qt::white);
    m_qrLabel1 = accountform::makeLabel(m_qrView, qxSystemFont(12), accountform::kFieldGrey);
    m_qrLabel1->setAlignment(Qt::AlignCenter);
    m_qrLabel2 = accountform::makeLabel(m_qrView, qxSystemFont(12), accountform::kFieldGrey);
    m_qrLabel2->setAlignment(Qt::AlignCenter);
    connect(m_codeMode, &QXButton::clicked, this, [this] { changeLoginMode(m_codeMode); });
    connect(m_passwordMode, &QXButton::clicked, this, [this] { changeLoginMode(m_passwordMode); });
    connect(m_authCode, &QXButton::clicked, this, &QXLoginView::authCodeBtnClicked);
    configTitle();
}

void QXLoginView::setBeep(std::function<void()> beep)
{
    m_beep = std::move(beep);
    for (QXTextField *f : {m_phone, m_authCodeField})
        if (auto *digits = qobject_cast<OnlyIntegerValueFormatter *>(const_cast<QValidator *>(f->validator())))
            digits->setBeep(m_beep);
}

void QXLoginView::setDigitsOnly(QXTextField *f, bool on)
{
    if (const QValidator *old = f->validator())
        const_cast<QValidator *>(old)->deleteLater();
    if (!on) {
        f->setValidator(nullptr);
        return;
    }
    auto *digits = new OnlyIntegerValueFormatter(f);
    if (m_beep)
        digits->setBeep(m_beep);
    f->setValidator(digits);
}

void QXLoginView::configTitle()
{
    m_codeMode->setTitle(loc("验证码登录"));
    m_passwordMode->setTitle(loc("密码登录"));
    m_phoneLabel->setText(loc("手机号"));
    m_phone->setPlaceholderText(loc("请输入手机号"));
    m_authCode->setTitle(loc("获取验证码"));
    m_authCodeLabel->setText(loc("验证码"));
    m_authCodeField->setPlaceholderText(loc("请输入验证码"));
    m_qrLabel1->setText(loc("扫一扫"));
    m_qrLabel2->setText(loc("立即登录"));
    relayout();
}

void QXLoginView::initUIData()
{
    m_qrImage->setPixmap(QPixmap::fromImage(
        pz::generatingTwoDimensionalCode(QString::fromLatin1(kQrAddress), QStringLiteral("Icon"), 100)));
    changeLoginMode(m_codeMode);
}

void QXLoginView::changeLoginMode(QXButton *button)
{
    const bool code = button == m_codeMode;
    m_codeMode->setTitleColor(code ? QColor(Qt::white) : accountform::kFieldGrey);
    m_passwordMode->setTitleColor(code ? accountform::kFieldGrey : QColor(Qt::white));
    m_authCode->setVisible(code);
    m_authCodeLabel->setText(loc(code ? "验证码" : "密码"));
    m_authCodeField->setPlaceholderText(loc(code ? "请输入验证码" : "请输入密码"));
    setDigitsOnly(m_authCodeField, code);
    m_authCodeField->clear();
    relayout();
}

void QXLoginView::relayout()
{
    // Longer translations of the two mode tabs first move the code box into its right
    // margin (keeping 20 of it), then draw both tabs a little smaller, rather than run
    // across the box's frame.
    QFont tabFont = qxSystemFont(kTabPixelSize, QFont::Bold);
    const auto tabsWidth = [this](const QFont &font) {
        const QFontMetrics metrics(font);
        return metrics.horizontalAdvance(m_codeMode->title()) + 4 + 22
               + metrics.horizontalAdvance(m_passwordMode->title()) + 4;
    };
    int qrLeft = width() - 100 - kQrWidth;
    const int tabsEnd = kLeft + tabsWidth(tabFont) + kTabsToQr;
    if (tabsEnd > qrLeft)
        qrLeft = std::max(qrLeft, std::min(tabsEnd, width() - 20 - kQrWidth));
    for (int size = kTabPixelSize;
         kLeft + tabsWidth(tabFont) + kTabsToQr > qrLeft && size - 1 >= kTabPixelSize * textfit::kMinimumScale;)
        tabFont = qxSystemFont(--size, QFont::Bold);
    m_codeMode->setFont(tabFont);
    m_passwordMode->setFont(tabFont);
    m_qrView->setGeometry(qrLeft, 57, kQrWidth, 200);
    const int codeWidth = textWidth(m_codeMode, m_codeMode->title());
    m_codeMode->setGeometry(kLeft, 57, codeWidth, 18);
    m_divider->setGeometry(m_codeMode->geometry().right() + 1 + 10, 57 + (18 - 15) / 2, 2, 15);
    m_passwordMode->setGeometry(m_codeMode->geometry().right() + 1 + 22, 57,
                                textWidth(m_passwordMode, m_passwordMode->title()), 18);
    const int phoneLabelTop = 57 + 18 + 30;
    m_phoneLabel->setGeometry(37, phoneLabelTop, textWidth(m_phoneLabel, m_phoneLabel->text()), 14);
    m_phone->setGeometry(37, phoneLabelTop + 14 + 30, 140, 20);
    m_phoneLine->setGeometry(37, m_phone->geometry().bottom() + 1, 220, 1);
    // A longer translation widens the button to the right, short of the code picture.
    const int codeLeft = m_phone->geometry().right() + 1 + 5;
    const int codeRoom = m_qrView->x() - 20 - codeLeft;
    m_authCode->setGeometry(codeLeft, m_phone->y(),
                            std::max(80, std::min(textWidth(m_authCode, m_authCode->title()), codeRoom)), 20);
    const int codeLabelTop = m_phone->geometry().bottom() + 1 + 30;
    m_authCodeLabel->setGeometry(37, codeLabelTop, textWidth(m_authCodeLabel, m_authCodeLabel->text()), 14);
    m_authCodeField->setGeometry(37, codeLabelTop + 14 + 30, 140, 20);
    m_authCodeLine->setGeometry(37, m_authCodeField->geometry().bottom() + 1, 220, 1);
    m_qrImage->setGeometry(20, 20, 100, 100);
    m_qrLabel1->setGeometry(0, 130, 140, 15);
    m_qrLabel2->setGeometry(0, 155, 140, 15);
}

void QXLoginView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    relayout();
}
