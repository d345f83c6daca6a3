#pragma once

#include "PageContext.h"
#include "views/QXBaseView.h"

class OnlyIntegerValueFormatter;
class QXLabel;
class QXTextField;

// The low-battery reminder row: the battery percentage at or below which the
// application warns, as a whole number. Every edit stores the value at once; leaving
// the field with 1 or less puts 5 there. No page shows this row.
class QXLowPowerRemindSettingView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr int kViewHeight = 69;

    explicit QXLowPowerRemindSettingView(const PageContext &context, QWidget *parent = nullptr);

    void configUI() override;
    void configTitle() override;
    int viewHeight() const { return kViewHeight; }

    // The field's text changed (every keystroke), and editing ended.
    void controlTextDidChange();
    void controlTextDidEndEditing();

    QXLabel *titleLabel() const { return m_titleLabel; }
    QXTextField *timeField() const { return m_timeField; }
    OnlyIntegerValueFormatter *formatter() const { return m_formatter; }

private:
    PageContext m_context;
    QXLabel *m_titleLabel = nullptr;
    QXTextField *m_timeField = nullptr;
    QXLabel *m_timeLabel = nullptr;
    OnlyIntegerValueFormatter *m_formatter = nullptr;
};
