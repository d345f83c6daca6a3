#include "AddCommandView.h"

#include "CommandRecords.h"
#include "HRVLocalizedString.h"
#include "KeySettingSubModel.h"
#include "PZLog.h"
#include "ShortcutAction.h"
#include "TargetRecords.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"
#include "controls/QXTextField.h"
#include "controls/ShortcutRecorder.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "popup/VoiceArtwork.h"
#include "services/ICommandModel.h"
#include "sqlite/QXVoiceCommandItem.h"

#include <QAction>
#include <QEvent>
#include <QPixmap>

#include <algorithm>

namespace {
constexpr int kTitleY = 40;
constexpr int kTitleHeight = 27;
constexpr int kCaptionX = 40;
constexpr int kCaptionHeight = 22;
constexpr int kTypeCaptionY = kTitleY + kTitleHeight + 46;         // 113
constexpr int kWordCaptionY = kTypeCaptionY + kCaptionHeight + 58; // 193
constexpr int kBoxX = 220;
constexpr int kBoxRight = 40;
constexpr int kBoxHeight = 34;
constexpr int kMoreWidth = 39;
constexpr int kButtonWidth = 85;
constexpr int kTypeWidth = 172;
constexpr int kButtonHeight = 31;
constexpr int kButtonBottom = 35;
constexpr int kMouseShortcutSelection = 3;

const QColor kButtonFill(12, 165, 192);

bool isLocationType(const std::optional<QString> &cmdType)
{
    return cmdType == QStringLiteral("file") || cmdType == QStringLiteral("folder");
}

// The types voice mode offers; a record of another type keeps its type unless the
// user picks one.
bool isOfferedInVoiceMode(const std::optional<QString> &cmdType)
{
    static const QStringList offered{"file", "folder", "website", "text"};
    return cmdType && offered.contains(*cmdType);
}

QXLabel *caption(QWidget *parent, qreal size)
{
    auto *label = new QXLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(qxSystemFont(size));
    label->setTextColor(Qt::black);
    return label;
}

QXBaseView *box(QWidget *parent)
{
    auto *view = new QXBaseView(parent);
    view->setLayerBorder(QColor(0, 0, 0, 51), 1);
    view->setLayerCornerRadius(2);
    return view;
}

QXTextField *field(QWidget *parent)
{
    auto *edit = new QXTextField(parent);
    edit->setFont(qxSystemFont(12));
    return edit;
}

QXButton *button(QWidget *parent)
{
    auto *b = new QXButton(parent);
    b->setLayerBackgroundColor(kButtonFill);
    b->setLayerCornerRadius(4);
    b->setTitleColor(Qt::white);
    return b;
}
} // namespace

AddCommandView::AddCommandView(Deps deps, QWidget *host) : QXBackGroundView(host), m_deps(std::move(deps)), m_host(host)
{
    if (!m_deps.showError)
        m_deps.showError = [](const QString &message, const QString &detail) {
            qxWarning("commands") << "no alert to show:" << message << detail;
        };
    configUI();
    configTitle();
    selectMenuWithIndex();
    if (host) {
        setGeometry(host->rect());
        host->installEventFilter(this);
    }
    layoutPanel();
    show();
    raise();
}

int AddCommandView::typeIndexFromSelectIndex(bool mouseMode, int selectIndex)
{
    if (mouseMode)
        return selectIndex;
    if (selectIndex >= 0 && selectIndex <= 2)
        return selectIndex;
    return selectIndex == 3 ? 4 : 0;
}

int AddCommandView::selectIndexFromTypeIndex(bool mouseMode, int typeIndex)
{
    if (mouseMode)
        return typeIndex;
    if (typeIndex >= 0 && typeIndex <= 2)
        return typeIndex;
    return typeIndex == 4 ? 3 : 0;
}

