#include "MouseSettingViewController.h"

#include "HRVLocalizedString.h"
#include "KeySettingView.h"
#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "PagePorts.h"
#include "QXLanguageManager.h"
#include "QXUserInfoData.h"
#include "RowSwitch.h"
#include "TextNumber.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "scenes/QXGetCustomerKeyScene.h"
#include "scenes/QXResetCustomerKeyScene.h"
#include "services/IAIWindow.h"
#include "views/QXBaseView.h"

#include <QEvent>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace {

const QString kIsSelectedLanguage = QStringLiteral("isSelectedLanguage");
const QString kIsManualSelect114 = QStringLiteral("isManualSelect_114");
constexpr quint64 kEnglishIndex = 2;

// Lays the page out again whenever its view changes size.
class ResizeRelay final : public QObject {
public:
    ResizeRelay(QObject *parent, std::function<void()> layout) : QObject(parent), m_layout(std::move(layout)) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            m_layout();
        return false;
    }

private:
    std::function<void()> m_layout;
};

KeySettingModel auxiliaryRow(const QString &name, const QString &cmd, const QStringList &texts,
                             const std::function<bool(qsizetype, const QString &)> &current)
{
    KeySettingModel row;
    row.setName(name);
    bool marked = false;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        KeySettingSubModel option;
        option.setName(texts.at(i));
        option.setCmd(cmd);
        const bool isCurrent = current(i, texts.at(i));
        marked = marked || isCurrent;
        option.setFirst(isCurrent ? QStringLiteral("1") : QStringLiteral("0"));
        row.childs().append(option);
    }
    // A device value outside the list (a step past its end, say) selects nothing
    // rather than the first entry.
    if (!marked)
        row.setSelectIndex(-1);
    return row;
}

bool offersAi(const std::vector<std::shared_ptr<MouseSettingModel>> &sections)
{
    for (const auto &section : sections)
        for (const KeySettingModel &key : section->childs())
            for (const KeySettingSubModel &option : key.childs())
                if (option.operationType() == 18 || option.operationType() == 28)
                    return true;
    return false;
}

// A widget leaving the page: its subscriptions end now, the widget itself on the next
// turn of the event loop, since the rebuild may run inside one of its own handlers.
void retire(QWidget *widget, NotificationCenter &center)
{
    QList<QObject *> objects = widget->findChildren<QObject *>();
    objects << widget;
    for (QObject *object : std::as_const(objects)) {
        center.removeObserver(object);
        endTitleSubscription(object);
    }
    widget->hide();
    widget->deleteLater();
}

} // namespace

MouseSettingViewController::MouseSettingViewController(const PageContext &context)
    : m_context(context), m_product(std::make_shared<const MouseModelSettingModel>()),
      m_auxiliarySetModel(std::make_shared<MouseSettingModel>(MouseSettingModel::createMouseAuxiliarySetModel()))
{
    // Until a profile arrives the page shows the key sections of the last one parsed:
    // after a key save or reset has emptied the cached profile, a launch with the
    // server out of reach still shows the keys.
    for (const MouseSettingModel &section :
         MouseSettingModel::listFromJson(m_context.store.jsonArray(QString::fromLatin1(kMouseSettingArrKey))))
        m_keySections.push_back(std::make_shared<MouseSettingModel>(section));
    m_profile = std::make_unique<DeviceProfileController>(m_context, [this] {
        adoptProfileKeys();
        configUI();
    });
    connect(m_profile.get(), &DeviceProfileController::productImageChanged, this,
            &MouseSettingViewController::showProductImage);

    using namespace qx::notify;
    NotificationCenter &center = m_context.notifications;
    const auto observe = [this, &center](const char *name, void (MouseSettingViewController::*handler)()) {
        center.addObserver(QString::fromLatin1(name), this, [this, handler](const QVariant &) { (this->*handler)(); });
    };
    observe(kUpdateMouseSettingNotification, &MouseSettingViewController::updateCustomerKey);
    observe(HadUSBInfoNotification, &MouseSettingViewController::hadUSBInfoNotification);
    observe(kUpdateLightingEffectsNotification, &MouseSettingViewController::updateLightingEffects);
    for (const char *name :
         {kUpdateFunctionNotification, kUpdateDPIItemNotification, kUpdateReportRateItemNotification})
        observe(name, &MouseSettingViewController::configUI);
}

