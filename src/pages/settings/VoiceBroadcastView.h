#pragma once

#include "PageContext.h"
#include "views/QXBaseView.h"

class QXButton;
class QXLabel;

// The voice-broadcast row: one switch over the stored preference, which nothing else
// reads. No page shows this row.
class VoiceBroadcastView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr int kViewHeight = 55;

    explicit VoiceBroadcastView(const PageContext &context, QWidget *parent = nullptr);

    void configUI() override;
    void configTitle() override;
    int viewHeight() const { return kViewHeight; }

    void switchBtnClicked();

    QXLabel *titleLabel() const { return m_titleLabel; }
    QXButton *switchBtn() const { return m_switchBtn; }

private:
    PageContext m_context;
    QXLabel *m_titleLabel = nullptr;
    QXButton *m_switchBtn = nullptr;
};
