#pragma once

#include "PageContext.h"
#include "views/QXBaseViewController.h"

class AboutMouseView;
class QScrollArea;
class SystemLanguageView;

// The software-management page (the tab "软件管理"): the interface-language row and
// the about row with the firmware transfer, stacked 40 apart and 44 from the left in a
// scrolling content at least 650 high.
class SoftwareManagerViewController : public QXBaseViewController {
    Q_OBJECT
public:
    static constexpr int kLeft = 44;
    static constexpr int kLanguageTop = 40;
    static constexpr int kMinContentHeight = 650;

    explicit SoftwareManagerViewController(const PageContext &context);

    SystemLanguageView *languageView() const { return m_languageView; }
    AboutMouseView *aboutView() const { return m_aboutView; }
    QWidget *contentView() const { return m_content; }
    QScrollArea *scrollView() const { return m_scroll; }

    // Places the rows for the page's width now; the content is as high as the rows
    // need, and no less than 650.
    void layoutRows();

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;

private:
    PageContext m_context;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_content = nullptr;
    SystemLanguageView *m_languageView = nullptr;
    AboutMouseView *m_aboutView = nullptr;
};
