#pragma once

#include "desktop/FilePicker.h"
#include "views/QXBackGroundView.h"

#include <QPointer>

#include <functional>
#include <memory>

class ICommandModel;
class IAppShell;
class KeySettingSubModel;
class QXButton;
class QXLabel;
class QXPopUpButton;
class QXTextField;
class QXVoiceCommandItem;
class ShortcutRecorder;
class TargetRecords;
namespace platform {
class ShortcutBinder;
}

// The add and edit command dialog: a dimmed cover of its host page with a white panel
// in it. In voice mode it adds a custom voice command, or edits one (delete, then
// create), on the server; in mouse-setting mode it writes the target of a key option
// into the option's attr0 and sends nothing anywhere.
//
// Closing takes it out of its host at once and deletes it on the next turn of the
// event loop, so a finish callback may destroy the host. Answers that arrive after
// the dialog closed are ignored.
class AddCommandView : public QXBackGroundView {
    Q_OBJECT
public:
    struct Deps {
        ICommandModel *commands = nullptr;             // voice mode
        TargetRecords *targets = nullptr;              // the picked files and folders
        FilePicker *files = nullptr;                   // the browse button
        platform::ShortcutBinder *shortcuts = nullptr; // mouse mode: the recorder's store
        // The alert with a message and its informative text; default: the tool
        // manager's error alert on the main window.
        std::function<void(const QString &message, const QString &detail)> showError;
    };
    using Finish = std::function<void(bool success)>;

    // A child of host covering it, shown.
    AddCommandView(Deps deps, QWidget *host);

    bool isFromMouseSetting() const { return m_mouse; }
    void setIsFromMouseSetting(bool on);
    void setKeySubModel(std::shared_ptr<KeySettingSubModel> option) { m_keySubModel = std::move(option); }
    // Loads a record: voice mode the command to edit; mouse mode one carrying the
    // action's type.
    void setModel(std::shared_ptr<QXVoiceCommandItem> model);
    void setAddOrModifyFinishBlock(Finish finish) { m_finish = std::move(finish); }

    // The type of a pop-up selection and back, per mode.
    static int typeIndexFromSelectIndex(bool mouseMode, int selectIndex);
    static int selectIndexFromTypeIndex(bool mouseMode, int typeIndex);

    void createBtnClicked();
    void cancelBtnClicked();
    void moreBtnClicked();
    // Takes the dialog out of its host and deletes it later.
    void closeDialog();
    bool isClosed() const { return m_closed; }

    QXBaseView *contentView() const { return m_contentView; }
    QXLabel *titleLabel() const { return m_titleLabel; }
    QXLabel *functionLabel1() const { return m_functionLabel1; }
    QXLabel *functionLabel2() const { return m_functionLabel2; }
    QXLabel *functionLabel3() const { return m_functionLabel3; }
    QXPopUpButton *typeBtn() const { return m_typeBtn; }
    QXBaseView *wordView() const { return m_wordView; }
    QXBaseView *pathView() const { return m_pathView; }
    QXTextField *wordTextField() const { return m_wordTextField; }
    QXTextField *pathTextField() const { return m_pathTextField; }
    QXButton *moreBtn() const { return m_moreBtn; }
    ShortcutRecorder *shortcutsView() const { return m_shortcutsView; }
    QXButton *createBtn() const { return m_createBtn; }
    QXButton *cancelBtn() const { return m_cancelBtn; }

    static constexpr int kPanelWidth = 570;
    static constexpr int kVoiceHeight = 410;
    static constexpr int kMouseHeight = 330;

protected:
    void configUI() override;
    void configTitle() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QStringList typeItems() const;
    void selectMenuWithIndex();
    void layoutPanel();
    void createVoiceCommand();
    void saveKeyOption();
    void sendCreate(const std::shared_ptr<QXVoiceCommandItem> &item);
    void createAnswered(bool success, const QString &failure, const std::shared_ptr<QXVoiceCommandItem> &item);
    void setBusy(bool busy);
    void finishAndClose(bool success);
    void showError(const QString &message, const QString &detail);
    void setTargetText(const QString &text);

    Deps m_deps;
    QPointer<QWidget> m_host;
    bool m_mouse = false;
    bool m_closed = false;
    bool m_busy = false;           // a request of the create button is on its way
    bool m_userPickedType = false; // the user chose a type since the record was loaded
    std::shared_ptr<QXVoiceCommandItem> m_model;
    std::shared_ptr<KeySettingSubModel> m_keySubModel;
    Finish m_finish;

    QXBaseView *m_contentView = nullptr;
    QXLabel *m_titleLabel = nullptr;
    QXLabel *m_functionLabel1 = nullptr;
    QXLabel *m_functionLabel2 = nullptr;
    QXLabel *m_functionLabel3 = nullptr;
    QXPopUpButton *m_typeBtn = nullptr;
    QXBaseView *m_wordView = nullptr;
    QXBaseView *m_pathView = nullptr;
    QXTextField *m_wordTextField = nullptr;
    QXTextField *m_pathTextField = nullptr;
    QXButton *m_moreBtn = nullptr;
    ShortcutRecorder *m_shortcutsView = nullptr;
    QXButton *m_createBtn = nullptr;
    QXButton *m_cancelBtn = nullptr;
};
