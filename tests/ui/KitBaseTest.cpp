// Base view and controller: re-titling on the title notification, and lifetimes.
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "views/QXBaseView.h"
#include "views/QXBaseViewController.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace {
void postTitle()
{
    NotificationCenter::defaultCenter().post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
}

class TitledView : public QXBaseView {
public:
    TitledView()
    {
        configUI();
        configTitle();
    }
    void configUI() override { m_label = new QLabel(this); }
    void configTitle() override { m_label->setText(QStringLiteral("title %1").arg(++titles)); }
    int titles = 0;

private:
    QLabel *m_label = nullptr;
};

class Page : public QXBaseViewController {
public:
    void configTitle() override { ++titles; }
    int titles = 0;

protected:
    void viewDidLoad() override
    {
        QXBaseViewController::viewDidLoad();
        // Reaching the view again from here gets the view being loaded.
        seenView = view();
    }

public:
    QWidget *seenView = nullptr;
};
} // namespace

TEST(KitBase, ViewsRetitleOnEveryPostWithoutAddingSubviews)
{
    TitledView view;  // never shown
    QXBaseView plain; // overrides no hook
    const auto childrenBefore = view.children().size();
    postTitle();
    postTitle();
    EXPECT_EQ(view.titles, 3); // once from its constructor, once per post
    EXPECT_EQ(view.children().size(), childrenBefore);
}

TEST(KitBase, ControllerIsRetitledOnlyOnceItsViewHasLoaded)
{
    Page page;
    postTitle();
    EXPECT_EQ(page.titles, 0);
    EXPECT_FALSE(page.isViewLoaded());
    QWidget *view = page.view();
    EXPECT_EQ(page.seenView, view);
    EXPECT_EQ(page.view(), view);
    postTitle();
    postTitle();
    EXPECT_EQ(page.titles, 2);
}

// Hidden as its window closes: how many subscribers a re-title posted then would reach.
class SubscribersWitness : public QWidget {
public:
    SubscribersWitness(QWidget *parent, int *seen) : QWidget(parent), m_seen(seen) {}

protected:
    void hideEvent(QHideEvent *) override
    {
        *m_seen = NotificationCenter::defaultCenter().observerCount(
            QString::fromLatin1(qx::notify::kUpdateTitleNotification));
    }

private:
    int *m_seen;
};

TEST(KitBase, DestroyedViewsAndControllersAreNeverCalled)
{
    const QString name = QString::fromLatin1(qx::notify::kUpdateTitleNotification);
    const int before = NotificationCenter::defaultCenter().observerCount(name);
    {
        // No longer subscribed while its window closes and its subviews are told (a
        // post then would reach a view that is half gone).
        auto *view = new TitledView;
        int subscribed = -1;
        new SubscribersWitness(view, &subscribed);
        view->show();
        delete view;
        EXPECT_EQ(subscribed, before);
        postTitle();
    }
    {
        // A page's view placed in a window goes with the page, and a window deleted
        // first leaves the page nothing to delete twice.
        QWidget window;
        auto *page = new Page;
        page->view()->setParent(&window);
        delete page;
        EXPECT_TRUE(window.findChildren<QWidget *>().isEmpty());
        auto *window2 = new QWidget;
        Page page2;
        page2.view()->setParent(window2);
        delete window2;
        EXPECT_FALSE(page2.isViewLoaded());
        postTitle();
    }
    EXPECT_EQ(NotificationCenter::defaultCenter().observerCount(name), before);
}

TEST(KitBase, LayerBorderIsDrawnOverSubviewsAndBackgroundUnderThem)
{
    QXBaseView view;
    view.resize(40, 20);
    view.setLayerBackgroundColor(Qt::green);
    auto *child = new QWidget(&view);
    child->setAutoFillBackground(true);
    QPalette pal;
    pal.setColor(QPalette::Window, Qt::blue);
    child->setPalette(pal);
    child->setGeometry(0, 0, 40, 20);
    view.setLayerBorder(Qt::red, 2);
    auto *later = new QWidget(&view); // added after the border
    later->setAutoFillBackground(true);
    later->setPalette(pal);
    later->setGeometry(0, 0, 40, 20);
    later->show();
    const QImage image = view.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 10), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(39, 10), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(20, 10), QColor(Qt::blue));
}
