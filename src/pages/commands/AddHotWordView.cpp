#include "AddHotWordView.h"

#include "CommandRecords.h"
#include "HRVLocalizedString.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXTextField.h"
#include "drawing/KitAppearance.h"
#include "services/ICommandModel.h"
#include "services/IErrorAlert.h"
#include "sqlite/QXVoiceCommandItem.h"
#include "views/RowList.h"

#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QPointer>

namespace {
constexpr int kTipX = 30;
constexpr int kTipY = 40;
constexpr int kTipHeight = 17;
constexpr int kGap = 15;
constexpr int kButtonWidth = 85;
constexpr int kButtonHeight = 31;
constexpr int kButtonBottom = 10;
constexpr int kFieldRight = 5;
constexpr int kPhraseType = 5;
const QColor kGrey(112, 112, 112);
} // namespace

AddHotWordCellView::AddHotWordCellView(QWidget *parent) : QXBaseView(parent)
{
    m_contentField = new QXTextField(this);
    m_contentField->setFont(qxSystemFont(16));
    m_contentField->setFrame(false);
    m_contentField->setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette palette = m_contentField->palette();
    palette.setColor(QPalette::Text, QColor(38, 12, 12));
    palette.setColor(QPalette::Base, Qt::transparent);
    m_contentField->setPalette(palette);
    m_contentField->installEventFilter(this);
    connect(m_contentField, &QXTextField::editingFinished, this, [this] {
        if (inputEndBlock)
            inputEndBlock(m_contentField->text());
    });
    // A single-line field types no line break: Return only moves on.
    connect(m_contentField, &QXTextField::returnPressed, this, [this] {
        if (insertNewlineBlock)
            insertNewlineBlock();
    });
}

void AddHotWordCellView::setRow(int row)
{
    m_row = row;
    m_contentField->setObjectName(RowList::partName(row, "field"));
}

void AddHotWordCellView::setStringValue(const QString &text)
{
    m_contentField->setText(text);
}

void AddHotWordCellView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    m_contentField->setGeometry(0, 0, std::max(0, width() - kFieldRight), height());
}

bool AddHotWordCellView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_contentField && event->type() == QEvent::FocusIn && inputBeginBlock)
        inputBeginBlock();
    return QXBaseView::eventFilter(watched, event);
}

AddHotWordView::AddHotWordView(Deps deps, QWidget *parent) : QXBaseView(parent), m_deps(deps)
{
    setLayerBackgroundColor(Qt::white);
    setLayerCornerRadius(16);
    auto *shadow = new QGraphicsDropShadowEffect(this);
    QColor shadowColor = kGrey;
    shadowColor.setAlphaF(0.5);
    shadow->setColor(shadowColor);
    shadow->setOffset(0, 0);
    shadow->setBlurRadius(5);
    setGraphicsEffect(shadow);
    configUI();
    configTitle();
    resetData();
}

AddHotWordView::~AddHotWordView()
{
    // The rows go with QWidget's destructor, after this view's state: a field that loses
    // the focus on the way (the window hides) must not report into it any more.
    for (int row = 0; row < m_tableView->rowCount(); ++row) {
        AddHotWordCellView *entry = cell(row);
        entry->inputBeginBlock = nullptr;
        entry->inputEndBlock = nullptr;
        entry->insertNewlineBlock = nullptr;
    }
}

