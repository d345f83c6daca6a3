#include "QXInputView.h"

#include "HRVLocalizedString.h"
#include "controls/QXButton.h"
#include "controls/QXSecureTextField.h"
#include "controls/QXTextField.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "popup/VoiceArtwork.h"

namespace {
const QColor kUnderlineColor(112, 112, 112);

QString sendTitle()
{
    return hrvAppLocalizedString(QStringLiteral("发送验证码"));
}

void styleField(QXTextField *field)
{
    field->setFont(qxSystemFont(20));
    QPalette pal = field->palette();
    pal.setColor(QPalette::Text, qxGreyColor());
    field->setPalette(pal);
}
} // namespace

QXInputView::QXInputView(Scheduler &scheduler, QWidget *parent) : QXBaseView(parent), m_scheduler(scheduler)
{
    registerVoiceArtwork(); // the button pictures
}

QXInputView::~QXInputView()
{
    invalidateTimer();
}

QXTextField *QXInputView::textField()
{
    if (!m_textField) {
        m_textField = new QXTextField(this);
        styleField(m_textField);
        m_underline = new QWidget(this);
        qxFillBackground(m_underline, kUnderlineColor);
        m_textField->show();
        m_underline->show();
        layoutSubviews();
    }
    return m_textField;
}

QXSecureTextField *QXInputView::secureTextField()
{
    if (!m_secureTextField) {
        textField(); // the masked field lies on the plain one
        m_secureTextField = new QXSecureTextField(this);
        styleField(m_secureTextField);
        m_secureTextField->show();
        layoutSubviews();
    }
    return m_secureTextField;
}

QXButton *QXInputView::rightBtn()
{
    if (!m_rightBtn) {
        m_rightBtn = new QXButton(this);
        m_rightBtn->setCheckable(true);
        connect(m_rightBtn, &QXButton::clicked, this, [this] { rightBtnClicked(); });
        m_rightBtn->show();
        layoutSubviews();
    }
    return m_rightBtn;
}

void QXInputView::setInputType(quint64 type)
{
    m_inputType = type;
    if (type > 2)
        return;
    const bool first = !m_typeSet;
    m_typeSet = true;
    QXTextField *plain = textField();
    QXSecureTextField *secure = secureTextField();
    QXButton *button = rightBtn();
    if (first && !m_stringValue.isEmpty())
        plain->setText(m_stringValue);
    switch (type) {
    case 0:
        secure->hide();
        plain->show();
        button->setTitle(QString());
        button->setImage(namedPixmap(QStringLiteral("6_close_icon")));
        m_buttonSize = QSize(36, 36);
        m_buttonFitsTitle = false;
        break;
    case 1:
        if (first && !m_stringValue.isEmpty()) {
            secure->setText(m_stringValue);
            plain->clear();
        }
        plain->hide();
        secure->show();
        button->setChecked(false);
        button->setTitle(QString());
        button->setImage(namedPixmap(QStringLiteral("6_eye_nor_icon")));
        m_buttonSize = QSize(24, 24);
        m_buttonFitsTitle = false;
        break;
    default:
        secure->hide();
        plain->show();
        button->setImage(QPixmap());
        button->setTitleColor(qxAccentColor());
        m_buttonFitsTitle = true;
        setButtonTitle(sendTitle());
        break;
    }
    layoutSubviews();
}

QString QXInputView::stringValue() const
{
    if (!m_textField)
        return m_stringValue;
    if (m_inputType == 1 && m_secureTextField && !(m_rightBtn && m_rightBtn->isChecked()))
        return m_secureTextField->text();
    return m_textField->text();
}

void QXInputView::setStringValue(const QString &value)
{
    m_stringValue = value;
    if (!m_textField)
        return;
    if (m_inputType == 1 && m_secureTextField && !(m_rightBtn && m_rightBtn->isChecked()))
        m_secureTextField->setText(value);
    else
        m_textField->setText(value);
}

void QXInputView::rightBtnClicked()
{
    // The button has flipped its state already.
    switch (m_inputType) {
    case 0:
        m_textField->clear();
        break;
    case 1:
        if (m_rightBtn->isChecked()) {
            m_secureTextField->hide();
            m_textField->show();
            m_textField->setText(m_secureTextField->text());
            m_rightBtn->setImage(namedPixmap(QStringLiteral("6_eye_sel_icon")));
        } else {
            m_textField->hide();
            m_secureTextField->show();
            m_secureTextField->setText(m_textField->text());
            m_rightBtn->setImage(namedPixmap(QStringLiteral("6_eye_nor_icon")));
        }
        break;
    case 2:
        if (m_getVerifyCodeBlock)
            m_getVerifyCodeBlock();
        break;
    default:
        break;
    }
}

void QXInputView::getVerificationCode()
{
    rightBtn()->setEnabled(false);
    m_countNum = kCountdownSeconds;
    invalidateTimer();
    // The field is the timer's context: a field deleted while counting is never ticked.
    m_timer = m_scheduler.repeating(
        1000, [this] { showRightBtnState(); }, this);
}

void QXInputView::invalidateTimer()
{
    cancelTimer(m_scheduler, m_timer);
}

void QXInputView::showRightBtnState()
{
    --m_countNum;
    if (m_countNum < 1) {
        invalidateTimer();
        m_rightBtn->setEnabled(true);
        setButtonTitle(sendTitle());
    } else {
        setButtonTitle(QString::number(m_countNum) + hrvAppLocalizedString(QStringLiteral("s后重新获取")));
    }
}

void QXInputView::configTitle()
{
    if (m_inputType != 2 || !m_rightBtn)
        return;
    if (isCounting() && m_countNum < kCountdownSeconds)
        setButtonTitle(QString::number(m_countNum) + hrvAppLocalizedString(QStringLiteral("s后重新获取")));
    else
        setButtonTitle(sendTitle());
}

void QXInputView::setButtonTitle(const QString &title)
{
    m_rightBtn->setTitle(title);
    if (m_buttonFitsTitle) {
        m_buttonSize = QSize(qMax(0, m_rightBtn->sizeHint().width()), 24);
        layoutSubviews();
    }
}

void QXInputView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    layoutSubviews();
}

void QXInputView::layoutSubviews()
{
    const int w = width();
    const int h = height();
    const int fieldHeight = qMax(0, h - 1);
    int buttonLeft = w;
    if (m_rightBtn) {
        buttonLeft = w - m_buttonSize.width();
        const int top = (fieldHeight - m_buttonSize.height()) / 2;
        m_rightBtn->setGeometry(QRect(QPoint(buttonLeft, top), m_buttonSize));
    }
    const QRect field(0, 0, qMax(0, buttonLeft), fieldHeight);
    if (m_textField)
        m_textField->setGeometry(field);
    if (m_secureTextField)
        m_secureTextField->setGeometry(field);
    if (m_underline)
        m_underline->setGeometry(0, h - 1, w, 1);
}
