#pragma once

#include "views/QXBaseView.h"

#include <functional>

class QXButton;
class QXLabel;

// The account strip of the personal centre: a nickname line, the recording minutes
// left and two buttons whose presses go to the owner. It shows fixed texts.
class QXUserInfoView : public QXBaseView {
    Q_OBJECT
public:
    explicit QXUserInfoView(QWidget *parent = nullptr);

    void configTitle() override;
    void modifyPasswordBtnClicked();
    void rechargeBtnClicked();

    std::function<void()> modifyPasswordBlock;
    std::function<void()> rechargeBlock;

    QXLabel *nickNameLabel() const { return m_nickName; }
    QXLabel *durtionTimeLabel() const { return m_minutes; }
    QXButton *modifyPasswordBtn() const { return m_modifyPassword; }
    QXButton *rechargeBtn() const { return m_recharge; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void relayout();

    QXLabel *m_nickName = nullptr;
    QXButton *m_modifyPassword = nullptr;
    QXLabel *m_minutesTip = nullptr;
    QXLabel *m_minutes = nullptr;
    QXButton *m_recharge = nullptr;
};
