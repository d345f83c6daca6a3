#include "QXAuthorityManagementWindowController.h"

#include "AppDisplayName.h"
#include "HRVLocalizedString.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "desktop/WindowPlacement.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "platform/IWorkspace.h"
#include "services/AlertPresenter.h"
#include "views/LayerMark.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

#include <algorithm>

using platform::PermissionKind;
using platform::PermissionRemedy;
using platform::PermissionState;

namespace {

struct PermissionRow {
    const char *title;
    const char *description; // the table key; its inner quotes and backslash are part of it
    const char *helpAnchor;
};

constexpr std::array<PermissionRow, platform::kPermissionKindCount> kRows{{
    {"辅助功能", "需要\"辅助功能\"权限用于语音打字文字输入", "accessibility"},
    {"输入监控", "需要\"输入监控\"权限检测鼠标\\键盘等HID设备连接状态", "input-monitoring"},
    {"屏幕录制", "需要\"屏幕录制\"权限用于使用截图识别文字和翻译", "screen-recording"},
}};

constexpr QSize kWindowSize(520, 400);
constexpr int kRowHeight = 70;
constexpr int kRowPitch = 100;
constexpr int kDescriptionTop = 15 + 16 + 5;
constexpr int kDescriptionHeight = 16;
const QColor kRowColor(240, 240, 240);
const QColor kRowSelectedColor(210, 210, 210);
const QColor kRemedyColor(196, 72, 36);

QString localized(const char *text)
{
    return hrvAppLocalizedString(QString::fromUtf8(text));
}

QString remedyText(PermissionRemedy remedy)
{
    switch (remedy) {
    case PermissionRemedy::None:
        return {};
    case PermissionRemedy::X11Session:
        return localized("需要 X11 会话（不支持原生 Wayland）");
    case PermissionRemedy::XTestExtension:
        return localized("X 服务器缺少 XTEST 扩展");
    case PermissionRemedy::XRecordExtension:
        return localized("X 服务器缺少 RECORD 扩展");
    case PermissionRemedy::UdevRule:
        return localized("请安装 udev 规则 70-quorvex-companion.rules，然后重新插入接收器");
    case PermissionRemedy::ScreenCapture:
        return localized("X 服务器不允许读取屏幕内容");
    }
    return {};
}

const char *stateName(PermissionState state)
{
    switch (state) {
    case PermissionState::Granted:
        return "granted";
    case PermissionState::Denied:
        return "missing";
    case PermissionState::Undetermined:
        return "undetermined";
    }
    return "?";
}

QXLabel *rowLabel(QWidget *parent, const QColor &color, qreal fontSize, const QRect &geometry)
{
    auto *label = new QXLabel(parent);
    label->setTextColor(color);
    label->setFont(qxSystemFont(fontSize));
    label->setGeometry(geometry);
    return label;
}

} // namespace

QXAuthorityManagementWindowController::QXAuthorityManagementWindowController(const Deps &deps, QObject *parent)
    : QObject(parent), m_deps(deps)
{
    Q_ASSERT(m_deps.probe);
}

QXAuthorityManagementWindowController::~QXAuthorityManagementWindowController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    if (m_window) {
        m_window->removeEventFilter(this);
        delete m_window;
    }
}

QString QXAuthorityManagementWindowController::normalizedPermissionText(const QString &text)
{
    if (text.isEmpty())
        return text;
    QString out = text;
    while (out.contains(QLatin1String("\\\\")))
        out.replace(QLatin1String("\\\\"), QLatin1String("\\"));
    out.replace(QLatin1String("\\\""), QLatin1String("\""));
    return out;
}

QString QXAuthorityManagementWindowController::defaultHelpPage()
{
    const QString relative = QStringLiteral("quorvex-companion/help/permissions.html");
    const QString appDir = QCoreApplication::applicationDirPath();
    // Installed under the program's prefix, or beside the program in the build folder.
    for (const QString &candidate :
         {appDir + QStringLiteral("/../share/") + relative, appDir + QStringLiteral("/share/") + relative})
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(candidate);
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation, relative);
}

QXButton *QXAuthorityManagementWindowController::actionButton(int row) const
{
    return row >= 0 && row < int(m_buttons.size()) ? m_buttons[row] : nullptr;
}

QXLabel *QXAuthorityManagementWindowController::remedyLabel(int row) const
{
    return row >= 0 && row < int(m_remedyLabels.size()) ? m_remedyLabels[row] : nullptr;
}

QXLabel *QXAuthorityManagementWindowController::descriptionLabel(int row) const
{
    return row >= 0 && row < int(m_descriptionLabels.size()) ? m_descriptionLabels[row] : nullptr;
}

QWidget *QXAuthorityManagementWindowController::window()
{
    if (!m_window)
        windowDidLoad();
    return m_window;
}

