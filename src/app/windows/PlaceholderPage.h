#pragma once

#include "views/QXBaseViewController.h"

class QXLabel;

// Stands in for a page that is not part of this build: it names the page, so a
// screen shows what is missing.
class PlaceholderPage : public QXBaseViewController {
    Q_OBJECT
public:
    // className: the page's own class ("MouseSettingViewController"); title: the
    // source text of its tab title, empty for a page without a tab.
    PlaceholderPage(int viewTag, QString className, QString title, QObject *parent = nullptr);

    int viewTag() const { return m_viewTag; }
    QString className() const { return m_className; }
    void configTitle() override;

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;

private:
    int m_viewTag;
    QString m_className;
    QString m_title;
    QXLabel *m_titleLabel = nullptr;
    QXLabel *m_noteLabel = nullptr;
};
