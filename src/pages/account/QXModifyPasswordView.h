#pragma once

#include "views/QXBaseView.h"

#include <array>
#include <functional>

class QXButton;
class QXLabel;
class QXSecureTextField;

// The change-password form of the personal centre: three masked fields and "取消" /
// "保存". It checks and sends nothing: cancel hides it and tells the owner, save only
// tells the owner. Every re-title puts the filler "123" back into the three fields.
class QXModifyPasswordView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr const char kFiller[] = "123";

    explicit QXModifyPasswordView(QWidget *parent = nullptr);

    void configTitle() override;
    void cancelBtnClicked();
    void saveBtnClicked();

    std::function<void()> cancelBlock;
    std::function<void()> sureBlock;

    QXSecureTextField *textField(int i) const { return m_fields[size_t(i)]; }

private:
    std::array<QXLabel *, 3> m_tips{};
    std::array<QXSecureTextField *, 3> m_fields{};
    QXButton *m_cancel = nullptr;
    QXButton *m_save = nullptr;
};
