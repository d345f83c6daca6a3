#include "HotWordView.h"

#include "DeleteListedCommand.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "popup/VoiceArtwork.h"
#include "services/ICommandModel.h"
#include "services/IErrorAlert.h"
#include "services/IHotWordEntries.h"
#include "sqlite/QXVoiceCommandItem.h"
#include "views/RowList.h"

#include <QPixmap>

namespace {
constexpr int kLabelX = 30;
constexpr int kLabelHeight = 20;
constexpr int kLabelToButton = 10;
constexpr int kButtonSize = 40;
constexpr int kButtonRight = 20;
} // namespace

HotWordCellView::HotWordCellView(QWidget *parent) : QXBaseView(parent)
{
    registerVoiceArtwork();
    m_contentLabel = new QXLabel(this);
    m_contentLabel->setFont(qxSystemFont(16));
    m_contentLabel->setTextColor(QColor(38, 12, 12));
    m_contentLabel->setElideMode(Qt::ElideRight);
    m_delBtn = new QXButton(this);
    m_delBtn->setImage(QPixmap::fromImage(namedImage(QStringLiteral("4_command_delete_icon"))));
    connect(m_delBtn, &QXButton::clicked, this, [this] {
        if (m_model && m_delete)
            m_delete(m_model);
    });
    setModel(nullptr);
}

void HotWordCellView::setRow(int row)
{
    m_delBtn->setObjectName(QStringLiteral("row%1.delete").arg(row));
}

void HotWordCellView::setModel(std::shared_ptr<QXVoiceCommandItem> model)
{
    m_model = std::move(model);
    m_contentLabel->setVisible(m_model != nullptr);
    m_delBtn->setVisible(m_model != nullptr);
    m_contentLabel->setText(m_model ? m_model->customCmd.value_or(QString()) : QString());
}

void HotWordCellView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    const int buttonX = width() - kButtonRight - kButtonSize;
    m_delBtn->setGeometry(buttonX, (height() - kButtonSize) / 2, kButtonSize, kButtonSize);
    m_contentLabel->setGeometry(kLabelX, (height() - kLabelHeight) / 2, std::max(0, buttonX - kLabelToButton - kLabelX),
                                kLabelHeight);
}

HotWordView::HotWordView(Deps deps, QWidget *parent) : QXBaseView(parent), m_deps(deps)
{
    configUI();
    configData();
}

void HotWordView::configUI()
{
    setLayerBackgroundColor(Qt::white);
    m_tableView = new RowList(this);
    m_tableView->setObjectName(QStringLiteral("hotWordList"));
    m_tableView->setRowHeight(kRowHeight);
    m_tableView->setMinRows(kMinRows);
    m_tableView->setSource(RowList::itemSource<HotWordCellView>(
        [this]() -> const auto & { return m_deps.hotWords.hotWordListArray(); },
        [this](QWidget *rowView) {
            auto *cell = new HotWordCellView(rowView);
            cell->setDeleteAction([this](const auto &entry) { deleteEntry(entry); });
            return cell;
        }));
    reloadData();
}

void HotWordView::configData()
{
    m_deps.notifications.addObserver(QString::fromLatin1(qx::notify::kUpdateHotWordListNotification), this,
                                     [this](const QVariant &) { reloadData(); });
}

void HotWordView::reloadData()
{
    m_tableView->reload();
}

HotWordCellView *HotWordView::cell(int row) const
{
    return static_cast<HotWordCellView *>(m_tableView->cell(row));
}

void HotWordView::deleteEntry(const std::shared_ptr<QXVoiceCommandItem> &entry)
{
    if (!entry)
        return;
    deleteListedCommand(m_deps.commands, m_deps.errorAlert, entry, this, [this] { reloadData(); });
}

void HotWordView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    m_tableView->setGeometry(rect());
}
