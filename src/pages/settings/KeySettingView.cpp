#include "KeySettingView.h"

#include "DeviceProfileController.h"
#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "PagePorts.h"
#include "QXUserInfoData.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"
#include "drawing/KitAppearance.h"
#include "drawing/TextFit.h"
#include "scenes/QXSaveCustomerKeyScene.h"
#include "services/IMouseCommands.h"
#include "sqlite/QXVoiceCommandItem.h"
#include "views/IAddCommandDialogs.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace {

const QColor kTextColor(38, 12, 12);
constexpr int kLabelPadding = 2; // the kit's labels keep it on either side of their text

// The add-command dialog's type for an operation; nullopt: the operation opens none.
// Web sites ask for their address only when the option says it may be edited.
std::optional<qint64> dialogTypeIndex(const KeySettingSubModel &option)
{
    switch (option.operationType()) {
    case 5: // shortcut
        return 3;
    case 7: // file
        return 0;
    case 8: // folder
        return 1;
    case 10: // text
        return 4;
    case 6:  // web site
    case 27: // the maker's web site
        if (option.edit() == QStringLiteral("1"))
            return 2;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

bool sameOption(const KeySettingSubModel &a, const KeySettingSubModel &b)
{
    return a.idStr() == b.idStr() && a.cmdId() == b.cmdId() && a.keyId() == b.keyId() && a.opId() == b.opId()
           && a.cmd() == b.cmd();
}

} // namespace

// --- KeySettingView ------------------------------------------------------------------------

KeySettingView::KeySettingView(KeyRowEnvironment environment, QWidget *parent)
    : QXBaseView(parent), m_env(std::move(environment))
{
    m_titleLabel = new QXLabel(this);
    m_titleLabel->setFont(qxSystemFont(20));
    m_titleLabel->setTextColor(kTextColor);
    m_titleLabel->setTextFormat(Qt::PlainText);
}

void KeySettingView::setModel(std::shared_ptr<MouseSettingModel> model)
{
    m_model = std::move(model);
    qDeleteAll(m_rows);
    m_rows.clear();
    const int count = m_model ? int(m_model->childs().size()) : 0;
    m_titleLabel->setText(m_model ? m_model->name() : QString());
    measureRows();
    for (int i = 0; i < count; ++i) {
        auto *row = new KeySettingSubView(m_env, m_model, i, this);
        row->setObjectName(QStringLiteral("keyRow%1").arg(i));
        m_rows.append(row);
    }
    resize(width(), m_viewHeight);
    layoutRows();
}

void KeySettingView::configTitle()
{
    m_titleLabel->setText(m_model ? m_model->name() : QString());
    // Runs before the rows re-title themselves: their heights come from the model.
    if (!measureRows())
        return;
    resize(width(), m_viewHeight);
    layoutRows();
    emit viewHeightChanged();
}

bool KeySettingView::measureRows()
{
    QList<int> heights;
    int viewHeight = 38;
    if (m_model) {
        for (const KeySettingModel &press : m_model->childs()) {
            heights << KeySettingSubView::rowHeightFor(press.name(), m_env.popUpLeft ? *m_env.popUpLeft
                                                                                     : KeySettingSubView::kPopUpLeft);
            viewHeight += kRowPitch + heights.last() - kRowHeight;
        }
    }
    const bool changed = heights != m_rowHeights || viewHeight != m_viewHeight;
    m_rowHeights = heights;
    m_viewHeight = viewHeight;
    return changed;
}

void KeySettingView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    layoutRows();
}

void KeySettingView::layoutRows()
{
    m_titleLabel->setGeometry(0, 0, width(), kTitleHeight);
    int y = kTitleHeight + kRowGap;
    for (int i = 0; i < m_rows.size(); ++i) {
        const int height = m_rowHeights.value(i, kRowHeight);
        m_rows.at(i)->setGeometry(0, y, width(), height);
        y += kRowPitch + height - kRowHeight;
    }
}

// --- KeySettingSubView ---------------------------------------------------------------------

KeySettingSubView::KeySettingSubView(KeyRowEnvironment environment, std::shared_ptr<MouseSettingModel> section,
                                     int pressIndex, QWidget *parent)
    : QXBaseView(parent), m_env(std::move(environment)), m_section(std::move(section)), m_pressIndex(pressIndex)
{
    m_titleLabel = new QXLabel(this);
    m_titleLabel->setFont(qxSystemFont(16));
    m_titleLabel->setTextColor(kTextColor);
    m_titleLabel->setTextFormat(Qt::PlainText);
    m_popUpBtn = new QXPopUpButton(this);
    m_popUpBtn->setObjectName(QStringLiteral("keyPopUp"));
    configTitle();
}

