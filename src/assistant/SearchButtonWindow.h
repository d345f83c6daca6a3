#pragma once

#include <QWidget>

class QXButton;

// The small search button shown at the pointer after a selection. A tool window
// that never takes the focus: the application where the text was selected keeps it.
class SearchButtonWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSide = 20;

    SearchButtonWindow();

    // The button's lower-left corner at the pointer (desktop coordinates).
    void showAtPointer(QPoint pointer);
    QXButton *searchBtn() const { return m_button; }

signals:
    void searchBtnClicked();

private:
    QXButton *m_button;
};