MouseSettingViewController::~MouseSettingViewController()
{
    m_context.notifications.removeObserver(this);
}

QList<MouseSettingModel> MouseSettingViewController::mouseSettingArr() const
{
    QList<MouseSettingModel> list;
    for (const auto &section : m_keySections)
        list.append(*section);
    if (!m_auxiliarySetModel->childs().isEmpty())
        list.append(*m_auxiliarySetModel);
    return list;
}

QWidget *MouseSettingViewController::loadView()
{
    m_root = qxWhitePage(QStringLiteral("mouseSettingPage"));

    // The picture lies under the list, which is clear: its drop-downs stay usable
    // where the two meet on a narrow window.
    m_imageView = new QLabel(m_root);
    m_imageView->setObjectName(QStringLiteral("mouseTypeImageView"));
    m_imageView->setAlignment(Qt::AlignCenter);
    m_scroll = new QScrollArea(m_root);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(false);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A thin scroller over the content, as an overlay one would be.
    m_scroll->setStyleSheet(QStringLiteral(
        "QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }"
        "QScrollBar:vertical { width: 8px; background: transparent; margin: 0; }"
        "QScrollBar::handle:vertical { background: rgba(0, 0, 0, 70); border-radius: 4px; min-height: 30px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }"));
    m_content = new QWidget;
    m_content->setObjectName(QStringLiteral("contentView"));
    m_scroll->setWidget(m_content);

    const auto button = [this](const char *name) {
        auto *b = new QXButton(m_root);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    m_enterAIBtn = button("aiButton");
    m_enterAIBtn->setTitle(hrvAppLocalizedString(QStringLiteral("进入AI智能创作")));
    m_resetBtn = button("resetButton");
    m_resetBtn->setTitle(hrvAppLocalizedString(QStringLiteral("重置按键功能")));
    for (QXButton *b : {m_enterAIBtn, m_resetBtn}) {
        b->setTitleColor(Qt::white);
        b->setLayerBackgroundColor(qxAccentColor());
        b->setLayerCornerRadius(15);
    }
    m_refreshBtn = button("refreshButton");
    m_refreshBtn->setImage(namedPixmap(QStringLiteral("1_shuaxin")));
    m_permissionBtn = button("permissionButton");
    m_permissionBtn->setImage(namedPixmap(QStringLiteral("1_shezhi")));
    m_rgbBtn = button("rgbSwitch");
    m_rgbBtn->setCheckable(true);
    // Off until the device reports its lighting; a report that came before the view
    // was built counts.
    rowswitch::showSwitch(m_rgbBtn, m_lightingReported && m_context.state.rgbSwitch());
    m_rgbLabel = new QXLabel(m_root);
    m_rgbLabel->setFont(qxSystemFont(16));
    m_rgbLabel->setTextColor(QColor(38, 12, 12));

    connect(m_enterAIBtn, &QXButton::clicked, this, &MouseSettingViewController::enterAIBtnClicked);
    connect(m_resetBtn, &QXButton::clicked, this, &MouseSettingViewController::resetKeyFunctionBtnClicked);
    connect(m_refreshBtn, &QXButton::clicked, this, &MouseSettingViewController::refreshBtnClicked);
    connect(m_permissionBtn, &QXButton::clicked, this, &MouseSettingViewController::permissionBtnClicked);
    connect(m_rgbBtn, &QXButton::clicked, this, &MouseSettingViewController::rgbBtnClicked);
    m_root->installEventFilter(new ResizeRelay(m_root, [this] { layoutControls(); }));
    return m_root;
}

void MouseSettingViewController::viewDidLoad()
{
    QXBaseViewController::viewDidLoad();
    configData();
    configUI();
    showProductImage();
}

void MouseSettingViewController::configData()
{
    m_isScrollTop = true;
    m_profile->getCustomerKey();
}

bool MouseSettingViewController::showsRgb() const
{
    return m_context.state.productCode() == QLatin1String("41") || m_context.state.isAmbientLightSwitch();
}

// The interface turns English for the products sold with it; the page re-titles
// everything through the title notification.
void MouseSettingViewController::switchToEnglish()
{
    m_context.languages.setUiLanguageIndex(kEnglishIndex);
    m_context.languages.shouldRefreshData();
    m_context.notifications.post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
}

void MouseSettingViewController::configUI()
{
    QXUserInfoData &state = m_context.state;
    state.setIsHaveGPT(false);
    const bool rgb = showsRgb();
    if (isViewLoaded()) {
        m_rgbLabel->setText(hrvAppLocalizedString(QStringLiteral("RGB")));
        m_rgbLabel->setVisible(rgb);
        m_rgbBtn->setVisible(rgb);
    }
    if (rgb && !m_context.store.boolValue(kIsSelectedLanguage)) {
        m_context.store.setValue(kIsSelectedLanguage, true);
        m_context.store.sync();
        switchToEnglish();
    }
    buildAuxiliarySetModel();
    publishKeys();
    if (!isViewLoaded()) {
        state.setIsHaveGPT(offersAi(m_keySections));
        return;
    }
    rebuildBlocks();
    if (m_isScrollTop)
        m_scroll->verticalScrollBar()->setValue(0);
    const bool disabled = state.isDisableDevice();
    m_content->setVisible(!disabled);
    m_imageView->setVisible(!disabled);
    m_enterAIBtn->setVisible(!disabled && state.isHaveGPT());
}

void MouseSettingViewController::configTitle()
{
    m_rgbLabel->setText(hrvAppLocalizedString(QStringLiteral("RGB")));
    m_enterAIBtn->setTitle(hrvAppLocalizedString(QStringLiteral("进入AI智能创作")));
    m_auxiliarySetModel->setName(hrvAppLocalizedString(QStringLiteral("辅助设置")));
    // The rows' titles live in the block they were built into; its views, subscribed
    // after this page, read them again right after.
    QList<KeySettingModel> &rows = m_auxiliarySetModel->childs();
    for (qsizetype i = 0; i < rows.size() && i < m_auxiliaryTitleKeys.size(); ++i)
        rows[i].setName(hrvAppLocalizedString(m_auxiliaryTitleKeys.at(i)));
    measurePopUpLeft();
    m_resetBtn->setTitle(hrvAppLocalizedString(QStringLiteral("重置按键功能")));
    layoutControls();
    m_profile->showProductImage();
}

void MouseSettingViewController::adoptProfileKeys()
{
    m_product = std::make_shared<const MouseModelSettingModel>(m_profile->mouseModelSettingModel());
    m_keySections.clear();
    for (const MouseSettingModel &section : m_profile->mouseSettingArr())
        m_keySections.push_back(std::make_shared<MouseSettingModel>(section));
}

// The DPI and report-rate rows, from the device's state now. A fresh block each time:
// rows of the last one may still hold it.
void MouseSettingViewController::buildAuxiliarySetModel()
{
    const QXUserInfoData &state = m_context.state;
    auto aux = std::make_shared<MouseSettingModel>(MouseSettingModel::createMouseAuxiliarySetModel());
    aux->setName(hrvAppLocalizedString(QStringLiteral("辅助设置")));
    m_auxiliaryTitleKeys.clear();
    if (state.productCode() != QLatin1String("201") && !state.isHideDPI()) {
        const qint64 dpi = state.mouseInfoItem().dpi();
        m_auxiliaryTitleKeys << QStringLiteral("DPI");
        aux->childs().append(auxiliaryRow(hrvAppLocalizedString(m_auxiliaryTitleKeys.last()),
                                          QStringLiteral("Action_IT"), state.getMouseDpiArray(),
                                          [dpi](qsizetype i, const QString &) { return i == dpi; }));
    }
    if (!state.reportRateArr().isEmpty() && !m_context.receiver.hasFixedReportRate()) {
        const qint64 rate = state.reportRate();
        m_auxiliaryTitleKeys << QStringLiteral("ReportRate");
        aux->childs().append(
            auxiliaryRow(hrvAppLocalizedString(m_auxiliaryTitleKeys.last()), QStringLiteral("Action_ReportRate"),
                         state.reportRateArr(),
                         [rate](qsizetype, const QString &text) { return qx::leadingInteger(text) == rate; }));
    }
    m_auxiliarySetModel = aux;
}

// What the key press handling reads: the sections with the user's choices.
void MouseSettingViewController::publishKeys()
{
    m_context.state.setMouseSettingArr(mouseSettingArr());
}

void MouseSettingViewController::measurePopUpLeft()
{
    QStringList titles;
    for (const auto &section : m_keySections)
        for (const KeySettingModel &press : section->childs())
            titles << press.name();
    for (const KeySettingModel &press : m_auxiliarySetModel->childs())
        titles << press.name();
    if (!m_popUpLeft)
        m_popUpLeft = std::make_shared<int>();
    *m_popUpLeft = KeySettingSubView::popUpLeftFor(titles);
}

void MouseSettingViewController::rebuildBlocks()
{
    for (KeySettingView *view : std::as_const(m_keyViews))
        retire(view, m_context.notifications);
    m_keyViews.clear();

    std::vector<std::shared_ptr<MouseSettingModel>> sections = m_keySections;
    if (!m_auxiliarySetModel->childs().isEmpty())
        sections.push_back(m_auxiliarySetModel);
    QPointer<MouseSettingViewController> self(this);
    measurePopUpLeft();
    const KeyRowEnvironment env{m_context, m_product, QPointer<QWidget>(m_root),
                                [self] {
                                    if (self)
                                        self->publishKeys();
                                },
                                m_popUpLeft};
    const bool hidden = m_context.state.productCode().toInt() == 260 && !m_context.state.funcSwitch();
    // The list's own width: its scroller, when shown, lies over the free strip.
    const int width = std::max(0, m_scroll->width() - kFreeStrip);
    int offset = 0;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        auto *view = new KeySettingView(env, m_content);
        const bool auxiliary = sections[i] == m_auxiliarySetModel;
        view->setObjectName(auxiliary ? QStringLiteral("auxBlock") : QStringLiteral("keyBlock%1").arg(i));
        view->setModel(sections[i]);
        // A language change may grow or shrink a block's rows: the blocks below follow.
        connect(view, &KeySettingView::viewHeightChanged, this, &MouseSettingViewController::layoutControls);
        view->setGeometry(0, offset, width, view->viewHeight());
        view->setVisible(!hidden); // the space stays taken
        m_keyViews.append(view);
        offset += view->viewHeight() + kBlockGap;
    }
    m_content->resize(m_scroll->width(), std::max(m_scroll->height(), offset));
}

