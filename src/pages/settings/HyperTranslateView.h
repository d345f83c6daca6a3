#pragma once

#include "PageContext.h"
#include "views/QXBaseView.h"

class QXButton;
class QXLabel;
class QXPopUpButton;

// The selection-translation row of the smart-settings page: the switch and the
// language pair of translating copied text. The source list is "自动检测" followed
// by the target languages. The translation window's own target choice comes back
// through "kUpdateHyperTranslateIndexNotification".
class HyperTranslateView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr int kViewHeight = 99;

    explicit HyperTranslateView(const PageContext &context, QWidget *parent = nullptr);

    int viewHeight() const { return kViewHeight; }

    void configUI() override;
    void configTitle() override;
    void configData() override;

    void updateHyperTranslateIndexNotification(); // the target list only

    QXLabel *titleLabel() const { return m_titleLabel; }
    QXButton *switchBtn() const { return m_switchBtn; }
    QXPopUpButton *fromLanguageBtn() const { return m_fromLanguageBtn; }
    QXPopUpButton *toLanguageBtn() const { return m_toLanguageBtn; }
    QXButton *changeLanguageBtn() const { return m_changeLanguageBtn; }

private:
    void switchBtnClicked();

    PageContext m_context;
    QXLabel *m_titleLabel = nullptr;
    QXButton *m_switchBtn = nullptr;
    QXPopUpButton *m_fromLanguageBtn = nullptr;
    QXPopUpButton *m_toLanguageBtn = nullptr;
    QXButton *m_changeLanguageBtn = nullptr;
};
