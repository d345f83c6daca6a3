#pragma once

#include "PageContext.h"
#include "views/QXBaseViewController.h"

class AddHotWordView;
class CommandWordView;
class HotWordView;
class QXBaseView;
class QXButton;

// The personalisation page (the tab "个性化设置"): two tab titles at its top, "指令词"
// (the user's voice commands) and "热词" (hot words), with an underline under the
// selected one, and the selected tab's content below. The hot-word tab is built but
// its title is hidden, so nothing shows it. Loading the page refreshes the server's
// common commands and, through the command list, the user's own.
class PersonalitySettingViewController : public QXBaseViewController {
    Q_OBJECT
public:
    explicit PersonalitySettingViewController(const PageContext &context);

    void configUI() override;
    void configData() override;
    void configTitle() override;
    // The action of both tab titles: selects the sender's tab.
    void typeBtnClicked(QXButton *sender);
    // Places everything for the page's size now.
    void layoutViews();

    QXButton *commandWordBtn() const { return m_commandWordBtn; }
    QXButton *hotWordBtn() const { return m_hotWordBtn; }
    QXBaseView *lineImageView() const { return m_lineImageView; }
    CommandWordView *commandWordView() const { return m_commandWordView; }
    QXBaseView *hotWordView() const { return m_hotWordView; }
    AddHotWordView *addHotWordView() const { return m_addHotWordView; }
    HotWordView *hotWordListView() const { return m_hotWordListView; }

    static constexpr int kTitleX = 33;
    static constexpr int kTitleY = 39;
    static constexpr int kTitleHeight = 27;
    static constexpr int kTitleGap = 40;
    static constexpr int kLineGap = 6;
    static constexpr int kLineHeight = 2;
    // The hot-word tab: the entry card on the left, the list on its right.
    static constexpr int kHotWordMargin = 15;
    static constexpr int kHotWordTop = 30;
    static constexpr int kHotWordBottom = 50;
    static constexpr int kAddHotWordWidth = 280;

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;

private:
    QXButton *tabButton(const char *name);
    void placeTitles();

    PageContext m_context;
    QXButton *m_commandWordBtn = nullptr;
    QXButton *m_hotWordBtn = nullptr;
    QXBaseView *m_lineImageView = nullptr;
    CommandWordView *m_commandWordView = nullptr;
    QXBaseView *m_hotWordView = nullptr;
    AddHotWordView *m_addHotWordView = nullptr;
    HotWordView *m_hotWordListView = nullptr;
    QXButton *m_selected = nullptr;
};
