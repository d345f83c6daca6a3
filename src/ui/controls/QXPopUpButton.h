#pragma once

#include "drawing/LayerStyle.h"

#include <QAbstractButton>
#include <QList>
#include <QStringList>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QXLabel;

// The drop-down choice of the settings pages: a flat button showing the chosen
// entry and an arrow, that opens a menu of all entries 5 px under itself with the
// chosen one checked. A user's choice is reported by index (also when the same entry
// is chosen again); setting the choice or the entries from code never reports.
class QXPopUpButton : public QAbstractButton {
    Q_OBJECT
public:
    enum ImageAlignment { ArrowAtRightEdge = 0, ArrowAfterText = 1 };

    explicit QXPopUpButton(QWidget *parent = nullptr);

    QStringList itemsArr() const { return m_items; }
    // Rebuilds the menu, then shows the current index again (no report).
    void setItemsArr(const QStringList &items);

    // May lie outside the entries (then nothing is checked and the label is kept).
    int selectIndex() const { return m_selectIndex; }
    void setSelectIndex(int index) { showSelectIndex(index, false); }
    void setSelectBlock(std::function<void(int)> block) { m_selectBlock = std::move(block); }

    QString upImageName() const { return m_upImageName; }
    QString downImageName() const { return m_downImageName; }
    // Each puts its image into the arrow at once: set the up image first.
    void setUpImageName(const QString &name);
    void setDownImageName(const QString &name);

    unsigned imageAlignment() const { return m_imageAlignment; }
    // 0 arrow at the right edge; 1 arrow 5 px after the centred text. Other values
    // are kept and change nothing.
    void setImageAlignment(unsigned alignment);

    void setTextAlignment(Qt::Alignment alignment);
    void setTextColor(const QColor &color);
    void setStringValue(const QString &text);
    QString stringValue() const;
    void setHiddenImageView(bool hidden);
    void setBgColor(const QColor &color);

    const LayerStyle &layerStyle() const { return m_layer; }
    void setLayerStyle(const LayerStyle &style);

    QXLabel *titleLabel() const { return m_titleLabel; }
    QLabel *imageView() const { return m_imageView; }
    QMenu *myMenu() const { return m_menu; }
    const QList<QAction *> &allMenuItem() const { return m_menuItems; }
    // The name of the image the arrow shows now.
    QString shownImageName() const { return m_shownImage; }

    QSize sizeHint() const override;
    // The width at which `entry` shows whole as the title, beside the inset and the
    // arrow of the button's layout.
    int widthShowingWhole(const QString &entry) const;

signals:
    // A user's choice.
    void selected(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showMenu();
    void selectItem(int index);
    void showSelectIndex(int index, bool isCallback);
    void showImage(const QString &name);
    void layoutSubviews();

    QStringList m_items;
    int m_selectIndex = 0;
    std::function<void(int)> m_selectBlock;
    QString m_upImageName, m_downImageName, m_shownImage;
    unsigned m_imageAlignment = ArrowAtRightEdge;
    unsigned m_layoutMode = ArrowAtRightEdge; // the last alignment that laid things out
    LayerStyle m_layer;
    QXLabel *m_titleLabel = nullptr;
    QLabel *m_imageView = nullptr;
    QMenu *m_menu = nullptr;
    QList<QAction *> m_menuItems;
};
