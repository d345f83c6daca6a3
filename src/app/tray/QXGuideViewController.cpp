#include "QXGuideViewController.h"

#include "HRVLocalizedString.h"
#include "QXMouseCommandManager.h"
#include "Scheduler.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"
#include "views/QXBaseView.h"

namespace {
const QColor kTitleColor(38, 12, 12);
}

QXGuideViewController::QXGuideViewController(Deps deps, QObject *parent)
    : QXBaseViewController(parent), m_deps(std::move(deps))
{
}

QWidget *QXGuideViewController::loadView()
{
    auto *view = new QXBaseView;
    view->setFixedSize(kWidth, kHeight);
    view->setLayerBackgroundColor(Qt::white);

    m_tipLabel1 = new QXLabel(view);
    m_tipLabel1->setFont(qxSystemFont(16, QFont::Medium));
    m_tipLabel1->setTextColor(kTitleColor);
    m_tipLabel1->setAlignment(Qt::AlignCenter);
    m_tipLabel1->setGeometry(10, 24, kWidth - 20, 24);

    m_tipLabel2 = new QXLabel(view);
    m_tipLabel2->setFont(qxSystemFont(13));
    m_tipLabel2->setTextColor(qxGreyColor());
    m_tipLabel2->setAlignment(Qt::AlignCenter);
    m_tipLabel2->setGeometry(10, 54, kWidth - 20, 20);

    m_exitBtn = new QXButton(view);
    m_exitBtn->setFont(qxSystemFont(13));
    m_exitBtn->setGeometry((kWidth - 120) / 2, 96, 120, 32);
    m_exitBtn->setObjectName(QStringLiteral("exitBtn"));
    QObject::connect(m_exitBtn, &QXButton::clicked, this, &QXGuideViewController::exitBtnClicked);
    return view;
}

void QXGuideViewController::viewDidLoad()
{
    QXBaseViewController::viewDidLoad();
    m_exitBtn->setLayerBackgroundColor(QColor(230, 230, 230));
    m_exitBtn->setLayerCornerRadius(4);
    m_exitBtn->setTitleColor(kTitleColor);
    configTitle();
}

void QXGuideViewController::configTitle()
{
    if (!isViewLoaded())
        return;
    m_tipLabel1->setText(hrvAppLocalizedString(QStringLiteral("未监测到设备")));
    m_tipLabel2->setText(hrvAppLocalizedString(QStringLiteral("连接设备后，开始使用")));
    m_exitBtn->setTitle(hrvAppLocalizedString(QStringLiteral("退出Quorvex")));
}

void QXGuideViewController::exitBtnClicked()
{
    // A second click while the quit is pending sends nothing more.
    if (m_quitting)
        return;
    m_quitting = true;
    if (m_deps.device)
        m_deps.device->sendOpenPopUpWebSiteData();
    Scheduler &scheduler = m_deps.scheduler ? *m_deps.scheduler : Scheduler::instance();
    scheduler.singleShot(
        kQuitDelayMs,
        [this] {
            if (m_deps.terminate)
                m_deps.terminate();
        },
        this);
}
