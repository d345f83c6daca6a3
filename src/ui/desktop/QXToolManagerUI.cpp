#include "QXToolManagerUI.h"

#include "HRVLocalizedString.h"
#include "InstalledInstance.h"
#include "KeyValueStore.h"
#include "MainThread.h"
#include "PZLog.h"
#include "TargetRecords.h"
#include "services/IAppShell.h"

#include <QCursor>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QUrl>

#include <array>

namespace {

// Large enough to never constrain a text; small enough for Qt's integer layout.
constexpr double kUnbounded = 1.0e7;

struct UsageEntry {
    char16_t ch;
    int num;
};

// Usage ids of the USB HID keyboard page: what the mouse sends when it types a key.
constexpr std::array<UsageEntry, 40> kUsageTable = {{
    {u'a', 4},  {u'b', 5},  {u'c', 6},  {u'd', 7},  {u'e', 8},  {u'f', 9},  {u'g', 10}, {u'h', 11},
    {u'i', 12}, {u'j', 13}, {u'k', 14}, {u'l', 15}, {u'm', 16}, {u'n', 17}, {u'o', 18}, {u'p', 19},
    {u'q', 20}, {u'r', 21}, {u's', 22}, {u't', 23}, {u'u', 24}, {u'v', 25}, {u'w', 26}, {u'x', 27},
    {u'y', 28}, {u'z', 29}, {u'1', 30}, {u'2', 31}, {u'3', 32}, {u'4', 33}, {u'5', 34}, {u'6', 35},
    {u'7', 36}, {u'8', 37}, {u'9', 38}, {u'0', 39}, {u'/', 56}, {u':', 51}, {u'.', 55}, {u'-', 45},
}};

} // namespace

QPointF screenPointUnderMouse(const QPoint &cursor, const QList<QRect> &screens)
{
    for (const QRect &screen : screens) {
        if (screen.contains(cursor))
            return QPointF(cursor.x() - screen.x(), screen.y() + screen.height() - cursor.y());
    }
    return {};
}

QPointF QXScreenUnderMouse()
{
    QList<QRect> geometries;
    for (const QScreen *screen : QGuiApplication::screens())
        geometries << screen->geometry();
    return screenPointUnderMouse(QCursor::pos(), geometries);
}

QXToolManagerUI::QXToolManagerUI() : QXToolManagerUI(Deps{}) {}

QXToolManagerUI::QXToolManagerUI(Deps deps) : m_deps(std::move(deps))
{
    if (!m_deps.localize)
        m_deps.localize = [](const QString &key) { return HRVLocalizedString::hrvAppLocalizedString(key); };
}

QXToolManagerUI &QXToolManagerUI::sharedInstance()
{
    return InstalledInstance<QXToolManagerUI>::get("QXToolManagerUI");
}

QXToolManagerUI *QXToolManagerUI::setSharedInstance(QXToolManagerUI *instance)
{
    return InstalledInstance<QXToolManagerUI>::install(instance);
}

platform::IWorkspace &QXToolManagerUI::workspace() const
{
    return m_deps.workspace ? *m_deps.workspace : *platform::services().workspace;
}

int QXToolManagerUI::keyCodeForString(const QString &name)
{
    const QString lower = name.toLower();
    if (lower.size() != 1)
        return 0;
    for (const UsageEntry &e : kUsageTable)
        if (lower.at(0).unicode() == e.ch)
            return e.num;
    return 0;
}

void QXToolManagerUI::showErrorMsg(const QString &message, const QString &domain)
{
    const QString buttonText = m_deps.localize(QStringLiteral("知道了"));
    // Untitled, the box would be titled with the program's file name.
    const QString title = m_deps.localize(QStringLiteral("Quorvex"));
    IAppShell *shell = m_deps.shell;
    runOnMainThread([message, domain, buttonText, title, shell] {
        QWidget *window = shell ? shell->window() : nullptr;
        auto *box = new QMessageBox(QMessageBox::Information, title, message, QMessageBox::NoButton, window);
        // The detail is often the server's message: shown as it is, never as markup.
        box->setTextFormat(Qt::PlainText);
        box->setInformativeText(domain);
        if (auto *detail = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel")))
            detail->setTextFormat(Qt::PlainText);
        box->addButton(buttonText, QMessageBox::AcceptRole);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
        box->open();
    });
}

double QXToolManagerUI::textHeight(const QString &text, double width, const QFont &font)
{
    if (text.isNull())
        return 2.0;
    const QFontMetricsF fm(font);
    return fm.boundingRect(QRectF(0, 0, width, kUnbounded), Qt::TextWordWrap, text).height() + 2.0;
}

double QXToolManagerUI::textWidth(const QString &text, double height, const QFont &font)
{
    if (text.isNull())
        return 2.0;
    const QFontMetricsF fm(font);
    return fm.boundingRect(QRectF(0, 0, kUnbounded, height), Qt::TextSingleLine, text).width() + 2.0;
}

bool QXToolManagerUI::openFileWithPath(const QString &target)
{
    const std::optional<QString> path =
        m_deps.targets ? m_deps.targets->resolve(target) : TargetRecords(defaultStore()).resolve(target);
    if (!path) {
        qxInfo("workspace") << "not opened, not a picked target:" << target;
        return false;
    }
    if (!QFileInfo::exists(*path)) {
        writeLog(QStringLiteral("打开失败，文件不存在：%1").arg(*path));
        return false;
    }
    return workspace().openUrl(QUrl::fromLocalFile(*path));
}

QUrl QXToolManagerUI::browserUrlForCmdString(const QString &text)
{
    QString address = text.trimmed();
    if (address.isEmpty())
        return {};
    static const QRegularExpression schemePrefix(QStringLiteral("^[A-Za-z][A-Za-z0-9+.\\-]*://"));
    if (!schemePrefix.match(address).hasMatch())
        address.prepend(QStringLiteral("http://"));
    // Tolerant parsing percent-encodes spaces and non-ASCII text of a search query.
    const QUrl url(address, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    // Only web addresses: other schemes would start arbitrary handlers.
    if (!url.isValid() || (scheme != "http" && scheme != "https") || url.host().isEmpty())
        return {};
    return url;
}

bool QXToolManagerUI::openBrowserWithCmdString(const QString &text)
{
    const QUrl url = browserUrlForCmdString(text);
    if (!url.isValid()) {
        qxWarning("workspace") << "not a web address, not opened:" << text;
        return false;
    }
    return workspace().openUrl(url);
}
