#include "MainWindow.h"

#include "HRVLocalizedString.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "PageFactory.h"
#include "QXTabItem.h"
#include "QXUserInfoData.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "views/QXBaseView.h"
#include "views/QXBaseViewController.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <algorithm>

namespace {
const QColor kTitleColor(38, 12, 12);
constexpr QSize kLowElectricSize(31, 18);
constexpr int kLowElectricInset = 20;
} // namespace

MainWindow::MainWindow(Deps deps, QWidget *parent) : QWidget(parent), m_deps(std::move(deps))
{
    setWindowTitle(QStringLiteral("Quorvex"));
    resize(kWidth, kHeight);
    setMinimumSize(kWidth, kHeight);
    m_leftView = new QXBaseView(this);
    m_leftView->setObjectName(QStringLiteral("leftView"));
    m_rightView = new QXBaseView(this);
    m_rightView->setObjectName(QStringLiteral("rightView"));
    layoutViews();
}

MainWindow::~MainWindow()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    // The pages' views live in the page area; each page deletes its own.
    for (auto &page : m_pages)
        page.reset();
}

void MainWindow::configUI(PageFactory *pages)
{
    m_pageFactory = pages;
    NotificationCenter &nc = NotificationCenter::defaultCenter();
    // Order matters on a language change: the tabs are rebuilt before they are re-titled.
    for (const char *name : {qx::notify::HadUSBInfoNotification, qx::notify::kUpdateTitleNotification,
                             qx::notify::kUpdateLeftItemNotification})
        nc.addObserver(QString::fromLatin1(name), this, [this](const QVariant &) { configLeftItem(); });
    nc.addObserver(QString::fromLatin1(qx::notify::kUpdateTitleNotification), this,
                   [this](const QVariant &) { configTitle(); });
    m_configured = true;
    // The tabs and pages are laid out when the window first shows: a launch without a
    // device never shows it, and never pays for the fonts and images they map.
    if (m_built)
        buildContents();
}

void MainWindow::setVisible(bool visible)
{
    if (visible)
        ensureBuilt();
    QWidget::setVisible(visible);
}

void MainWindow::ensureBuilt()
{
    if (m_built)
        return;
    m_built = true;
    m_logoImageView = new QLabel(m_leftView);
    m_logoImageView->setScaledContents(true);
    m_logoImageView->setPixmap(namedPixmap(QStringLiteral("logo")));
    m_logoImageView->setGeometry(20, 20, 160, 40);
    if (m_configured)
        buildContents();
}

void MainWindow::buildContents()
{
    m_leftView->setLayerBackgroundColor(QColor(246, 247, 248));
    m_rightView->setLayerBackgroundColor(Qt::white);
    m_selectIndex = 0;
    configLeftItem();
}

void MainWindow::configLeftItem()
{
    // Before the first show the tabs are built with the window, from the state then.
    if (!m_built)
        return;
    for (QXTabItem *item : std::as_const(m_btnArr)) {
        item->hide();
        // The sender of a click being handled may be among them.
        item->deleteLater();
    }
    m_btnArr.clear();

    const QXMouseInfoItem &device = m_deps.state->mouseInfoItem();
    const TabBarLayout layout = tabBarLayout(device.deviceType(), device.mouseType(), m_deps.state->isLaser());
    m_selectIndex = layout.selectIndex;
    m_btnConfigArr = layout.entries;
    for (TabEntry &entry : m_btnConfigArr)
        entry.name = hrvAppLocalizedString(entry.name);

    QXTabItem *selected = nullptr;
    for (int i = 0; i < m_btnConfigArr.size(); ++i) {
        const TabEntry &entry = m_btnConfigArr.at(i);
        auto *item = new QXTabItem(m_leftView);
        item->setObjectName(QStringLiteral("tab%1").arg(entry.viewTag));
        item->setTitleName(entry.name);
        item->setImageName(entry.icon);
        item->setLayerBackgroundColor(Qt::transparent);
        item->setTag(entry.viewTag);
        item->setGeometry(0, kItemTop + kItemHeight * i, m_leftView->width(), kItemHeight);
        connect(item, &QXTabItem::clicked, this, [this, item] { itemClicked(item); });
        item->show();
        m_btnArr.append(item);
        if (entry.viewTag == m_selectIndex && !selected)
            selected = item;
    }
    if (selected)
        itemClicked(selected);
}

