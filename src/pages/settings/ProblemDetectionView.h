#pragma once

#include "PageContext.h"
#include "views/QXBaseView.h"

#include <QList>

class QXButton;
class QXLabel;

// The problem-detection row: a heading and one check, "检测麦克风", whose switch sets
// an in-memory flag that nothing reads. No page shows this row.
class ProblemDetectionView : public QXBaseView {
    Q_OBJECT
public:
    explicit ProblemDetectionView(const PageContext &context, QWidget *parent = nullptr);

    void configUI() override;
    void configTitle() override;
    // 69 for the heading and 69 for each check.
    int viewHeight() const { return 69 * int(m_functionLabels.size() + 1); }

    void checkMicBtnClicked();

    QXLabel *titleLabel() const { return m_titleLabel; }
    QXLabel *functionLabel1() const { return m_functionLabels.value(0); }
    QXButton *checkMicBtn() const { return m_checkMicBtn; }

private:
    PageContext m_context;
    QXLabel *m_titleLabel = nullptr;
    QList<QXLabel *> m_functionLabels;
    QXButton *m_checkMicBtn = nullptr;
};
