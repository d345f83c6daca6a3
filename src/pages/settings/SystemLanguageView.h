#pragma once

#include "PageContext.h"
#include "views/QXBaseView.h"

class QXLabel;
class QXPopUpButton;

// The interface-language row: a title and a drop-down of the eighteen interface
// languages, named in the current language. A pick stores the index, renames the
// lists and re-titles every live view.
class SystemLanguageView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr int kViewHeight = 99;

    explicit SystemLanguageView(const PageContext &context, QWidget *parent = nullptr);

    void configUI() override;
    void configTitle() override;

    QXLabel *titleLabel() const { return m_titleLabel; }
    QXPopUpButton *popUpButton() const { return m_popUpButton; }

    // What a user's pick of entry `index` does.
    void selectLanguage(int index);

private:
    int currentIndex() const;

    PageContext m_context;
    QXLabel *m_titleLabel = nullptr;
    QXPopUpButton *m_popUpButton = nullptr;
};
