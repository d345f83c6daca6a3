#pragma once

#include "TabBarEntries.h"
#include "services/IAppShell.h"

#include <QList>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class PageFactory;
class QLabel;
class QXBaseView;
class QXBaseViewController;
class QXTabItem;
class QXUserInfoData;

// The main window: the tab column on the left and, on the right, the page area in
// which exactly one of the eight pages shows. Which tabs exist, and which is selected,
// follows the connected device; the tabs are rebuilt when device information
// arrives, when a device profile was read and when the interface language changes.
// Closing the window only hides it.
class MainWindow final : public QWidget, public IAppShell {
    Q_OBJECT
public:
    struct Deps {
        QXUserInfoData *state = nullptr;
        // Rebuilds the status item (its menu follows the interface language).
        std::function<void()> addStatusItem;
    };
    static constexpr int kWidth = 1080;
    static constexpr int kHeight = 720;
    static constexpr int kLeftWidth = 200;
    static constexpr int kItemTop = 80;
    static constexpr int kItemHeight = 48;

    explicit MainWindow(Deps deps, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Watches the notifications that rebuild and re-title the tabs; once the window
    // shows (at once when it has shown before), colours the two areas and builds the
    // tabs. The factory makes each page the first time its tab is shown.
    void configUI(PageFactory *pages);
    // Makes a page and loads its view, hidden, before any tab shows it: the self-test
    // page, which has no tab, runs its checks when it loads.
    void loadPage(int viewTag);
    void configLeftItem();
    void configTitle();
    void itemClicked(QXTabItem *sender);

    // IAppShell
    QWidget *window() override { return this; }
    void openApp() override;
    void manualSelectedItemWithIndex(int index) override;
    bool isShowAIWindow() const override { return m_isShowAIWindow; }
    void setIsShowAIWindow(bool on) override { m_isShowAIWindow = on; }

    // The low-battery image at the bottom of the tab column.
    void setLowElectricShown(bool shown);

    QXBaseView *leftView() const { return m_leftView; }
    QXBaseView *rightView() const { return m_rightView; }
    const QList<QXTabItem *> &btnArr() const { return m_btnArr; }
    const QList<TabEntry> &btnConfigArr() const { return m_btnConfigArr; }
    int selectIndex() const { return m_selectIndex; }
    // The page of a page number; nullptr before it was first shown (or prepared) or for another number.
    QXBaseViewController *page(int viewTag) const;
    // Makes a page before it is first shown, without its view: a page that follows the
    // device from its first notification. Needs configUI's factory.
    void preparePage(int viewTag);
    QLabel *lowElectricImageView() const { return m_lowElectricImageView; }

    // Tests: an item that no device's tab list holds (the account page has none).
    void appendItemForTest(QXTabItem *item) { m_btnArr.append(item); }

    // The first show builds the logo, and the tabs and pages once configUI ran.
    void setVisible(bool visible) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void ensureBuilt();
    void buildContents();
    void layoutViews();
    void showPage(int viewTag);

    Deps m_deps;
    PageFactory *m_pageFactory = nullptr;
    QXBaseView *m_leftView = nullptr;
    QXBaseView *m_rightView = nullptr;
    QLabel *m_logoImageView = nullptr;
    QLabel *m_lowElectricImageView = nullptr;
    std::array<std::unique_ptr<QXBaseViewController>, viewtag::kCount> m_pages;
    QList<TabEntry> m_btnConfigArr; // titles already in the interface language
    QList<QXTabItem *> m_btnArr;
    int m_selectIndex = 0;
    bool m_isShowAIWindow = false;
    bool m_configured = false; // configUI ran
    bool m_built = false;      // shown once: the contents exist
};