void QXAuthorityManagementWindowController::windowDidLoad()
{
    m_window = new QWidget;
    m_window->setFixedSize(kWindowSize);
    qxFillBackground(m_window, Qt::white);
    m_window->installEventFilter(this);
    // Whoever shows the window may delete it; the next use builds a new one.
    connect(m_window, &QObject::destroyed, this, [this] {
        m_buttons.fill(nullptr);
        m_remedyLabels.fill(nullptr);
        m_descriptionLabels.fill(nullptr);
        m_btnBgViewArr.clear();
        m_tipLabel = nullptr;
        m_permissionsView = nullptr;
        m_instructionsImageView = nullptr;
    });

    m_tipLabel = rowLabel(m_window, QColor(112, 112, 112), 12, QRect(0, 20, kWindowSize.width(), 18));
    m_tipLabel->setAlignment(Qt::AlignCenter);
    m_permissionsView = new QWidget(m_window);
    m_permissionsView->setGeometry(30, 20 + 18 + 30, kWindowSize.width() - 60, 300);
    // Takes no room: the instructions pictures are never seen.
    m_instructionsImageView = new QLabel(m_window);
    m_instructionsImageView->setGeometry(30, 20 + 18 + 30, 0, 260);

    const QString languageChanged = QString::fromLatin1(qx::notify::kUpdateTitleNotification);
    NotificationCenter::defaultCenter().removeObserver(this, languageChanged);
    NotificationCenter::defaultCenter().addObserver(languageChanged, this, [this](const QVariant &) {
        if (m_window)
            initSubViews();
    });
    initSubViews();
}

void QXAuthorityManagementWindowController::initSubViews()
{
    m_window->setWindowTitle(localized("权限管理"));
    m_tipLabel->setText(
        QStringLiteral("%1 %2 %3")
            .arg(localized("请授权"), qxAppDisplayName(), localized("所需要的权限，以使用设备语音功能")));
    m_instructionsImageName = QStringLiteral("quanxian1");

    qDeleteAll(m_permissionsView->findChildren<QWidget *>(Qt::FindDirectChildrenOnly));
    m_btnBgViewArr.clear();
    m_buttons.fill(nullptr);
    m_remedyLabels.fill(nullptr);
    m_descriptionLabels.fill(nullptr);
    for (int row = 0; row < int(kRows.size()); ++row)
        buildRow(row);
    layoutRows();
    for (int row = 0; row < int(kRows.size()); ++row)
        checkRow(row);
}

void QXAuthorityManagementWindowController::buildRow(int row)
{
    const int width = m_permissionsView->width();
    auto *rowView = new QWidget(m_permissionsView);
    rowView->setGeometry(0, kRowPitch * row, width, kRowHeight);
    rowView->show();

    auto *background = new QXButton(rowView);
    background->setTag(row);
    background->setLayerCornerRadius(10);
    background->setLayerBackgroundColor(kRowColor);
    background->setGeometry(0, 0, width, kRowHeight);
    qxMarkLayer(background); // the row's backdrop, under its captions and button
    connect(background, &QXButton::clicked, this, [this, background] { itemClicked(background); });
    m_btnBgViewArr.append(background);

    rowLabel(rowView, QColor(112, 112, 112), 12, QRect(10, 15, width - 100, 16))->setText(localized(kRows[row].title));
    // As wide as the title: the application's name leaves 310 points too few.
    QXLabel *description =
        rowLabel(rowView, QColor(38, 12, 12), 10, QRect(10, kDescriptionTop, width - 100, kDescriptionHeight));
    description->setText(qxAppDisplayName() + normalizedPermissionText(localized(kRows[row].description)));
    m_descriptionLabels[row] = description;
    // Below the action button, so it may take the whole row.
    m_remedyLabels[row] =
        rowLabel(rowView, kRemedyColor, 10, QRect(10, kDescriptionTop + kDescriptionHeight + 1, width - 20, 14));
    m_remedyLabels[row]->hide();

    auto *action = new QXButton(rowView);
    action->setTag(row);
    action->setLayerCornerRadius(5);
    action->setFont(qxSystemFont(10));
    action->setTitleColor(Qt::white);
    action->setLayerBackgroundColor(qxAccentColor());
    action->setTitle(localized("添加"));
    action->setGeometry(width - 20 - 50, (kRowHeight - 25) / 2, 50, 25);
    connect(action, &QXButton::clicked, this, [this, action] { selectAuthorityWithIndex(action->tag()); });
    m_buttons[row] = action;
}