void MouseSettingViewController::layoutControls()
{
    if (!m_root)
        return;
    const int w = m_root->width(), h = m_root->height();
    m_scroll->setGeometry(kInsetX, kInsetTop, std::max(0, w - 2 * kInsetX), std::max(0, h - kInsetTop));
    const int contentWidth = m_scroll->width();
    int offset = 0;
    for (KeySettingView *view : std::as_const(m_keyViews)) {
        view->setGeometry(0, offset, std::max(0, contentWidth - kFreeStrip), view->viewHeight());
        offset += view->viewHeight() + kBlockGap;
    }
    m_content->resize(contentWidth, std::max(m_scroll->height(), offset));

    const QRect image = productImageFrame(w);
    const bool resized = image.size() != m_imageView->size();
    m_imageView->setGeometry(image);
    if (resized)
        showProductImage();
    for (QXButton *b : {m_enterAIBtn, m_resetBtn}) {
        const int bw = std::max(140, b->sizeHint().width() + 30);
        const int y = b == m_enterAIBtn ? image.top() - 20 - 30 : image.bottom() + 1 + 20;
        b->setGeometry(image.center().x() + 1 - bw / 2, y, bw, 30);
    }
    const QRect permission(w - 20 - 30, 20, 30, 30);
    m_permissionBtn->setGeometry(permission);
    const QRect refresh(permission.left() - 20 - 30, 20, 30, 30);
    m_refreshBtn->setGeometry(refresh);
    const QRect rgb(refresh.left() - 20 - 39, refresh.center().y() + 1 - 29 / 2, 39, 29);
    m_rgbBtn->setGeometry(rgb);
    const int labelWidth = m_rgbLabel->fontMetrics().horizontalAdvance(m_rgbLabel->text()) + 4;
    m_rgbLabel->setGeometry(rgb.left() - 5 - labelWidth, rgb.center().y() + 1 - 10, labelWidth, 20);
}

