#pragma once

#include "views/QXBaseView.h"

#include <QStringList>

#include <functional>

class ICommandModel;
class IErrorAlert;
class NotificationCenter;
class QXButton;
class QXLabel;
class QXTextField;
class RowList;

// One entry row of the hot-word card: a field that reports when editing begins, the
// text when editing ends (Return or leaving the field) and Return itself.
class AddHotWordCellView : public QXBaseView {
    Q_OBJECT
public:
    explicit AddHotWordCellView(QWidget *parent = nullptr);

    int row() const { return m_row; }
    // Names the field "row<N>.field".
    void setRow(int row);
    void setStringValue(const QString &text);
    QXTextField *contentField() const { return m_contentField; }

    std::function<void()> inputBeginBlock;
    std::function<void(const QString &text)> inputEndBlock;
    std::function<void()> insertNewlineBlock;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_row = -1;
    QXTextField *m_contentField = nullptr;
};

// The left card of the hot-word tab: ten rows, one word each, and "创建", which sends
// the filled rows as one hot-word entry (a JSON array of the words, in row order).
// Success empties the rows and tells the hot-word list to reload
// ("kUpdateHotWordListNotification"); failure keeps the rows and shows the alert.
class AddHotWordView : public QXBaseView {
    Q_OBJECT
public:
    struct Deps {
        ICommandModel &commands;
        IErrorAlert &errorAlert;
        NotificationCenter &notifications;
    };

    explicit AddHotWordView(Deps deps, QWidget *parent = nullptr);
    ~AddHotWordView() override;

    // Ten empty rows; an end of editing that arrives later is not written back.
    void resetData();
    void createBtnClicked();
    // Moves the focus to a row (scrolled into view); nothing past the last row.
    void nextTextFieldInput(int row);

    const QStringList &dataArr() const { return m_dataArr; }
    int currentInputRow() const { return m_currentInputRow; }
    bool isClear() const { return m_isClear; }
    QXLabel *tipLabel() const { return m_tipLabel; }
    RowList *tableView() const { return m_tableView; }
    QXButton *createBtn() const { return m_createBtn; }
    AddHotWordCellView *cell(int row) const;

    static constexpr int kRows = 10;
    static constexpr int kRowHeight = 40;

protected:
    void configUI() override;
    void configTitle() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutViews();

    Deps m_deps;
    QStringList m_dataArr;
    int m_currentInputRow = 0;
    bool m_isClear = true;
    QXLabel *m_tipLabel = nullptr;
    RowList *m_tableView = nullptr;
    QXButton *m_createBtn = nullptr;
};