void AddCommandView::configUI()
{
    setLayerBackgroundColor(QColor(0, 0, 0, 102));

    m_contentView = new QXBaseView(this);
    m_contentView->setObjectName(QStringLiteral("contentView"));
    m_contentView->setLayerBackgroundColor(Qt::white);
    m_contentView->setLayerCornerRadius(10);

    m_titleLabel = caption(m_contentView, 22);
    m_titleLabel->setAlignment(Qt::AlignCenter);
    m_functionLabel1 = caption(m_contentView, 16);
    m_functionLabel2 = caption(m_contentView, 16);
    m_functionLabel3 = caption(m_contentView, 16);

    m_typeBtn = new QXPopUpButton(m_contentView);
    m_typeBtn->setLayerStyle([] {
        LayerStyle style;
        style.borderColor = QColor(0, 0, 0, 51);
        style.borderWidth = 1;
        style.cornerRadius = 2;
        return style;
    }());
    m_typeBtn->setTextColor(Qt::black);
    m_typeBtn->setSelectBlock([this](int) {
        m_userPickedType = true;
        m_pathTextField->clear();
        selectMenuWithIndex();
    });

    m_wordView = box(m_contentView);
    m_wordTextField = field(m_wordView);
    m_wordTextField->setObjectName(QStringLiteral("wordTextField"));

    m_pathView = box(m_contentView);
    m_pathTextField = field(m_pathView);
    m_pathTextField->setObjectName(QStringLiteral("pathTextField"));
    m_moreBtn = new QXButton(m_pathView);
    registerVoiceArtwork(); // the browse icon is drawn with the voice layer's pictures
    m_moreBtn->setImage(QPixmap::fromImage(namedImage(QStringLiteral("2_more_icon"))));
    connect(m_moreBtn, &QAbstractButton::clicked, this, [this] { moreBtnClicked(); });
    m_shortcutsView = new ShortcutRecorder(m_deps.shortcuts, m_pathView);
    m_shortcutsView->hide();

    m_createBtn = button(m_contentView);
    connect(m_createBtn, &QAbstractButton::clicked, this, [this] { createBtnClicked(); });
    m_cancelBtn = button(m_contentView);
    connect(m_cancelBtn, &QAbstractButton::clicked, this, [this] { cancelBtnClicked(); });

    layoutPanel();
}

QStringList AddCommandView::typeItems() const
{
    QStringList items{hrvAppLocalizedString(QStringLiteral("文件")), hrvAppLocalizedString(QStringLiteral("文件夹")),
                      hrvAppLocalizedString(QStringLiteral("网页"))};
    if (m_mouse)
        items << hrvAppLocalizedString(QStringLiteral("快捷键"));
    items << hrvAppLocalizedString(QStringLiteral("固定文本"));
    return items;
}

void AddCommandView::configTitle()
{
    if (!m_contentView)
        return;
    m_titleLabel->setText(hrvAppLocalizedString(QStringLiteral("添加个性化指令")));
    m_functionLabel1->setText(hrvAppLocalizedString(QStringLiteral("类型")));
    m_functionLabel2->setText(hrvAppLocalizedString(QStringLiteral("指令词")));
    const int selection = m_typeBtn->selectIndex();
    m_typeBtn->setItemsArr(typeItems());
    m_typeBtn->setSelectIndex(selection < 0 ? 0 : selection);
    // A language change empties the word field, as it always has; the target caption
    // follows the selection in the new language.
    m_wordTextField->clear();
    selectMenuWithIndex();
    m_createBtn->setTitle(hrvAppLocalizedString(m_mouse ? QStringLiteral("保存") : QStringLiteral("创建")));
    m_cancelBtn->setTitle(hrvAppLocalizedString(QStringLiteral("取消")));
}

void AddCommandView::selectMenuWithIndex()
{
    const int selection = m_typeBtn->selectIndex();
    m_moreBtn->setVisible(selection == 0 || selection == 1);
    const bool recorder = m_mouse && selection == kMouseShortcutSelection;
    m_pathTextField->setVisible(!recorder);
    m_shortcutsView->setVisible(recorder);

    QString text = QStringLiteral("执行路径");
    if (selection == 2)
        text = QStringLiteral("网页");
    else if (selection == 3)
        text = m_mouse ? QStringLiteral("快捷键") : QStringLiteral("固定文本");
    else if (selection == 4 && m_mouse)
        text = QStringLiteral("固定文本");
    m_functionLabel3->setText(hrvAppLocalizedString(text));

    // A shortcut carried by the record shows in an unbound recorder; a bound one shows
    // what its key holds and must not be overwritten by it.
    if (recorder && m_model && !m_model->customName.value_or(QString()).isEmpty() && !m_shortcutsView->isBound()) {
        if (const auto shortcut = ShortcutAction::parse(*m_model->customName))
            m_shortcutsView->setValue(shortcut);
    }
    layoutPanel();
}

