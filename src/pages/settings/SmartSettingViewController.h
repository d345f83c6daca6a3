#pragma once

#include "PageContext.h"
#include "views/QXBaseViewController.h"

class HyperTranslateView;
class InputSettingView;
class QScrollArea;
class SearchEngineView;
class SnipTranslateView;
class TranslateSettingView;

// The smart-settings page (tab "智能设置"): the voice input, voice translation,
// selection translation, screenshot translation and search engine rows, stacked 40
// apart and 44 from the left in a scrolling content below a free band of 50. Only the
// voice input row changes its height later (a hot-key receiver comes or goes); the
// page then moves the rows under it and scrolls back to the top.
class SmartSettingViewController : public QXBaseViewController {
    Q_OBJECT
public:
    static constexpr int kTopBand = 50;
    static constexpr int kLeft = 44;
    static constexpr int kGap = 40;

    explicit SmartSettingViewController(const PageContext &context);

    QScrollArea *scrollView() const { return m_scroll; }
    QWidget *contentView() const { return m_content; }
    InputSettingView *inputView() const { return m_inputView; }
    TranslateSettingView *translateView() const { return m_translateView; }
    HyperTranslateView *hyperTranslateView() const { return m_hyperTranslateView; }
    SnipTranslateView *snipTranslateView() const { return m_snipTranslateView; }
    SearchEngineView *searchEngineView() const { return m_searchEngineView; }
    // The rows' heights with the gaps between them.
    int totalHeight() const { return m_lastScrollViewHeight; }

    // What the input row's refresh does: the rows follow its height, the content is
    // resized and the page is scrolled to the top.
    void refreshInputHeight();
    void updateLanguage() {} // device information changes nothing here

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;
    void configData() override;
    void configUI() override;

private:
    void layoutRows();

    PageContext m_context;
    QWidget *m_root = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_content = nullptr;
    InputSettingView *m_inputView = nullptr;
    TranslateSettingView *m_translateView = nullptr;
    HyperTranslateView *m_hyperTranslateView = nullptr;
    SnipTranslateView *m_snipTranslateView = nullptr;
    SearchEngineView *m_searchEngineView = nullptr;
    int m_lastInputViewHeight = 0;
    int m_lastScrollViewHeight = 0;
};
