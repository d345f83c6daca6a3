#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

// The base of the application's pages. The view is made on the first call of
// view(): loadView() builds it, then viewDidLoad() runs, which subscribes the
// controller's configTitle to "kUpdateTitleNotification". A page whose view has not
// loaded is therefore not re-titled. Subclasses override viewDidLoad, call the base
// first, then their own hooks in their own order.
class QXBaseViewController : public QObject {
    Q_OBJECT
public:
    explicit QXBaseViewController(QObject *parent = nullptr);
    // Deletes the view if it still exists, wherever it was placed.
    ~QXBaseViewController() override;

    QWidget *view();
    bool isViewLoaded() const { return !m_view.isNull(); }

    virtual void configUI() {}
    virtual void configData() {}
    virtual void configTitle() {}

protected:
    // The default view is a plain widget.
    virtual QWidget *loadView();
    virtual void viewDidLoad();

private:
    QPointer<QWidget> m_view;
    bool m_loading = false;
};
