#pragma once

#include "controls/QXButton.h"

class QLabel;
class QXLabel;

// An item of the main window's tab bar: a 24 x 24 image 24 px from the left and the
// title 5 px right of it, both centred vertically. The button's own title stays empty.
class QXTabItem : public QXButton {
    Q_OBJECT
public:
    explicit QXTabItem(QWidget *parent = nullptr);

    QString imageName() const { return m_imageName; }
    void setImageName(const QString &name);
    QString titleName() const { return m_titleName; }
    // Shown as given: callers pass the localised text.
    void setTitleName(const QString &title);
    void setTitleColor(const QColor &color);

    QLabel *imageView();
    QXLabel *titleLabel();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutSubviews();

    QString m_imageName;
    QString m_titleName;
    QLabel *m_imageView = nullptr;
    QXLabel *m_titleLabel = nullptr;
};