void AddCommandView::layoutPanel()
{
    const int height = m_mouse ? kMouseHeight : kVoiceHeight;
    const int hostHeight = this->height();
    m_contentView->setGeometry(60, hostHeight / 2 - 10 - height / 2, kPanelWidth, height);

    m_titleLabel->setGeometry(0, kTitleY, kPanelWidth, kTitleHeight);
    const int captionWidth = kBoxX - kCaptionX;
    m_functionLabel1->setGeometry(kCaptionX, kTypeCaptionY, captionWidth, kCaptionHeight);
    m_functionLabel2->setGeometry(kCaptionX, kWordCaptionY, captionWidth, kCaptionHeight);
    const int targetY = m_mouse ? kTypeCaptionY + kCaptionHeight + 46 : kWordCaptionY + kCaptionHeight + 46;
    m_functionLabel3->setGeometry(kCaptionX, targetY, captionWidth, kCaptionHeight);

    const auto centredOn = [](int captionY, int h) { return captionY + kCaptionHeight / 2 - h / 2; };
    m_typeBtn->setGeometry(kBoxX, centredOn(kTypeCaptionY, 34), kTypeWidth, 34);
    const int boxWidth = kPanelWidth - kBoxRight - kBoxX;
    // Wider where a type's name (a longer translation) needs it, up to the fields' width.
    int typeWidth = kTypeWidth;
    for (const QAction *item : m_typeBtn->allMenuItem())
        typeWidth = std::max(typeWidth, m_typeBtn->widthShowingWhole(item->text()));
    m_typeBtn->resize(std::min(typeWidth, boxWidth), 34);
    m_wordView->setGeometry(kBoxX, centredOn(kWordCaptionY, kBoxHeight), boxWidth, kBoxHeight);
    m_wordTextField->setGeometry(10, 0, boxWidth - 20, kBoxHeight);
    m_pathView->setGeometry(kBoxX, centredOn(targetY, kBoxHeight), boxWidth, kBoxHeight);
    m_moreBtn->setGeometry(boxWidth - kMoreWidth, 0, kMoreWidth, kBoxHeight);
    const int fieldEnd = m_moreBtn->isVisibleTo(m_pathView) ? boxWidth - kMoreWidth - 10 : boxWidth - 10;
    m_pathTextField->setGeometry(10, 0, fieldEnd - 10, kBoxHeight);
    m_shortcutsView->setGeometry(0, 0, boxWidth, kBoxHeight); // the browse button is hidden beside it

    m_functionLabel2->setVisible(!m_mouse);
    m_wordView->setVisible(!m_mouse);

    const int buttonY = height - kButtonBottom - kButtonHeight;
    const int createX = kPanelWidth / 2 - 25 - kButtonWidth;
    m_createBtn->setGeometry(createX, buttonY, kButtonWidth, kButtonHeight);
    m_cancelBtn->setGeometry(createX + kButtonWidth + 50, buttonY, kButtonWidth, kButtonHeight);
}

void AddCommandView::setIsFromMouseSetting(bool on)
{
    m_mouse = on;
    m_typeBtn->setItemsArr(typeItems());
    m_typeBtn->setEnabled(!on);
    m_typeBtn->setHiddenImageView(on);
    m_createBtn->setTitle(hrvAppLocalizedString(on ? QStringLiteral("保存") : QStringLiteral("创建")));
    selectMenuWithIndex();
}

void AddCommandView::setModel(std::shared_ptr<QXVoiceCommandItem> model)
{
    m_model = std::move(model);
    m_userPickedType = false;
    const int type = m_model ? int(m_model->typeIndex()) : 0;
    m_typeBtn->setSelectIndex(selectIndexFromTypeIndex(m_mouse, type));
    selectMenuWithIndex();
    if (m_mouse) {
        m_createBtn->setTitle(hrvAppLocalizedString(QStringLiteral("保存")));
        if (m_keySubModel) {
            // Options without an id would all share the key "": they stay unbound.
            m_shortcutsView->setAssociatedUserDefaultsKey(m_keySubModel->idStr().value_or(QString()));
            setTargetText(m_keySubModel->attr0().value_or(QString()));
        }
    } else {
        m_wordTextField->setText(m_model ? m_model->customCmd.value_or(QString()) : QString());
        m_wordTextField->setCursorPosition(0);
        setTargetText(m_model ? m_model->customName.value_or(QString()) : QString());
        m_createBtn->setTitle(hrvAppLocalizedString(QStringLiteral("创建")));
    }
}

void AddCommandView::setTargetText(const QString &text)
{
    m_pathTextField->setText(text);
    m_pathTextField->setCursorPosition(0); // long targets show their beginning
}

void AddCommandView::moreBtnClicked()
{
    if (!m_deps.files || m_closed)
        return;
    FilePicker::Request request;
    request.mode = m_typeBtn->selectIndex() == 0 ? FilePicker::Mode::FileOrFolder : FilePicker::Mode::Folder;
    request.prompt = hrvAppLocalizedString(QStringLiteral("打开"));
    m_deps.files->pick(request, [self = QPointer<AddCommandView>(this)](const std::optional<QString> &path) {
        if (!self || self->m_closed || !path)
            return;
        self->setTargetText(pickedLocationText(*path));
    });
}

void AddCommandView::createBtnClicked()
{
    if (m_closed || m_busy)
        return;
    if (m_mouse)
        saveKeyOption();
    else
        createVoiceCommand();
}