QRect MouseSettingViewController::productImageFrame(int pageWidth)
{
    const int listWidth = std::max(0, pageWidth - 2 * kInsetX);
    const int rowsRight = kInsetX + std::max(0, listWidth - kFreeStrip);
    const int left = std::max(rowsRight + kImageGap, pageWidth - kImageRight - kImageSize);
    const int side = std::clamp(pageWidth - kImageRight - left, 0, kImageSize);
    return {left, kImageTop, side, side};
}

void MouseSettingViewController::hadUSBInfoNotification()
{
    m_isScrollTop = true;
    m_profile->getCustomerKey();
    m_context.firmware.checkOTAInfo();
    m_context.firmware.checkDongleOTAInfo();
    if (m_context.state.productCode() == QLatin1String("114") && !m_context.store.boolValue(kIsManualSelect114))
        switchToEnglish();
    if (isViewLoaded()) {
        const bool rgb = showsRgb();
        m_rgbLabel->setVisible(rgb);
        m_rgbBtn->setVisible(rgb);
    }
}

void MouseSettingViewController::updateCustomerKey()
{
    m_isScrollTop = false;
    m_profile->getCustomerKey();
}

void MouseSettingViewController::updateLightingEffects()
{
    m_lightingReported = true;
    if (!isViewLoaded())
        return;
    rowswitch::showSwitch(m_rgbBtn, m_context.state.rgbSwitch());
}