void AddHotWordView::configUI()
{
    m_tipLabel = new QXLabel(this);
    m_tipLabel->setFont(qxSystemFont(12));
    m_tipLabel->setTextColor(kGrey);
    // The hint is an instruction ("one per line"): a longer translation wraps rather
    // than losing its end.
    m_tipLabel->setWordWrap(true);

    m_tableView = new RowList(this);
    m_tableView->setObjectName(QStringLiteral("hotWordEntryList"));
    m_tableView->setRowHeight(kRowHeight);
    m_tableView->setMinRows(kRows);
    m_tableView->setSource({
        [this] { return int(m_dataArr.size()); },
        [this](QWidget *rowView) {
            auto *cell = new AddHotWordCellView(rowView);
            cell->inputBeginBlock = [this, cell] {
                m_isClear = false;
                m_currentInputRow = cell->row();
            };
            cell->inputEndBlock = [this, cell](const QString &text) {
                if (!m_isClear && cell->row() >= 0 && cell->row() < m_dataArr.size())
                    m_dataArr[cell->row()] = text;
            };
            cell->insertNewlineBlock = [this, cell] { nextTextFieldInput(cell->row() + 1); };
            return cell;
        },
        [this](QWidget *cell, int row) {
            auto *entry = static_cast<AddHotWordCellView *>(cell);
            entry->setRow(row);
            entry->setStringValue(row < m_dataArr.size() ? m_dataArr.at(row) : QString());
        },
    });

    m_createBtn = new QXButton(this);
    m_createBtn->setObjectName(QStringLiteral("createBtn"));
    m_createBtn->setLayerBackgroundColor(QColor(12, 165, 192));
    m_createBtn->setLayerCornerRadius(4);
    m_createBtn->setTitleColor(Qt::white);
    connect(m_createBtn, &QXButton::clicked, this, &AddHotWordView::createBtnClicked);
}

void AddHotWordView::configTitle()
{
    m_tipLabel->setText(hrvAppLocalizedString(QStringLiteral("点击此处添加热词,每行一个")));
    m_createBtn->setTitle(hrvAppLocalizedString(QStringLiteral("创建")));
    layoutViews();
}

AddHotWordCellView *AddHotWordView::cell(int row) const
{
    return static_cast<AddHotWordCellView *>(m_tableView->cell(row));
}

void AddHotWordView::resetData()
{
    m_dataArr = QStringList(kRows, QString());
    m_isClear = true;
    m_tableView->reload();
}

void AddHotWordView::nextTextFieldInput(int row)
{
    if (row < 0 || row >= m_tableView->rowCount())
        return;
    m_tableView->scrollToRow(row);
    cell(row)->contentField()->setFocus(Qt::OtherFocusReason);
}

void AddHotWordView::createBtnClicked()
{
    // The row being typed in counts with what it shows now, not only once its editing ends.
    if (!m_isClear && m_currentInputRow >= 0 && m_currentInputRow < m_dataArr.size())
        m_dataArr[m_currentInputRow] = cell(m_currentInputRow)->contentField()->text();
    QStringList words;
    for (const QString &text : std::as_const(m_dataArr))
        if (!text.isEmpty())
            words << text;
    if (words.isEmpty())
        return;
    auto entry = std::make_shared<QXVoiceCommandItem>();
    entry->setTypeIndex(kPhraseType);
    entry->customCmd = hotWordEntryText(words);
    QPointer<AddHotWordView> self(this);
    m_deps.commands.createCustomCommand(entry, [self](bool success, const QString &failure) {
        if (!self)
            return;
        if (!success) {
            self->m_deps.errorAlert.showErrorMsg(hrvAppLocalizedString(QStringLiteral("创建失败")), failure);
            return;
        }
        self->resetData();
        self->m_deps.notifications.post(QString::fromLatin1(qx::notify::kUpdateHotWordListNotification));
    });
}

void AddHotWordView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    layoutViews();
}

void AddHotWordView::layoutViews()
{
    const int tipWidth = std::max(0, width() - 2 * kTipX);
    const int tipHeight = std::max(kTipHeight, m_tipLabel->wrappedHeight(tipWidth));
    m_tipLabel->setGeometry(kTipX, kTipY, tipWidth, tipHeight);
    const int buttonY = height() - kButtonBottom - kButtonHeight;
    m_createBtn->setGeometry((width() - kButtonWidth) / 2, buttonY, kButtonWidth, kButtonHeight);
    const int listTop = kTipY + tipHeight + kGap;
    m_tableView->setGeometry(0, listTop, width(), std::max(0, buttonY - kGap - listTop));
}
