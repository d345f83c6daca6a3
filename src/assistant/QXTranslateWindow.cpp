#include "QXTranslateWindow.h"

#include "HRVLocalizedString.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZPasteboard.h"
#include "QXLanguageManager.h"
#include "QXTranslateContentView.h"
#include "QXTranslateView.h"
#include "QXUserInfoData.h"
#include "controls/QXButton.h"
#include "controls/QXPopUpButton.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "popup/PopupGeometry.h"
#include "popup/VoiceArtwork.h"
#include "services/IPopupTips.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
constexpr int kMinHeight = 100;
constexpr int kCloseSide = 40;

// The top-level window: a frameless tool window that never takes the focus, its
// content filling it.
class TranslateFrame : public QWidget {
public:
    TranslateFrame()
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
    }
    std::function<void(QSize)> onResize;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        if (onResize)
            onResize(size());
    }
};
} // namespace

QXTranslateWindow::QXTranslateWindow(Deps deps) : m_deps(std::move(deps))
{
    Q_ASSERT(m_deps.state && m_deps.languages);
}

QXTranslateWindow::~QXTranslateWindow() = default;

QWidget &QXTranslateWindow::window()
{
    if (m_window)
        return *m_window;
    registerVoiceArtwork();
    auto frame = std::make_unique<TranslateFrame>();
    QWidget &w = *frame;
    if (m_deps.translucent) {
        w.setAttribute(Qt::WA_TranslucentBackground);
    } else {
        qxFillBackground(&w, Qt::white);
    }
    QXTranslateContentView::Deps content;
    content.languageNames = [this] { return languageNames(); };
    content.isScreenshotsOCR = m_deps.isScreenshotsOCR;
    content.translucent = m_deps.translucent;
    m_content = new QXTranslateContentView(std::move(content), &w);
    for (QXTranslateView *card : {m_content->fanWordView(), m_content->yiWordView()}) {
        if (m_deps.textMeasure)
            card->setTextMeasure(m_deps.textMeasure);
        card->setCopyBlock([this](const QString &text) { copy(text); });
    }
    m_content->languageBtn()->setSelectBlock([this](int index) { languageChosen(index); });

    auto *close = new QXButton(m_content);
    close->setImage(namedPixmap(QStringLiteral("close_white_icon")));
    close->setFixedSize(kCloseSide, kCloseSide);
    close->setFocusPolicy(Qt::NoFocus);
    QObject::connect(close, &QXButton::clicked, this, [this] { closeBtnClicked(); });
    frame->onResize = [content = m_content, close, frame = frame.get(), shaped = !m_deps.translucent](QSize size) {
        content->setGeometry(QRect(QPoint(0, 0), size));
        // Without a compositor the window's white would fill the card's corners.
        if (shaped)
            frame->setMask(content->cardRegion());
        // Over the header's right end, inside the card's rounded corner.
        close->move(size.width() - kCloseSide - 4, 4);
    };
    m_window = std::move(frame);
    placeWindow();
    return w;
}

QXTranslateContentView &QXTranslateWindow::popContentView()
{
    window();
    return *m_content;
}

QStringList QXTranslateWindow::languageNames() const
{
    return m_deps.state->isScreenshotsTranslate() ? m_deps.languages->readScreenshotsNameList()
                                                  : m_deps.languages->readWordInputNameList();
}

void QXTranslateWindow::showTranslateWindow(const QString &fanText, const QString &yiText)
{
    showInWindow();
    setFanText(fanText);
    setYiText(yiText);
}

void QXTranslateWindow::showInWindow()
{
    QWidget &w = window();
    m_isShow = true;
    QXPopUpButton *button = m_content->languageBtn();
    button->setItemsArr(languageNames());
    const quint64 index =
        m_deps.state->isScreenshotsTranslate() ? m_deps.languages->screenshotsTag() : m_deps.languages->wordInputTag();
    button->setSelectIndex(int(std::min<quint64>(index, quint64(INT_MAX))));
    // Shown and raised, never activated: the focus stays where the user reads.
    w.show();
    w.raise();
}

void QXTranslateWindow::setFanText(const QString &text)
{
    m_fanText = text;
    QXTranslateContentView &content = popContentView();
    // A new source never keeps the translation of the one before (a failed answer
    // would otherwise leave it standing under the wrong text).
    if (text != content.fanText())
        content.setYiText(QString());
    content.setFanText(text);
    placeWindow();
}

void QXTranslateWindow::setYiText(const QString &text)
{
    m_yiText = text;
    if (text.isEmpty())
        return;
    popContentView().setYiText(text);
    placeWindow();
}

void QXTranslateWindow::dismissWindow()
{
    m_isShow = false;
    if (!m_window)
        return;
    m_window->hide();
    m_content->setFanText(QString());
    m_content->setYiText(QString());
}

void QXTranslateWindow::languageChosen(int index)
{
    const quint64 tag = quint64(std::max(index, 0));
    const char *changed = nullptr;
    if (m_deps.state->isScreenshotsTranslate()) {
        m_deps.languages->setScreenshotsTag(tag);
        changed = qx::notify::kUpdateSnipTranslateIndexNotification;
    } else {
        m_deps.languages->setWordInputTag(tag);
        changed = qx::notify::kUpdateHyperTranslateIndexNotification;
    }
    if (m_deps.notifications)
        m_deps.notifications->post(QString::fromLatin1(changed));
    // The translation into the previous language goes before the new one is asked for.
    QXTranslateContentView &content = popContentView();
    content.setYiText(QString());
    placeWindow();
    if (m_deps.translateText)
        m_deps.translateText(content.fanText());
}

void QXTranslateWindow::copy(const QString &text)
{
    if (pz_generalPasteboardSetString(text, m_deps.clipboard) && m_deps.tips)
        m_deps.tips->showTipMessage(hrvAppLocalizedString(QStringLiteral("复制成功")), QStringLiteral("success_icon"));
}

void QXTranslateWindow::placeWindow()
{
    if (!m_window)
        return;
    QRect screen;
    if (m_deps.screen) {
        screen = m_deps.screen();
    } else if (const QScreen *primary = QGuiApplication::primaryScreen()) {
        screen = primary->geometry();
    }
    const double wanted = m_content->viewHeight();
    const int height = std::isfinite(wanted) ? std::max(kMinHeight, int(std::ceil(wanted))) : kMinHeight;
    m_window->setGeometry(popupgeometry::popupFrame(screen, height));
}

QRect QXTranslateWindow::frameGeometry() const
{
    return m_window ? m_window->frameGeometry() : QRect();
}
