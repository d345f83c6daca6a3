#pragma once

#include "views/QXBaseView.h"

#include <QList>
#include <QPointer>

#include <functional>

class QXButton;
class QXLoginView;
class QXModifyPasswordView;
class QXRechargeView;
class QXUserInfoView;

// The personal centre: the account strip on top, four text tabs on the left and the
// page of the selected tab on the right, or the change-password or recharge form when
// the strip asks for them. Only the first tab has a page (audio-file transcription);
// the other three leave the area empty. The login panel lies hidden over everything.
class QXPersonCenterView : public QXBaseView {
    Q_OBJECT
public:
    // Makes the transcription page, which belongs to another area of the application.
    using MakePage = std::function<QXBaseView *(QWidget *parent)>;

    explicit QXPersonCenterView(MakePage makeTransferAudioView, QWidget *parent = nullptr);

    void configTitle() override;
    // The tab's page, or nothing for a button that is no tab of this page.
    void selectItem(QXButton *button);

    const QList<QXButton *> &btnArray() const { return m_btnArray; }
    QXButton *currentSelectBtn() const { return m_current; }
    QXUserInfoView *userInfoView() const { return m_userInfo; }
    QXBaseView *transferAudioView() const { return m_transferAudio; }
    QXModifyPasswordView *modifyPasswordView() const { return m_modifyPassword; }
    QXRechargeView *rechargeView() const { return m_recharge; }
    QXLoginView *loginView() const { return m_login; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void initUIData();
    void showOnly(QWidget *page);
    void relayout();

    MakePage m_makeTransferAudioView;
    QXLoginView *m_login = nullptr;
    QXUserInfoView *m_userInfo = nullptr;
    QList<QXButton *> m_btnArray;
    QXButton *m_current = nullptr;
    QPointer<QXBaseView> m_transferAudio;
    QXModifyPasswordView *m_modifyPassword = nullptr;
    QXRechargeView *m_recharge = nullptr;
};
