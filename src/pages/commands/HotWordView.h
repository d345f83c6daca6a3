#pragma once

#include "views/QXBaseView.h"

#include <functional>
#include <memory>

class ICommandModel;
class IErrorAlert;
class IHotWordEntries;
class NotificationCenter;
class QXButton;
class QXLabel;
class QXVoiceCommandItem;
class RowList;

// One row of the hot-word list: the entry's words as stored (the JSON array text) and
// its delete button. A row without an entry shows nothing.
class HotWordCellView : public QXBaseView {
    Q_OBJECT
public:
    explicit HotWordCellView(QWidget *parent = nullptr);

    // Names the delete button "row<N>.delete".
    void setRow(int row);
    const std::shared_ptr<QXVoiceCommandItem> &model() const { return m_model; }
    void setModel(std::shared_ptr<QXVoiceCommandItem> model);
    void setDeleteAction(std::function<void(const std::shared_ptr<QXVoiceCommandItem> &)> action)
    {
        m_delete = std::move(action);
    }

    QXLabel *contentLabel() const { return m_contentLabel; }
    QXButton *delBtn() const { return m_delBtn; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    std::shared_ptr<QXVoiceCommandItem> m_model;
    std::function<void(const std::shared_ptr<QXVoiceCommandItem> &)> m_delete;
    QXLabel *m_contentLabel = nullptr;
    QXButton *m_delBtn = nullptr;
};

// The right side of the hot-word tab: the hot-word entries, at least ten rows. It
// reloads when made and on every "kUpdateHotWordListNotification"; delete removes an
// entry (all of its words) without asking.
class HotWordView : public QXBaseView {
    Q_OBJECT
public:
    struct Deps {
        IHotWordEntries &hotWords;
        ICommandModel &commands;
        IErrorAlert &errorAlert;
        NotificationCenter &notifications;
    };

    explicit HotWordView(Deps deps, QWidget *parent = nullptr);

    void reloadData();
    void deleteEntry(const std::shared_ptr<QXVoiceCommandItem> &entry);

    RowList *tableView() const { return m_tableView; }
    HotWordCellView *cell(int row) const;

    static constexpr int kRowHeight = 52;
    static constexpr int kMinRows = 10;

protected:
    void configUI() override;
    void configData() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    Deps m_deps;
    RowList *m_tableView = nullptr;
};