KeySettingModel &KeySettingSubView::keyModel() const
{
    return m_section->childs()[m_pressIndex];
}

namespace {
// The title's room beside a drop-down starting at `popUpLeft`, inside the label's padding.
qreal titleTextWidth(int popUpLeft)
{
    return popUpLeft - KeySettingSubView::kTitleGap - 2 * kLabelPadding;
}

qreal wrappedHeight(const QFont &font, const QString &title, qreal width)
{
    return QFontMetricsF(font).boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap | Qt::AlignLeft, title).height();
}

bool isHan(QChar c)
{
    return c.script() == QChar::Script_Han;
}
} // namespace

int KeySettingSubView::popUpLeftFor(const QStringList &titles)
{
    const QFontMetricsF metrics(qxSystemFont(16));
    qreal widest = 0;
    for (const QString &title : titles) {
        QString word;
        const auto endWord = [&] {
            widest = std::max(widest, metrics.horizontalAdvance(word));
            word.clear();
        };
        for (const QChar c : title) {
            if (c.isSpace() || isHan(c))
                endWord();
            if (!c.isSpace())
                word += c;
            if (isHan(c))
                endWord();
        }
        endWord();
    }
    const int needed = int(std::ceil(widest)) + kTitleGap + 2 * kLabelPadding;
    return std::clamp(needed, int(kPopUpLeft), int(kWidestPopUpLeft));
}

int KeySettingSubView::rowHeightFor(const QString &title, int popUpLeft)
{
    const int height = KeySettingView::kRowHeight;
    const qreal width = titleTextWidth(popUpLeft);
    // The type two lines take, or the smallest when even that is too tall.
    const QFont font = textfit::fittedWrapped(qxSystemFont(16), title, QSizeF(width, height));
    return std::max(height, int(std::ceil(wrappedHeight(font, title, width))));
}

int KeySettingSubView::popUpLeft() const
{
    return m_env.popUpLeft ? *m_env.popUpLeft : kPopUpLeft;
}

void KeySettingSubView::configTitle()
{
    m_titleLabel->setText(keyModel().name());
    configData();
}

void KeySettingSubView::configData()
{
    const KeySettingModel &key = keyModel();
    QStringList items;
    for (const KeySettingSubModel &option : key.childs()) {
        items << option.name();
        const quint64 type = option.operationType();
        if (type == 18 || type == 28)
            m_env.context.state.setIsHaveGPT(true);
    }
    m_popUpBtn->setItemsArr(items);
    m_popUpBtn->setSelectIndex(int(key.selectIndex()));
    // The page rebuilds its rows often: a pick reaches only a row still alive.
    m_popUpBtn->setSelectBlock([self = QPointer<KeySettingSubView>(this)](int index) {
        if (self)
            self->selectOption(index);
    });
    m_titled = !m_titleLabel->text().isEmpty();
    m_titleLabel->setVisible(m_titled);
    layoutRow();
    if (m_section->keyType() == 1 && !m_observesDpi) {
        m_observesDpi = true;
        m_env.context.notifications.addObserver(QString::fromLatin1(qx::notify::HadUSBInfoNotification), this,
                                                [this](const QVariant &) { updateSelectDPI(); });
    }
}

void KeySettingSubView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    layoutRow();
}

void KeySettingSubView::layoutRow()
{
    const int left = m_titled ? popUpLeft() : 0;
    // A row grown for a long title keeps its drop-down's height, beside the title's middle.
    const int popUpHeight = std::min(height(), int(KeySettingView::kRowHeight));
    m_popUpBtn->setGeometry(left, (height() - popUpHeight) / 2, std::max(0, width() - left), popUpHeight);
    constexpr int kTitleHeight = 16;
    const int room = std::max(0, left - kTitleGap);
    // A title too long for one line (a translated "report rate") takes two in the row's
    // height, a little smaller if it must, rather than being cut.
    const QFont font = qxSystemFont(16);
    const QString title = m_titleLabel->text();
    const bool oneLine = QFontMetricsF(font).horizontalAdvance(title) <= room - kLabelPadding;
    m_titleLabel->setWordWrap(!oneLine);
    m_titleLabel->setFont(oneLine ? font
                                  : textfit::fittedWrapped(font, title, QSizeF(room - 2 * kLabelPadding, height())));
    if (oneLine)
        m_titleLabel->setGeometry(0, (height() - kTitleHeight) / 2, room, kTitleHeight);
    else
        m_titleLabel->setGeometry(0, 0, room, height());
}

