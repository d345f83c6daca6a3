#include "QXModifyPasswordView.h"

#include "AccountFormKit.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXSecureTextField.h"
#include "drawing/KitAppearance.h"

using accountform::loc;

QXModifyPasswordView::QXModifyPasswordView(QWidget *parent) : QXBaseView(parent)
{
    int y = 0;
    for (size_t i = 0; i < 3; ++i) {
        m_tips[i] = accountform::makeLabel(this, qxSystemFont(12), accountform::kFieldGrey);
        m_tips[i]->setGeometry(0, y, 200, 14);
        m_fields[i] = new QXSecureTextField(this);
        m_fields[i]->setFont(qxSystemFont(14));
        QPalette text = m_fields[i]->palette();
        text.setColor(QPalette::Text, Qt::white);
        m_fields[i]->setPalette(text);
        m_fields[i]->setGeometry(0, y + 14 + 30, 140, 20);
        accountform::makeUnderline(this)->setGeometry(0, y + 14 + 30 + 20, 220, 1);
        y += 14 + 30 + 20 + 30;
    }
    const int buttonsTop = m_fields[2]->geometry().bottom() + 1 + 15;
    m_cancel = accountform::makeFillButton(this, 12, Qt::black, 10);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_cancel->setGeometry(10, buttonsTop, 80, 20);
    m_save = accountform::makeFillButton(this, 12, Qt::black, 10);
    m_save->setObjectName(QStringLiteral("save"));
    m_save->setGeometry(m_cancel->geometry().right() + 1 + 50, buttonsTop, 80, 20);
    connect(m_cancel, &QXButton::clicked, this, &QXModifyPasswordView::cancelBtnClicked);
    connect(m_save, &QXButton::clicked, this, &QXModifyPasswordView::saveBtnClicked);
    configTitle();
}

void QXModifyPasswordView::configTitle()
{
    m_tips[0]->setText(loc("请输入原始密码"));
    m_tips[1]->setText(loc("请输入新密码"));
    m_tips[2]->setText(loc("请再次输入新密码"));
    m_cancel->setTitle(loc("取消"));
    m_save->setTitle(loc("保存"));
    for (QXSecureTextField *field : m_fields)
        field->setText(QString::fromLatin1(kFiller));
}

void QXModifyPasswordView::cancelBtnClicked()
{
    hide();
    if (cancelBlock)
        cancelBlock();
}

void QXModifyPasswordView::saveBtnClicked()
{
    if (sureBlock)
        sureBlock();
}
