#include "ProblemDetectionView.h"

#include "HRVLocalizedString.h"
#include "QXUserInfoData.h"
#include "RowSwitch.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"

namespace {
constexpr int kTitleHeight = 27;
constexpr int kLabelHeight = 22;
constexpr int kSwitchGap = 84;
constexpr const char *kFunctions[] = {"检测麦克风"};
} // namespace

ProblemDetectionView::ProblemDetectionView(const PageContext &context, QWidget *parent)
    : QXBaseView(parent), m_context(context)
{
    configUI();
    configTitle();
}

void ProblemDetectionView::configUI()
{
    m_titleLabel = rowswitch::makeLabel(this, 20);
    for (std::size_t i = 0; i < std::size(kFunctions); ++i)
        m_functionLabels << rowswitch::makeLabel(this, 16);
    m_checkMicBtn = rowswitch::makeSwitch(this, QStringLiteral("checkMicSwitch"));
    connect(m_checkMicBtn, &QXButton::clicked, this, [this] { checkMicBtnClicked(); });
    rowswitch::showSwitch(m_checkMicBtn, m_context.state.checkMicSwitch());
    checkMicBtnClicked();
    resize(width(), viewHeight());
}

void ProblemDetectionView::configTitle()
{
    m_titleLabel->setText(hrvAppLocalizedString(QStringLiteral("问题检测")));
    rowswitch::fitLabel(m_titleLabel, kTitleHeight);
    for (int i = 0; i < m_functionLabels.size(); ++i) {
        QXLabel *label = m_functionLabels[i];
        label->setText(hrvAppLocalizedString(QString::fromUtf8(kFunctions[i])));
        rowswitch::fitLabel(label, kLabelHeight);
        label->move(8, kTitleHeight + 30 + 52 * i);
    }
    const QRect line = functionLabel1()->geometry();
    m_checkMicBtn->move(m_titleLabel->width() + kSwitchGap, line.center().y() - m_checkMicBtn->height() / 2);
}

void ProblemDetectionView::checkMicBtnClicked()
{
    const bool on = m_checkMicBtn->isChecked();
    rowswitch::showSwitch(m_checkMicBtn, on);
    m_context.state.setCheckMicSwitch(on);
}