void KeySettingSubView::selectOption(int index)
{
    KeySettingModel &key = keyModel();
    QList<KeySettingSubModel> &options = key.childs();
    if (index < 0 || index >= options.size())
        return;
    for (qsizetype i = 0; i < options.size(); ++i)
        options[i].setFirst(i == index ? QStringLiteral("1") : QStringLiteral("0"));
    key.setSelectIndex(index);
    // A copy: the save and the operation may rebuild the page, and this row with it.
    const KeySettingSubModel option = options.at(index);
    const KeyRowEnvironment env = m_env;
    if (env.keysChanged)
        env.keysChanged();
    saveCustomerKeyWithModel(option);
    handleOperationWithModel(option, index);
}

void KeySettingSubView::saveCustomerKeyWithModel(const KeySettingSubModel &option)
{
    saveCustomerKey(m_env, option);
}

void KeySettingSubView::saveCustomerKey(const KeyRowEnvironment &env, const KeySettingSubModel &option)
{
    if (option.cmd() == QStringLiteral("Action_IT"))
        return;
    const PageContext &context = env.context;
    auto scene = std::make_shared<QXSaveCustomerKeyScene>();
    scene->cmdId = option.cmdId().value_or(QString());
    scene->keyId = option.keyId().value_or(QString());
    scene->opId = option.opId().value_or(QString());
    scene->sn = context.state.mouseInfoItem().sn();
    scene->userModelId = env.product ? env.product->modelId().value_or(QString()) : QString();
    scene->attr0 = option.attr0().value_or(QString());
    scene->attr1 = option.attr1().value_or(QString());
    scene->attr2 = option.attr2().value_or(QString());
    // The answer needs nothing of the row, which may be gone by then: the server kept
    // the mapping, so the cached profile is dropped whatever became of the page.
    KeyValueStore *store = &context.store;
    QXUserInfoData *state = &context.state;
    context.api.httpRequestWithScene(
        scene, [store, state, scene](bool success, const QJsonValue &, const QXNetError &e) {
            if (!success) {
                qxInfo("keys") << "key mapping not saved:" << e.message;
                return;
            }
            store->setValue(DeviceProfileController::cacheKey(state->productCode(), scene->sn), QString());
        });
}

void KeySettingSubView::handleOperationWithModel(const KeySettingSubModel &option, int index)
{
    PageContext &context = m_env.context;
    const quint64 type = option.operationType();
    if (type == 1) {
        context.device.sendSetDpiData(index);
        return;
    }
    if (type == 25) {
        context.hidCommands.modifyReturnRate(index);
        return;
    }
    if (const std::optional<qint64> typeIndex = dialogTypeIndex(option))
        openDialog(index, *typeIndex);
}

void KeySettingSubView::openDialog(int optionIndex, qint64 typeIndex)
{
    QWidget *host = m_env.dialogHost;
    if (!host) {
        qxWarning("keys") << "no page to open the command dialog over";
        return;
    }
    auto record = std::make_shared<QXVoiceCommandItem>();
    record->setTypeIndex(typeIndex);
    record->customName = QString();
    const KeySettingSubModel original = keyModel().childs().at(optionIndex);
    auto option = std::make_shared<KeySettingSubModel>(original);
    // The dialog outlives rows and rebuilds: it holds its own option, and the finish
    // holds the section, into which the new target is written back while the option
    // is still there.
    KeyRowEnvironment env = m_env;
    std::shared_ptr<MouseSettingModel> section = m_section;
    const int pressIndex = m_pressIndex;
    env.context.commandDialogs.open(
        host, true, option, record, [env, section, pressIndex, optionIndex, option, original](bool success) {
            if (!success)
                return;
            if (pressIndex < section->childs().size()) {
                QList<KeySettingSubModel> &options = section->childs()[pressIndex].childs();
                if (optionIndex < options.size() && sameOption(options.at(optionIndex), original))
                    options[optionIndex] = *option;
            }
            if (env.keysChanged)
                env.keysChanged();
            saveCustomerKey(env, *option);
        });
}

void KeySettingSubView::updateSelectDPI()
{
    KeySettingModel &key = keyModel();
    const qint64 dpi = m_env.context.state.mouseInfoItem().dpi();
    QList<KeySettingSubModel> &options = key.childs();
    if (dpi < 0 || dpi >= options.size() || dpi >= m_popUpBtn->itemsArr().size())
        return;
    // One option marked: a second "1" would make the lazily worked-out selection pick
    // the last of them.
    for (qsizetype i = 0; i < options.size(); ++i)
        options[i].setFirst(i == dpi ? QStringLiteral("1") : QStringLiteral("0"));
    key.setSelectIndex(dpi);
    m_popUpBtn->setSelectIndex(int(dpi));
    if (m_env.keysChanged)
        m_env.keysChanged();
}