// A description too long for one line at its own size (a longer translation) wraps
// rather than shrinking past reading; every row then grows by the lines it added, so
// the rows stay alike, and the pitch between them leaves room for that.
void QXAuthorityManagementWindowController::layoutRows()
{
    int extra = 0;
    for (QXLabel *description : m_descriptionLabels) {
        description->setWordWrap(false);
        if (description->drawnFont() == description->font())
            continue;
        description->setWordWrap(true);
        const int needed = QFontMetrics(description->font())
                               .boundingRect(QRect(0, 0, int(description->textRect().width()), 1000), Qt::TextWordWrap,
                                             description->text())
                               .height();
        description->resize(description->width(), std::max(kDescriptionHeight, needed));
        extra = std::max(extra, description->height() - kDescriptionHeight);
    }
    const int height = kRowHeight + extra;
    for (int row = 0; row < int(kRows.size()); ++row) {
        QWidget *rowView = m_descriptionLabels[row]->parentWidget();
        rowView->resize(rowView->width(), height);
        m_btnBgViewArr[row]->resize(rowView->width(), height);
        m_buttons[row]->move(m_buttons[row]->x(), (height - m_buttons[row]->height()) / 2);
        // Below the button the remedy takes the whole row; a row grown for another row's
        // description moves the button down beside the remedy, which then stops short of it.
        QXLabel *remedy = m_remedyLabels[row];
        const QRect button = m_buttons[row]->geometry();
        const int top = m_descriptionLabels[row]->geometry().bottom() + 1;
        const int right = top > button.bottom() ? rowView->width() - 10 : button.left() - 10;
        remedy->setGeometry(remedy->x(), top, std::max(0, right - remedy->x()), remedy->height());
    }
}

void QXAuthorityManagementWindowController::checkPermission(bool show)
{
    // The checks need no window: it is built only to be shown, or kept up to date once it is.
    m_isAllOpenAuthority = true;
    for (int row = 0; row < int(kRows.size()); ++row)
        checkRow(row);
    if (show && !m_isAllOpenAuthority)
        showWindow();
}

void QXAuthorityManagementWindowController::showWindow()
{
    window();
    if (!m_window->isVisible())
        windowplacement::centreOnPointerScreen(*m_window);
    m_window->show();
    m_window->raise();
    // Window managers that prevent focus stealing may refuse; nothing to retry.
    m_window->activateWindow();
}

void QXAuthorityManagementWindowController::checkRow(int row)
{
    const platform::PermissionCheck result = m_deps.probe->check(PermissionKind(row));
    if (m_logged[row] != int(result.state)) {
        m_logged[row] = int(result.state);
        qxInfo("permissions") << kRows[row].helpAnchor << stateName(result.state) << result.detail;
    }
    QXButton *button = m_buttons[row];
    QXLabel *remedy = m_remedyLabels[row];
    if (!button) {
        if (result.state == PermissionState::Denied)
            m_isAllOpenAuthority = false;
        else if (result.state == PermissionState::Undetermined
                 && PermissionKind(row) == PermissionKind::InputMonitoring)
            m_deps.probe->requestInputMonitoring();
        return;
    }
    switch (result.state) {
    case PermissionState::Granted:
        button->setImage(namedPixmap(QStringLiteral("xuanzhong")));
        button->setLayerBackgroundColor(Qt::transparent);
        button->setTitle(QString());
        button->setToolTip(QString());
        remedy->hide();
        break;
    case PermissionState::Denied: {
        button->setImage(QPixmap());
        button->setLayerBackgroundColor(qxAccentColor());
        button->setTitle(localized("添加"));
        const QString text = remedyText(result.remedy);
        const QString tip = result.detail.isEmpty() ? text : text + u'\n' + result.detail;
        remedy->setText(QFontMetrics(remedy->font()).elidedText(text, Qt::ElideRight, remedy->width()));
        remedy->setToolTip(tip);
        button->setToolTip(tip);
        remedy->setVisible(!text.isEmpty());
        m_isAllOpenAuthority = false;
        break;
    }
    case PermissionState::Undetermined:
        // The row and the flag stay as they are until there is an answer.
        if (PermissionKind(row) == PermissionKind::InputMonitoring)
            m_deps.probe->requestInputMonitoring();
        break;
    }
}

void QXAuthorityManagementWindowController::itemClicked(QXButton *sender)
{
    for (QXButton *background : std::as_const(m_btnBgViewArr))
        background->setLayerBackgroundColor(background == sender ? kRowSelectedColor : kRowColor);
    m_instructionsImageName = QStringLiteral("quanxian%1").arg(sender->tag() + 1);
    m_instructionsImageView->hide();
}

void QXAuthorityManagementWindowController::selectAuthorityWithIndex(int index)
{
    if (index < 0 || index >= int(kRows.size()))
        return;
    if (m_deps.helpPage.isEmpty() || !m_deps.workspace) {
        qxLogOnce(QStringLiteral("permissions:help"), QStringLiteral("the permissions help page is not installed"));
        return;
    }
    QUrl url = QUrl::fromLocalFile(m_deps.helpPage);
    url.setFragment(QString::fromLatin1(kRows[index].helpAnchor));
    if (m_deps.workspace->openUrl(url))
        return;
    qxWarning("permissions") << "the desktop did not open" << url.toString();
    if (m_deps.alerts)
        m_deps.alerts->showAlert(localized("无法打开帮助页面，请在浏览器中打开：%1").arg(url.toString()),
                                 {localized("确定")}, {});
}

bool QXAuthorityManagementWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::WindowActivate)
        checkPermission(false);
    return QObject::eventFilter(watched, event);
}
