#include "QXLowPowerRemindSettingView.h"

#include "HRVLocalizedString.h"
#include "QXUserInfoData.h"
#include "RowSwitch.h"
#include "controls/OnlyIntegerValueFormatter.h"
#include "controls/QXLabel.h"
#include "controls/QXTextField.h"
#include "drawing/KitAppearance.h"

namespace {
constexpr int kTitleHeight = 27;
constexpr QSize kFieldSize(40, 30);
constexpr qint64 kFloor = 5;

// The whole number a text holds; "" (or anything the field refused) is 0.
qint64 integerValue(const QString &text)
{
    return text.trimmed().toLongLong();
}
} // namespace

QXLowPowerRemindSettingView::QXLowPowerRemindSettingView(const PageContext &context, QWidget *parent)
    : QXBaseView(parent), m_context(context)
{
    configUI();
    configTitle();
}

void QXLowPowerRemindSettingView::configUI()
{
    m_titleLabel = rowswitch::makeLabel(this, 20);
    m_titleLabel->setObjectName(QStringLiteral("lowPowerTitle"));
    m_timeField = new QXTextField(this);
    m_timeField->setObjectName(QStringLiteral("lowPowerField"));
    m_timeField->setFont(qxSystemFont(16));
    m_timeField->setAlignment(Qt::AlignCenter);
    m_timeField->setFrame(true);
    m_timeField->resize(kFieldSize);
    m_formatter = new OnlyIntegerValueFormatter(m_timeField);
    m_timeField->setValidator(m_formatter);
    connect(m_timeField, &QLineEdit::textEdited, this, [this] { controlTextDidChange(); });
    connect(m_timeField, &QLineEdit::editingFinished, this, [this] { controlTextDidEndEditing(); });
    m_timeLabel = rowswitch::makeLabel(this, 20);
    resize(width(), kViewHeight);
}

void QXLowPowerRemindSettingView::configTitle()
{
    m_titleLabel->setText(hrvAppLocalizedString(QStringLiteral("低电提醒设置")));
    m_timeField->setText(QString::number(m_context.state.lowPowerNum()));
    m_timeLabel->setText(QStringLiteral("%"));
    rowswitch::fitLabel(m_titleLabel, kTitleHeight);
    rowswitch::fitLabel(m_timeLabel, kTitleHeight);
    m_titleLabel->move(0, 0);
    m_timeField->move(m_titleLabel->width() + 20, (kTitleHeight - kFieldSize.height()) / 2);
    m_timeLabel->move(m_timeField->geometry().right() + 1, 0);
}

void QXLowPowerRemindSettingView::controlTextDidChange()
{
    m_context.state.setLowPowerNum(integerValue(m_timeField->text()));
}

void QXLowPowerRemindSettingView::controlTextDidEndEditing()
{
    if (integerValue(m_timeField->text()) <= 1)
        m_timeField->setText(QString::number(kFloor));
    m_context.state.setLowPowerNum(integerValue(m_timeField->text()));
}
