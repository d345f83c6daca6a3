#pragma once

#include "views/QXBaseView.h"

#include <functional>
#include <memory>

class QLabel;
class QXButton;
class QXLabel;
class QXVoiceCommandItem;
class ShortcutRecorder;

// One row of the voice-command list: the type icon, the word, the target (or, for a
// shortcut command, the shortcut in a recorder that only displays) and the edit and
// delete buttons. A row without a record shows nothing.
class CommandWordCellView : public QXBaseView {
    Q_OBJECT
public:
    using Action = std::function<void(const std::shared_ptr<QXVoiceCommandItem> &)>;

    explicit CommandWordCellView(QWidget *parent = nullptr);

    int row() const { return m_row; }
    // Names the buttons "row<N>.edit" and "row<N>.delete".
    void setRow(int row);
    const std::shared_ptr<QXVoiceCommandItem> &model() const { return m_model; }
    void setModel(std::shared_ptr<QXVoiceCommandItem> model);

    // What the buttons do with the row's record.
    void setEditAction(Action action) { m_edit = std::move(action); }
    void setDeleteAction(Action action) { m_delete = std::move(action); }

    QLabel *typeImageView() const { return m_typeImageView; }
    QXLabel *wordLabel() const { return m_wordLabel; }
    QXLabel *contentLabel() const { return m_contentLabel; }
    ShortcutRecorder *shortcutsView() const { return m_shortcutsView; }
    QXButton *editBtn() const { return m_editBtn; }
    QXButton *delBtn() const { return m_delBtn; }

    static constexpr int kIconSize = 24;
    static constexpr int kIconX = 20;
    static constexpr int kWordWidth = 120;
    static constexpr int kButtonSize = 40;
    static constexpr int kLabelHeight = 22;
    static constexpr int kRecorderWidth = 100;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutViews();

    int m_row = -1;
    std::shared_ptr<QXVoiceCommandItem> m_model;
    Action m_edit, m_delete;
    QLabel *m_typeImageView = nullptr;
    QXLabel *m_wordLabel = nullptr;
    QXLabel *m_contentLabel = nullptr;
    ShortcutRecorder *m_shortcutsView = nullptr;
    QXButton *m_editBtn = nullptr;
    QXButton *m_delBtn = nullptr;
};
