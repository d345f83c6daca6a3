#include "QXBaseViewController.h"

#include "NotificationCenter.h"
#include "NotificationNames.h"

QXBaseViewController::QXBaseViewController(QObject *parent) : QObject(parent) {}

QXBaseViewController::~QXBaseViewController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    delete m_view.data();
}

QWidget *QXBaseViewController::view()
{
    // viewDidLoad of a subclass reaches view() again while the view is being set up.
    if (m_view || m_loading)
        return m_view;
    m_loading = true;
    m_view = loadView();
    if (!m_view)
        m_view = new QWidget;
    viewDidLoad();
    m_loading = false;
    return m_view;
}

QWidget *QXBaseViewController::loadView()
{
    return new QWidget;
}

void QXBaseViewController::viewDidLoad()
{
    NotificationCenter::defaultCenter().addObserver(QString::fromLatin1(qx::notify::kUpdateTitleNotification), this,
                                                    [this](const QVariant &) { configTitle(); });
}
