#pragma once

#include "PageContext.h"
#include "views/QXBaseView.h"

class QXButton;
class QXLabel;
class QXPopUpButton;

// The voice-translation row of the smart-settings page: the language spoken and the
// language it is translated into. The lists, choices and codes are the language
// manager's; the row shows and sets them. Its "show source text" line is built but
// stays hidden, and the swap button between the drop-downs does nothing.
class TranslateSettingView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr int kViewHeight = 152;

    explicit TranslateSettingView(const PageContext &context, QWidget *parent = nullptr);

    int viewHeight() const { return kViewHeight; }

    void configUI() override;
    void configTitle() override;
    void configData() override;

    QXLabel *titleLabel() const { return m_titleLabel; }
    QXLabel *functionLabel1() const { return m_functionLabel1; }
    QXButton *showSourceTextBtn() const { return m_showSourceTextBtn; }
    QXLabel *functionLabel2() const { return m_functionLabel2; }
    QXPopUpButton *fromLanguageBtn() const { return m_fromLanguageBtn; }
    QXPopUpButton *toLanguageBtn() const { return m_toLanguageBtn; }
    QXButton *changeLanguageBtn() const { return m_changeLanguageBtn; }

private:
    PageContext m_context;
    QXLabel *m_titleLabel = nullptr;
    QXLabel *m_functionLabel1 = nullptr;
    QXButton *m_showSourceTextBtn = nullptr;
    QXLabel *m_functionLabel2 = nullptr;
    QXPopUpButton *m_fromLanguageBtn = nullptr;
    QXPopUpButton *m_toLanguageBtn = nullptr;
    QXButton *m_changeLanguageBtn = nullptr;
};
