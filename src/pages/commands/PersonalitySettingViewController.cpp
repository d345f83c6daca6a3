#include "PersonalitySettingViewController.h"

#include "AddHotWordView.h"
#include "CommandWordView.h"
#include "HRVLocalizedString.h"
#include "HotWordView.h"
#include "controls/QXButton.h"
#include "drawing/KitAppearance.h"
#include "services/ICommandModel.h"
#include "views/QXBaseView.h"

#include <QFontMetrics>
#include <QPointer>

namespace {
const QColor kSelectedColor(12, 165, 192);
const QColor kOtherColor(38, 12, 12);

// The page's view: lays the page out again whenever its size changes.
class PersonalityPageView final : public QXBaseView {
public:
    explicit PersonalityPageView(PersonalitySettingViewController *page) : m_page(page) {}

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QXBaseView::resizeEvent(event);
        if (m_page)
            m_page->layoutViews();
    }

private:
    QPointer<PersonalitySettingViewController> m_page;
};
} // namespace

PersonalitySettingViewController::PersonalitySettingViewController(const PageContext &context) : m_context(context) {}

QWidget *PersonalitySettingViewController::loadView()
{
    auto *view = new PersonalityPageView(this);
    view->setObjectName(QStringLiteral("personalitySettingPage"));
    view->setLayerBackgroundColor(Qt::white);
    return view;
}

void PersonalitySettingViewController::viewDidLoad()
{
    QXBaseViewController::viewDidLoad();
    configData();
    configUI();
    configTitle();
}

void PersonalitySettingViewController::configData()
{
    m_context.commands.fetchCommonCommands();
}

void PersonalitySettingViewController::configUI()
{
    m_hotWordView = new QXBaseView(view());
    m_hotWordView->setObjectName(QStringLiteral("hotWordView"));
    m_hotWordView->setLayerBackgroundColor(Qt::white);
    m_addHotWordView =
        new AddHotWordView({m_context.commands, m_context.errorAlert, m_context.notifications}, m_hotWordView);
    m_addHotWordView->setObjectName(QStringLiteral("addHotWordView"));
    m_hotWordListView = new HotWordView(
        {m_context.hotWords, m_context.commands, m_context.errorAlert, m_context.notifications}, m_hotWordView);
    m_hotWordListView->setObjectName(QStringLiteral("hotWordListView"));
    typeBtnClicked(nullptr);
    m_hotWordBtn->hide();
}

QXButton *PersonalitySettingViewController::tabButton(const char *name)
{
    auto *button = new QXButton(view());
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(qxSystemFont(20));
    connect(button, &QXButton::clicked, this, [this, button] { typeBtnClicked(button); });
    return button;
}

void PersonalitySettingViewController::typeBtnClicked(QXButton *sender)
{
    // The first call builds the titles, the command list and the underline.
    if (!m_commandWordBtn) {
        m_commandWordBtn = tabButton("commandWordBtn");
        m_hotWordBtn = tabButton("hotWordBtn");
        m_commandWordView = new CommandWordView({m_context.commands, m_context.commandDialogs, m_context.alerts,
                                                 m_context.errorAlert, m_context.notifications},
                                                view());
        m_commandWordView->setObjectName(QStringLiteral("commandWordView"));
        m_lineImageView = new QXBaseView(view());
        m_lineImageView->setObjectName(QStringLiteral("lineImageView"));
        m_lineImageView->setLayerBackgroundColor(kSelectedColor);
        m_lineImageView->setLayerCornerRadius(2);
        configTitle();
    }
    if (!sender)
        sender = m_commandWordBtn;
    const bool commands = sender == m_commandWordBtn;
    m_commandWordBtn->setTitleColor(commands ? kSelectedColor : kOtherColor);
    m_hotWordBtn->setTitleColor(commands ? kOtherColor : kSelectedColor);
    m_commandWordView->setVisible(commands);
    m_hotWordView->setVisible(!commands);
    m_selected = sender;
    layoutViews();
}

void PersonalitySettingViewController::configTitle()
{
    if (!m_commandWordBtn)
        return;
    m_commandWordBtn->setTitle(hrvAppLocalizedString(QStringLiteral("指令词")));
    m_hotWordBtn->setTitle(hrvAppLocalizedString(QStringLiteral("热词")));
    layoutViews();
}

void PersonalitySettingViewController::placeTitles()
{
    const auto titleWidth = [](QXButton *b) { return QFontMetrics(b->font()).horizontalAdvance(b->title()); };
    m_commandWordBtn->setGeometry(kTitleX, kTitleY, titleWidth(m_commandWordBtn), kTitleHeight);
    m_hotWordBtn->setGeometry(m_commandWordBtn->geometry().right() + 1 + kTitleGap, kTitleY, titleWidth(m_hotWordBtn),
                              kTitleHeight);
    const QRect under = m_selected ? m_selected->geometry() : m_commandWordBtn->geometry();
    m_lineImageView->setGeometry(under.x(), under.bottom() + 1 + kLineGap, under.width(), kLineHeight);
}

void PersonalitySettingViewController::layoutViews()
{
    if (!m_commandWordBtn || !isViewLoaded())
        return;
    placeTitles();
    const QRect page = view()->rect();
    const int top = m_lineImageView->geometry().bottom() + 1;
    const QRect content(0, top, page.width(), std::max(0, page.height() - top));
    m_commandWordView->setGeometry(content);
    m_hotWordView->setGeometry(content);
    const int hotHeight = std::max(0, content.height() - kHotWordTop - kHotWordBottom);
    m_addHotWordView->setGeometry(kHotWordMargin, kHotWordTop, kAddHotWordWidth, hotHeight);
    const int listX = kHotWordMargin + kAddHotWordWidth + kHotWordMargin;
    m_hotWordListView->setGeometry(listX, kHotWordTop, std::max(0, content.width() - kHotWordMargin - listX),
                                   hotHeight);
}
