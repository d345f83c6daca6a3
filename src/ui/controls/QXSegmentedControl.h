#pragma once

#include "views/QXBaseView.h"

#include <QList>
#include <QStringList>

#include <functional>

class QXButton;
class QXLabel;

// A row of segments of which one is selected (dark with a white title). A click on a
// segment selects it and reports it, also when it was selected already; selecting
// from code never reports.
class QXSegmentedControl : public QXBaseView {
    Q_OBJECT
public:
    explicit QXSegmentedControl(QWidget *parent = nullptr);

    QStringList titleArr() const { return m_titles; }
    // Builds one segment per title and selects the first (without a report). Each
    // segment is W / max(3, n) wide, so up to three titles leave the rest empty and
    // more titles all fit.
    void setTitleArr(const QStringList &titles);

    int selectIndex() const { return m_selectIndex; }
    void setSelectIndex(int index) { showSelectIndex(index, false); }

    void setSelectBlock(std::function<void(int)> block) { m_selectBlock = std::move(block); }

    const QList<QXButton *> &allItemArr() const { return m_items; }
    const QList<QXLabel *> &dividers() const { return m_dividers; }

signals:
    // A user's choice.
    void selected(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showSelectIndex(int index, bool isCallback);
    void layoutSegments();

    QStringList m_titles;
    int m_selectIndex = 0;
    std::function<void(int)> m_selectBlock;
    QList<QXButton *> m_items;
    QList<QXLabel *> m_dividers;
};
