#pragma once

#include "PageContext.h"
#include "views/QXBaseView.h"

class QXButton;
class QXLabel;

// The launch-at-login row: one switch over the desktop's autostart entry. Built for
// the first time with nothing stored and no entry, it turns launch at login on. A
// change the desktop refuses puts the switch back and says "请求失败". No page shows
// this row.
class BootupView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr int kViewHeight = 35;

    explicit BootupView(const PageContext &context, QWidget *parent = nullptr);

    void configUI() override;
    void configTitle() override;
    void configData() override;
    int viewHeight() const { return kViewHeight; }

    void switchBtnClicked();

    QXLabel *titleLabel() const { return m_titleLabel; }
    QXButton *switchBtn() const { return m_switchBtn; }

private:
    PageContext m_context;
    QXLabel *m_titleLabel = nullptr;
    QXButton *m_switchBtn = nullptr;
};