void AddCommandView::createVoiceCommand()
{
    const QString word = m_wordTextField->text();
    const QString target = m_pathTextField->text();
    if (word.isEmpty() || target.isEmpty()) {
        showError(QStringLiteral("信息不能为空"), hrvAppLocalizedString(QStringLiteral("请填写完整后再创建")));
        return;
    }
    if (!m_deps.commands) {
        qxWarning("commands") << "no command model: the command is not created";
        return;
    }
    // Two commands with one word would go together: the server deletes by word. An
    // edit that keeps its word is no clash with itself.
    for (const auto &listed : m_deps.commands->customCommands()) {
        if (listed && listed != m_model && listed->customCmd == word) {
            showError(QStringLiteral("指令词已存在"), hrvAppLocalizedString(QStringLiteral("请重新填写完整后再创建")));
            return;
        }
    }
    auto item = std::make_shared<QXVoiceCommandItem>();
    item->customCmd = word;
    item->customName = target;
    if (m_model && !m_userPickedType && !isOfferedInVoiceMode(m_model->cmdType) && m_model->cmdType)
        item->cmdType = m_model->cmdType; // shown as a file, but not turned into one
    else
        item->setTypeIndex(typeIndexFromSelectIndex(false, m_typeBtn->selectIndex()));

    setBusy(true);
    if (!m_model) {
        sendCreate(item);
        return;
    }
    m_deps.commands->deleteCustomCommand(
        m_model, [self = QPointer<AddCommandView>(this), item](bool success, const QString &failure) {
            if (!self || self->m_closed)
                return;
            if (!success) {
                self->setBusy(false);
                self->showError(QStringLiteral("编辑失败"), failure);
                return;
            }
            self->sendCreate(item);
        });
}

void AddCommandView::sendCreate(const std::shared_ptr<QXVoiceCommandItem> &item)
{
    m_deps.commands->createCustomCommand(
        item, [self = QPointer<AddCommandView>(this), item](bool success, const QString &failure) {
            if (self && !self->m_closed)
                self->createAnswered(success, failure, item);
        });
}

void AddCommandView::createAnswered(bool success, const QString &failure,
                                    const std::shared_ptr<QXVoiceCommandItem> &item)
{
    setBusy(false);
    if (!success) {
        showError(QStringLiteral("创建失败"), failure);
        finishAndClose(false);
        return;
    }
    m_typeBtn->setSelectIndex(0);
    m_wordTextField->clear();
    m_pathTextField->clear();
    if (isLocationType(item->cmdType) && m_deps.targets) {
        const QString target = item->customName.value_or(QString());
        if (!m_deps.targets->record(target))
            qxWarning("commands") << "the command was created, but its target is no existing location:" << target;
    }
    finishAndClose(true);
}

void AddCommandView::saveKeyOption()
{
    const int selection = m_typeBtn->selectIndex();
    const QString target = m_pathTextField->text();
    std::optional<platform::Shortcut> shortcut;
    if (selection == kMouseShortcutSelection)
        shortcut = m_shortcutsView->value();
    // Without a recorded shortcut there is nothing to store: the option keeps its action.
    if ((selection != kMouseShortcutSelection && target.isEmpty())
        || (selection == kMouseShortcutSelection && !shortcut)) {
        showError(QStringLiteral("信息不能为空"), hrvAppLocalizedString(QStringLiteral("请填写完整后再创建")));
        return;
    }
    if (!m_keySubModel) {
        qxWarning("commands") << "no key option to save the action into";
        return;
    }
    const QString attr0 = shortcut ? ShortcutAction::toJson(*shortcut) : target;
    m_keySubModel->setAttr0(attr0);
    if ((selection == 0 || selection == 1) && m_deps.targets && !m_deps.targets->record(attr0))
        qxWarning("commands") << "the key action was saved, but its target is no existing location:" << attr0;
    finishAndClose(true);
}

void AddCommandView::cancelBtnClicked()
{
    closeDialog();
}

void AddCommandView::setBusy(bool busy)
{
    m_busy = busy;
    m_createBtn->setEnabled(!busy);
}

void AddCommandView::finishAndClose(bool success)
{
    Finish finish = std::move(m_finish);
    m_finish = nullptr;
    closeDialog(); // first: the callback may destroy the host
    if (finish)
        finish(success);
}

void AddCommandView::closeDialog()
{
    if (m_closed)
        return;
    m_closed = true;
    hide();
    if (m_host)
        m_host->removeEventFilter(this);
    setParent(nullptr);
    deleteLater();
}

void AddCommandView::showError(const QString &message, const QString &detail)
{
    m_deps.showError(hrvAppLocalizedString(message), detail);
}

bool AddCommandView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_host && event->type() == QEvent::Resize) {
        setGeometry(m_host->rect());
        layoutPanel();
    }
    return QXBackGroundView::eventFilter(watched, event);
}
