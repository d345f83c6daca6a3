#include "CommandWordCellView.h"

#include "CommandRecords.h"
#include "ShortcutAction.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/ShortcutRecorder.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "popup/VoiceArtwork.h"
#include "sqlite/QXVoiceCommandItem.h"

#include <QLabel>
#include <QPixmap>

namespace {
constexpr int kGap = 15;
constexpr int kDeleteRight = 20;
constexpr int kButtonGap = 5;
constexpr int kContentToEdit = 10;
constexpr int kShortcutsType = 3;
const QColor kTextColor(38, 12, 12);

QXLabel *rowLabel(QWidget *parent)
{
    auto *label = new QXLabel(parent);
    label->setFont(qxSystemFont(16));
    label->setTextColor(kTextColor);
    label->setElideMode(Qt::ElideRight);
    return label;
}

QXButton *imageButton(QWidget *parent, const QString &image)
{
    auto *button = new QXButton(parent);
    button->setImage(QPixmap::fromImage(namedImage(image)));
    return button;
}
} // namespace

CommandWordCellView::CommandWordCellView(QWidget *parent) : QXBaseView(parent)
{
    registerVoiceArtwork();
    m_typeImageView = new QLabel(this);
    m_typeImageView->setScaledContents(true);
    m_typeImageView->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_wordLabel = rowLabel(this);
    m_contentLabel = rowLabel(this);
    // Display only: the list is no place to change a command's shortcut.
    m_shortcutsView = new ShortcutRecorder(nullptr, this);
    m_shortcutsView->setReadOnly(true);
    m_editBtn = imageButton(this, QStringLiteral("4_command_edit_gray_icon"));
    m_delBtn = imageButton(this, QStringLiteral("4_command_delete_icon"));
    connect(m_editBtn, &QXButton::clicked, this, [this] {
        if (m_model && m_edit)
            m_edit(m_model);
    });
    connect(m_delBtn, &QXButton::clicked, this, [this] {
        if (m_model && m_delete)
            m_delete(m_model);
    });
    setModel(nullptr);
}

void CommandWordCellView::setRow(int row)
{
    m_row = row;
    m_editBtn->setObjectName(QStringLiteral("row%1.edit").arg(row));
    m_delBtn->setObjectName(QStringLiteral("row%1.delete").arg(row));
}

void CommandWordCellView::setModel(std::shared_ptr<QXVoiceCommandItem> model)
{
    m_model = std::move(model);
    const bool shown = m_model != nullptr;
    const bool shortcut = shown && m_model->typeIndex() == kShortcutsType;
    m_typeImageView->setVisible(shown);
    m_wordLabel->setVisible(shown);
    m_contentLabel->setVisible(shown && !shortcut);
    m_shortcutsView->setVisible(shortcut);
    m_editBtn->setVisible(shown);
    m_delBtn->setVisible(shown);
    if (!shown) {
        m_wordLabel->clear();
        m_contentLabel->clear();
        m_shortcutsView->setValue(std::nullopt);
        return;
    }
    m_typeImageView->setPixmap(QPixmap::fromImage(namedImage(commandTypeIconName(*m_model))));
    m_wordLabel->setText(m_model->customCmd.value_or(QString()));
    m_contentLabel->setText(m_model->customName.value_or(QString()));
    // A target that is not a shortcut's JSON shows an empty recorder (logged by parse).
    m_shortcutsView->setValue(shortcut ? ShortcutAction::parse(m_model->customName.value_or(QString())) : std::nullopt);
}

void CommandWordCellView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    layoutViews();
}

void CommandWordCellView::layoutViews()
{
    const int h = height();
    m_typeImageView->setGeometry(kIconX, (h - kIconSize) / 2, kIconSize, kIconSize);
    const int wordX = kIconX + kIconSize + kGap;
    m_wordLabel->setGeometry(wordX, (h - kLabelHeight) / 2, kWordWidth, kLabelHeight);
    const int delX = width() - kDeleteRight - kButtonSize;
    const int editX = delX - kButtonGap - kButtonSize;
    m_delBtn->setGeometry(delX, (h - kButtonSize) / 2, kButtonSize, kButtonSize);
    m_editBtn->setGeometry(editX, (h - kButtonSize) / 2, kButtonSize, kButtonSize);
    const int contentX = wordX + kWordWidth + kGap;
    m_contentLabel->setGeometry(contentX, (h - kLabelHeight) / 2, std::max(0, editX - kContentToEdit - contentX),
                                kLabelHeight);
    m_shortcutsView->setGeometry(contentX, (h - kLabelHeight) / 2, kRecorderWidth, kLabelHeight);
}
