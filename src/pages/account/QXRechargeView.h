#pragma once

#include "models/QXGoodsSpecsModel.h"
#include "views/QXBaseView.h"

#include <functional>
#include <optional>

class QXButton;
class QXLabel;
class TileGrid;

// One goods tile of the recharge grid: "$9.9" over "录音包60分钟", its border in the
// accent colour while selected.
class QXRechargeItem : public QXBaseView {
    Q_OBJECT
public:
    explicit QXRechargeItem(QWidget *parent = nullptr);
    void configTitle() override;
    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }
    QXLabel *priceLabel() const { return m_price; }
    QXLabel *infoLabel() const { return m_info; }

private:
    QXLabel *m_price = nullptr;
    QXLabel *m_info = nullptr;
    bool m_selected = false;
};

// The recharge form of the personal centre: nine fixed goods tiles and "取消" / "确定".
// Choosing a tile only moves the highlight; cancel hides the form and tells the owner,
// confirm only tells the owner. Nothing is loaded, bought or sent.
class QXRechargeView : public QXBaseView {
    Q_OBJECT
public:
    static constexpr int kItemCount = 9;

    explicit QXRechargeView(QWidget *parent = nullptr);

    // Titles, the grid made again and its first tile selected.
    void initUIData();
    void configTitle() override;
    void cancelBtnClicked();
    void sureBtnClicked();

    std::function<void()> cancelBlock;
    std::function<void()> sureBlock;

    TileGrid *collectionView() const { return m_grid; }
    QXRechargeItem *item(int index) const;
    int initCount() const { return m_initCount; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void relayout();

    TileGrid *m_grid = nullptr;
    QXButton *m_cancel = nullptr;
    QXButton *m_sure = nullptr;
    int m_initCount = 0;
};

// A row for a list of goods specifications: a radio picture, the name and the price.
// A click anywhere on the row reports its goods, unless they are already the chosen
// ones. No list of the application shows these rows.
class RechargeCellView : public QWidget {
    Q_OBJECT
public:
    explicit RechargeCellView(QWidget *parent = nullptr);

    void setGoodsSpecsModel(const std::optional<QXGoodsSpecsModel> &model);
    void radioBtnClicked();

    std::function<void(const QXGoodsSpecsModel &)> selectedBlock;

    QXButton *radioBtn() const { return m_radio; }
    QXLabel *contentLabel() const { return m_content; }
    QXLabel *priceLabel() const { return m_price; }
    QString radioImageName() const { return m_radioImage; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void relayout();

    std::optional<QXGoodsSpecsModel> m_model;
    QXButton *m_radio = nullptr;
    QXButton *m_cover = nullptr;
    QXLabel *m_content = nullptr;
    QXLabel *m_price = nullptr;
    QString m_radioImage;
};
