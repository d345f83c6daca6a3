#include "CommandWordView.h"

#include "CommandWordCellView.h"
#include "DeleteListedCommand.h"
#include "HRVLocalizedString.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "controls/QXButton.h"
#include "drawing/KitAppearance.h"
#include "services/AlertPresenter.h"
#include "services/ICommandModel.h"
#include "services/IErrorAlert.h"
#include "sqlite/QXVoiceCommandItem.h"
#include "views/IAddCommandDialogs.h"

#include <QFontMetrics>
#include <QPointer>

namespace {
const QColor kAccent(12, 165, 192);
constexpr int kDeleteButton = 1; // "确定", the second button of the question
} // namespace

CommandWordView::CommandWordView(Deps deps, QWidget *parent) : QXBaseView(parent), m_deps(deps)
{
    configUI();
    configData();
    configTitle();
    m_deps.notifications.addObserver(QString::fromLatin1(qx::notify::HadUSBInfoNotification), this,
                                     [this](const QVariant &) { configData(); });
}

void CommandWordView::configUI()
{
    setLayerBackgroundColor(Qt::white);
    m_addCommandBtn = new QXButton(this);
    m_addCommandBtn->setObjectName(QStringLiteral("addCommandBtn"));
    m_addCommandBtn->setFont(qxSystemFont(16));
    m_addCommandBtn->setTitleColor(kAccent);
    connect(m_addCommandBtn, &QXButton::clicked, this, &CommandWordView::addCommandBtnClicked);

    m_tableView = new RowList(this);
    m_tableView->setObjectName(QStringLiteral("commandList"));
    m_tableView->setRowHeight(kRowHeight);
    m_tableView->setMinRows(kMinRows);
    m_tableView->setSource(RowList::itemSource<CommandWordCellView>(
        [this]() -> const auto & { return m_deps.commands.customCommands(); },
        [this](QWidget *rowView) {
            auto *cell = new CommandWordCellView(rowView);
            cell->setEditAction([this](const auto &record) { editCommand(record); });
            cell->setDeleteAction([this](const auto &record) { deleteCommand(record); });
            return cell;
        }));
}

void CommandWordView::configData()
{
    QPointer<CommandWordView> self(this);
    m_deps.commands.fetchCustomCommands([self](bool success, const QString &) {
        if (self && success)
            self->reloadData();
    });
    reloadData();
}

void CommandWordView::configTitle()
{
    m_addCommandBtn->setTitle(QStringLiteral("+") + hrvAppLocalizedString(QStringLiteral("添加指令")));
    layoutViews();
}

void CommandWordView::reloadData()
{
    m_tableView->reload();
}

void CommandWordView::addCommandBtnClicked()
{
    openDialog(nullptr);
}

void CommandWordView::editCommand(const std::shared_ptr<QXVoiceCommandItem> &record)
{
    if (record)
        openDialog(record);
}

void CommandWordView::openDialog(std::shared_ptr<QXVoiceCommandItem> record)
{
    // Over the whole page, as the dialog covers its host.
    QWidget *host = parentWidget() ? parentWidget() : this;
    QPointer<CommandWordView> self(this);
    m_deps.dialogs.open(host, false, nullptr, std::move(record), [self](bool success) {
        if (self && success)
            self->reloadData();
    });
}

void CommandWordView::deleteCommand(const std::shared_ptr<QXVoiceCommandItem> &record)
{
    if (!record)
        return;
    // The alert has one text: the question, then what deleting means. The quotes and
    // the question mark around the command are the language's own.
    const QString message =
        hrvAppLocalizedString(QStringLiteral("%1‘%2’？"))
            .arg(hrvAppLocalizedString(QStringLiteral("确定要删除语音指令")), record->customCmd.value_or(QString()))
        + u'\n' + hrvAppLocalizedString(QStringLiteral("删除后该语音指令将失效！"));
    const QStringList buttons{hrvAppLocalizedString(QStringLiteral("取消")),
                              hrvAppLocalizedString(QStringLiteral("确定"))};
    QPointer<CommandWordView> self(this);
    m_deps.alerts.showAlert(message, buttons, [self, record](int button) {
        if (!self || button != kDeleteButton)
            return;
        deleteListedCommand(self->m_deps.commands, self->m_deps.errorAlert, record, self,
                            [self] { self->reloadData(); });
    });
}

void CommandWordView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    layoutViews();
}

void CommandWordView::layoutViews()
{
    const int addWidth = QFontMetrics(m_addCommandBtn->font()).horizontalAdvance(m_addCommandBtn->title()) + 4;
    m_addCommandBtn->setGeometry(width() - kAddRight - addWidth, 0, addWidth, kAddHeight);
    const int listTop = kAddHeight + kListGap;
    m_tableView->setGeometry(0, listTop, width(), std::max(0, height() - listTop));
}
