#include "QXRechargeView.h"

#include "AccountFormKit.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "views/TileGrid.h"

using accountform::loc;

namespace {
const QColor kTileText(204, 204, 204);
const QColor kRowText(38, 12, 12);
} // namespace

QXRechargeItem::QXRechargeItem(QWidget *parent) : QXBaseView(parent)
{
    setLayerBackgroundColor(Qt::transparent);
    setLayerCornerRadius(5);
    setLayerBorder(accountform::kFieldGrey, 1);
    // The price is fixed; the package's line follows the interface language.
    m_price = accountform::makeLabel(this, qxSystemFont(18, QFont::Bold), kTileText);
    m_price->setAlignment(Qt::AlignCenter);
    m_price->setText(QStringLiteral("$9.9"));
    m_info = accountform::makeLabel(this, qxSystemFont(12), kTileText);
    m_info->setAlignment(Qt::AlignCenter);
    configTitle();
    m_price->setGeometry(0, 10, 120, 18);
    m_info->setGeometry(0, 38, 120, 18);
}

void QXRechargeItem::configTitle()
{
    m_info->setText(loc("录音包60分钟"));
}

void QXRechargeItem::setSelected(bool selected)
{
    m_selected = selected;
    setLayerBorder(selected ? qxAccentColor() : accountform::kFieldGrey, 1);
}

QXRechargeView::QXRechargeView(QWidget *parent) : QXBaseView(parent)
{
    m_grid = new TileGrid(this);
    TileGrid::Metrics metrics;
    metrics.tileSize = {120, 70};
    metrics.verticalSpacing = 20;
    metrics.horizontalMargin = 45;
    metrics.insets = QMargins(0, 20, 100, 0);
    m_grid->setMetrics(metrics);
    QPalette ground = m_grid->palette();
    ground.setColor(QPalette::Window, QColor(28, 28, 29));
    m_grid->viewport()->setPalette(ground);
    m_grid->viewport()->setAutoFillBackground(true);
    m_grid->setSource(
        {[] { return kItemCount; }, [](QWidget *parent) { return new QXRechargeItem(parent); },
         [](QWidget *tile, bool selected) { static_cast<QXRechargeItem *>(tile)->setSelected(selected); }});
    m_cancel = accountform::makeFillButton(this, 10, QColor(17, 17, 18), 10);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_sure = accountform::makeFillButton(this, 10, QColor(17, 17, 18), 10);
    m_sure->setObjectName(QStringLiteral("sure"));
    connect(m_cancel, &QXButton::clicked, this, &QXRechargeView::cancelBtnClicked);
    connect(m_sure, &QXButton::clicked, this, &QXRechargeView::sureBtnClicked);
    initUIData();
}

void QXRechargeView::initUIData()
{
    ++m_initCount;
    configTitle();
    m_grid->reloadData();
    m_grid->selectItem(0);
}

void QXRechargeView::configTitle()
{
    m_cancel->setTitle(loc("取消"));
    m_sure->setTitle(loc("确定"));
}

QXRechargeItem *QXRechargeView::item(int index) const
{
    return static_cast<QXRechargeItem *>(m_grid->tile(index));
}

void QXRechargeView::relayout()
{
    const int w = width(), h = height();
    m_grid->setGeometry(0, 0, w, std::max(0, h - 50));
    const int top = m_grid->geometry().bottom() + 1 + 20;
    m_cancel->setGeometry(w / 2 - 50 - 35, top, 70, 20);
    m_sure->setGeometry(w / 2 + 50 - 35, top, 70, 20);
}

void QXRechargeView::resizeEvent(QResizeEvent *event)
{
    QXBaseView::resizeEvent(event);
    relayout();
}

void QXRechargeView::cancelBtnClicked()
{
    hide();
    if (cancelBlock)
        cancelBlock();
}

void QXRechargeView::sureBtnClicked()
{
    if (sureBlock)
        sureBlock();
}

RechargeCellView::RechargeCellView(QWidget *parent) : QWidget(parent)
{
    m_radio = new QXButton(this);
    LayerStyle flat = m_radio->layerStyle();
    flat.borderWidth = 0;
    m_radio->setLayerStyle(flat);
    m_radio->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_content = accountform::makeLabel(this, qxSystemFont(16), kRowText);
    m_price = accountform::makeLabel(this, qxSystemFont(16), kRowText);
    // The whole row is the radio button's click target.
    m_cover = new QXButton(this);
    m_cover->setObjectName(QStringLiteral("row"));
    m_cover->setLayerStyle(flat);
    m_cover->setLayerBackgroundColor(Qt::transparent);
    connect(m_cover, &QXButton::clicked, this, &RechargeCellView::radioBtnClicked);
    setGoodsSpecsModel(std::nullopt);
}

void RechargeCellView::setGoodsSpecsModel(const std::optional<QXGoodsSpecsModel> &model)
{
    m_model = model;
    m_radio->setVisible(bool(model));
    m_content->setVisible(bool(model));
    m_price->setVisible(bool(model));
    if (!model)
        return;
    m_radioImage = model->isSelected ? QStringLiteral("6_radio_sel") : QStringLiteral("6_radio_nor");
    m_radio->setImage(QPixmap::fromImage(namedImage(m_radioImage)));
    m_content->setText(model->name);
    m_price->setText(model->priceShow);
}

void RechargeCellView::radioBtnClicked()
{
    if (m_model && !m_model->isSelected && selectedBlock)
        selectedBlock(*m_model);
}

void RechargeCellView::relayout()
{
    const int w = width(), h = height();
    m_radio->setGeometry(40, (h - 24) / 2, 24, 24);
    m_price->setGeometry(w - 65 - 80, (h - 20) / 2, 80, 20);
    const int contentLeft = m_radio->geometry().right() + 1 + 120;
    m_content->setGeometry(contentLeft, (h - 20) / 2, std::max(0, m_price->x() - 20 - contentLeft), 20);
    m_cover->setGeometry(rect());
    m_cover->raise();
}

void RechargeCellView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}