void MainWindow::itemClicked(QXTabItem *sender)
{
    for (QXTabItem *item : std::as_const(m_btnArr)) {
        const auto entry = std::find_if(m_btnConfigArr.cbegin(), m_btnConfigArr.cend(),
                                        [item](const TabEntry &e) { return e.viewTag == item->tag(); });
        const bool known = entry != m_btnConfigArr.cend();
        if (item != sender) {
            item->setLayerBackgroundColor(Qt::transparent);
            item->setTitleColor(kTitleColor);
            if (known)
                item->setImageName(entry->icon);
            continue;
        }
        item->setLayerBackgroundColor(qxAccentColor());
        item->setTitleColor(Qt::white);
        if (known)
            item->setImageName(entry->selectIcon);
        m_selectIndex = sender->tag();
        if (m_selectIndex < 0 || m_selectIndex >= viewtag::kCount)
            continue;
        showPage(m_selectIndex);
        if (m_selectIndex == viewtag::kMine && m_pages[viewtag::kMine] && m_pageFactory)
            m_pageFactory->getUserInfo(*m_pages[viewtag::kMine]);
    }
}

void MainWindow::preparePage(int viewTag)
{
    if (viewTag >= 0 && viewTag < viewtag::kCount && !m_pages[viewTag] && m_pageFactory)
        m_pages[viewTag] = m_pageFactory->makePage(viewTag);
}

void MainWindow::loadPage(int viewTag)
{
    preparePage(viewTag);
    if (viewTag < 0 || viewTag >= viewtag::kCount || !m_pages[viewTag] || m_pages[viewTag]->isViewLoaded())
        return;
    QWidget *view = m_pages[viewTag]->view();
    view->setParent(m_rightView);
    view->setGeometry(m_rightView->rect());
    view->setVisible(m_built && viewTag == m_selectIndex);
}

void MainWindow::showPage(int viewTag)
{
    // A page is made (unless it was prepared), and its view built, the first time it is shown.
    loadPage(viewTag);
    for (int tag = 0; tag < viewtag::kCount; ++tag)
        if (m_pages[tag] && m_pages[tag]->isViewLoaded())
            m_pages[tag]->view()->setVisible(tag == viewTag);
}

void MainWindow::manualSelectedItemWithIndex(int index)
{
    ensureBuilt();
    if (index < 0 || index >= m_btnArr.size()) {
        qxWarning("shell") << "no tab at position" << index << "of" << m_btnArr.size() << "- the selection stays";
        return;
    }
    itemClicked(m_btnArr.at(index));
}

void MainWindow::configTitle()
{
    for (int i = 0; i < m_btnArr.size() && i < m_btnConfigArr.size(); ++i)
        m_btnArr.at(i)->setTitleName(m_btnConfigArr.at(i).name);
    if (m_deps.addStatusItem)
        m_deps.addStatusItem();
}

void MainWindow::openApp()
{
    qxInfo("shell") << "open the main window";
    // Without a device the main window is never left on screen, so it is not shown.
    if (!m_deps.state->isConnect())
        return;
    // show() alone leaves an iconified window iconified: it is asked back to its normal
    // state (the window manager maps it again) before it takes the focus.
    if (windowState() & Qt::WindowMinimized)
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    if (QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void MainWindow::setLowElectricShown(bool shown)
{
    if (!m_lowElectricImageView) {
        if (!shown)
            return;
        m_lowElectricImageView = new QLabel(m_leftView);
        m_lowElectricImageView->setScaledContents(true);
        m_lowElectricImageView->setPixmap(namedPixmap(QStringLiteral("lowElectric")));
        layoutViews();
    }
    m_lowElectricImageView->setVisible(shown);
}

QXBaseViewController *MainWindow::page(int viewTag) const
{
    return viewTag >= 0 && viewTag < viewtag::kCount ? m_pages[viewTag].get() : nullptr;
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutViews();
}

void MainWindow::layoutViews()
{
    m_leftView->setGeometry(0, 0, kLeftWidth, height());
    m_rightView->setGeometry(kLeftWidth, 0, std::max(0, width() - kLeftWidth), height());
    for (int i = 0; i < m_btnArr.size(); ++i)
        m_btnArr.at(i)->setGeometry(0, kItemTop + kItemHeight * i, kLeftWidth, kItemHeight);
    for (const auto &page : m_pages)
        if (page && page->isViewLoaded())
            page->view()->setGeometry(m_rightView->rect());
    if (m_lowElectricImageView)
        m_lowElectricImageView->setGeometry(kLowElectricInset, height() - kLowElectricInset - kLowElectricSize.height(),
                                            kLowElectricSize.width(), kLowElectricSize.height());
}
