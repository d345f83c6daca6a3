#pragma once

#include "views/QXBaseView.h"
#include "views/RowList.h"

#include <memory>

class AlertPresenter;
class IAddCommandDialogs;
class ICommandModel;
class IErrorAlert;
class NotificationCenter;
class QXButton;
class QXVoiceCommandItem;

// The striped row background of the command and hot-word lists.
using CommandWordRowView = RowListRow;

// The command-word tab of the personalisation page: "+添加指令" over the list of the
// user's custom voice commands (hot-word entries are never among them), at least ten
// rows. Every row is read from the command model when the list reloads; the list
// is fetched from the server when the view is made and each time device
// information arrives (the request carries the device's serial number). Add and edit
// open the command dialog over the page; delete asks first.
class CommandWordView : public QXBaseView {
    Q_OBJECT
public:
    struct Deps {
        ICommandModel &commands;
        IAddCommandDialogs &dialogs;
        AlertPresenter &alerts;  // the delete question
        IErrorAlert &errorAlert; // a failed delete
        NotificationCenter &notifications;
    };

    CommandWordView(Deps deps, QWidget *parent = nullptr);

    // Asks the server for the list and shows the stored one at once; a successful
    // answer shows the new one, a failed one changes nothing.
    void configData() override;
    void configTitle() override;
    void reloadData();

    void addCommandBtnClicked();
    void editCommand(const std::shared_ptr<QXVoiceCommandItem> &record);
    void deleteCommand(const std::shared_ptr<QXVoiceCommandItem> &record);

    QXButton *addCommandBtn() const { return m_addCommandBtn; }
    RowList *tableView() const { return m_tableView; }

    static constexpr int kRowHeight = 52;
    static constexpr int kMinRows = 10;
    static constexpr int kAddRight = 39;
    static constexpr int kAddHeight = 27;
    static constexpr int kListGap = 10;

protected:
    void configUI() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutViews();
    void openDialog(std::shared_ptr<QXVoiceCommandItem> record);

    Deps m_deps;
    QXButton *m_addCommandBtn = nullptr;
    RowList *m_tableView = nullptr;
};