void MouseSettingViewController::rgbBtnClicked()
{
    const bool on = m_rgbBtn->isChecked();
    rowswitch::showSwitch(m_rgbBtn, on);
    m_context.state.setRgbSwitch(on);
    if (on)
        m_context.hidCommands.sendOpenRGBData();
    else
        m_context.hidCommands.sendCloseRGBData();
}

void MouseSettingViewController::refreshBtnClicked()
{
    m_context.aiWindow.clearAllWebsiteData();
    m_profile->getCustomerKey();
    m_context.aiWindow.refresh();
}

void MouseSettingViewController::permissionBtnClicked()
{
    m_context.permissionsWindow.showPermissions();
}

void MouseSettingViewController::enterAIBtnClicked()
{
    m_context.aiWindow.showInWindow();
}

// The server forgets the user's mappings; the cached profile goes with them and this
// page's own observer fetches the product's defaults.
void MouseSettingViewController::resetKeyFunctionBtnClicked()
{
    auto scene = std::make_shared<QXResetCustomerKeyScene>();
    scene->sn = m_context.state.mouseInfoItem().sn();
    scene->userModelId = m_product->modelId().value_or(QString());
    KeyValueStore *store = &m_context.store;
    NotificationCenter *center = &m_context.notifications;
    m_context.api.httpRequestWithScene(scene, [store, center](bool success, const QJsonValue &, const QXNetError &e) {
        if (!success) {
            qxInfo("keys") << "key mappings not reset:" << e.message;
            return;
        }
        const QXGetCustomerKeyScene current;
        store->setValue(DeviceProfileController::cacheKey(current.productCode, current.sn), QString());
        store->sync();
        center->post(QString::fromLatin1(qx::notify::kUpdateMouseSettingNotification));
    });
}

void MouseSettingViewController::showProductImage()
{
    if (!isViewLoaded())
        return;
    const QImage &image = m_profile->productImage();
    const QSize room = m_imageView->size();
    m_imageView->setPixmap(image.isNull() || room.isEmpty()
                               ? QPixmap()
                               : QPixmap::fromImage(image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}
