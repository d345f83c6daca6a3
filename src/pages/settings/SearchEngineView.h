#pragma once

#include "PageContext.h"
#include "views/QXBaseView.h"

class QXLabel;
class QXPopUpButton;

// The last row of the smart-settings page: the web search engine the voice search key
// opens when the spoken text matches no command. A pick only stores the choice.
class SearchEngineView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr int kViewHeight = 99;

    explicit SearchEngineView(const PageContext &context, QWidget *parent = nullptr);

    int viewHeight() const { return kViewHeight; }

    void configUI() override;
    void configTitle() override;

    QXLabel *titleLabel() const { return m_titleLabel; }
    QXPopUpButton *engineBtn() const { return m_engineBtn; }

private:
    PageContext m_context;
    QXLabel *m_titleLabel = nullptr;
    QXPopUpButton *m_engineBtn = nullptr;
};
