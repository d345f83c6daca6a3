#pragma once

#include "MouseModelSettingModel.h"
#include "PageContext.h"
#include "views/QXBaseView.h"

#include <QList>
#include <QPointer>

#include <functional>
#include <memory>

class KeySettingSubView;
class QXLabel;
class QXPopUpButton;

// What the key blocks of the device page share: the page's context, the product's
// key configuration (its modelId goes with every save), the view the add-command
// dialog covers, and how a row tells the page that the user changed a choice.
struct KeyRowEnvironment {
    PageContext context;
    std::shared_ptr<const MouseModelSettingModel> product;
    QPointer<QWidget> dialogHost;
    std::function<void()> keysChanged;
    // Where the rows' drop-downs start, the same in every block of the page so they
    // line up (see KeySettingSubView::popUpLeftFor); none: KeySettingSubView::kPopUpLeft.
    std::shared_ptr<const int> popUpLeft;
};

// One key section of the device profile (a physical key, or the page's auxiliary DPI
// and report-rate block): its title and one row per press kind. The section is
// shared with the page, so a row rebuilt or destroyed while a request or a dialog is
// still out leaves that request's option valid.
class KeySettingView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr int kTitleHeight = 27;
    static constexpr int kRowGap = 28; // from the title's bottom to the first row
    static constexpr int kRowPitch = 54;
    static constexpr int kRowHeight = 34;

    KeySettingView(KeyRowEnvironment environment, QWidget *parent = nullptr);

    // Builds the title and the rows and sets viewHeight.
    void setModel(std::shared_ptr<MouseSettingModel> model);
    const std::shared_ptr<MouseSettingModel> &model() const { return m_model; }
    // 38 + 54 per press kind, and what a row grown for its title adds.
    int viewHeight() const { return m_viewHeight; }
    const QList<KeySettingSubView *> &rows() const { return m_rows; }
    QXLabel *titleLabel() const { return m_titleLabel; }

    void configTitle() override;

signals:
    // The rows' titles changed language and with it the rows' heights.
    void viewHeightChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // The rows' heights for their titles in the interface language now; true when
    // they changed.
    bool measureRows();
    void layoutRows();

    KeyRowEnvironment m_env;
    std::shared_ptr<MouseSettingModel> m_model;
    int m_viewHeight = 38;
    QList<int> m_rowHeights;
    QXLabel *m_titleLabel = nullptr;
    QList<KeySettingSubView *> m_rows;
};

// One press kind of a key section: its title and a drop-down of the actions offered.
// A user's pick marks the option, saves it on the maker's server and runs its
// operation: a DPI or report-rate command to the device, or the add-command dialog
// for the action's target. Choices set from code send nothing.
class KeySettingSubView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr int kPopUpLeft = 100;
    static constexpr int kTitleGap = 15;
    // The furthest right the drop-downs move for a long word of a title.
    static constexpr int kWidestPopUpLeft = 160;

    // kPopUpLeft, or further right (up to kWidestPopUpLeft) so that no word of the
    // titles is wider than the title's room at the page's type: a title wraps between
    // words, and a word too wide for the room would be broken inside (a katakana word
    // such as "ダブルクリック") or drawn smaller than the titles beside it. Han text may
    // break between any two characters and counts one character at a time.
    static int popUpLeftFor(const QStringList &titles);

    KeySettingSubView(KeyRowEnvironment environment, std::shared_ptr<MouseSettingModel> section, int pressIndex,
                      QWidget *parent = nullptr);

    KeySettingModel &keyModel() const;
    QXLabel *titleLabel() const { return m_titleLabel; }
    // KeySettingView::kRowHeight, or taller for a title that two lines of the smallest
    // type do not hold beside the drop-down.
    static int rowHeightFor(const QString &title, int popUpLeft = kPopUpLeft);
    QXPopUpButton *popUpBtn() const { return m_popUpBtn; }

    void configTitle() override;
    void configData() override;

    // The user picked entry `index` (also when it is the one shown).
    void selectOption(int index);
    void saveCustomerKeyWithModel(const KeySettingSubModel &option);
    // The save itself, which needs no row: a dialog may finish after its row is gone.
    static void saveCustomerKey(const KeyRowEnvironment &env, const KeySettingSubModel &option);
    void handleOperationWithModel(const KeySettingSubModel &option, int index);
    // Marks the device's current DPI step; a step outside the list changes nothing.
    void updateSelectDPI();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void openDialog(int optionIndex, qint64 typeIndex);
    void layoutRow();
    int popUpLeft() const;

    KeyRowEnvironment m_env;
    std::shared_ptr<MouseSettingModel> m_section;
    int m_pressIndex;
    QXLabel *m_titleLabel = nullptr;
    QXPopUpButton *m_popUpBtn = nullptr;
    bool m_titled = true;
    bool m_observesDpi = false;
};
