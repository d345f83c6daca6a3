#include "QXPopUpButton.h"

#include "QXLabel.h"
#include "desktop/QXToolManagerUI.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "views/LayerMark.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace {
constexpr int kLabelInset = 14;
constexpr int kArrowGap = 5;
constexpr int kMenuGap = 5;

// The chosen entry gets a check mark and the others nothing, as a choice menu
// shows it; the style's check boxes in front of every entry would read as a list
// of independent switches.
class CheckMarkMenuStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element != PE_IndicatorCheckBox || !qobject_cast<const QMenu *>(widget)) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        if (!(option->state & State_On))
            return;
        const QRectF r = QRectF(option->rect).adjusted(2, 2, -2, -2);
        QPainterPath mark;
        mark.moveTo(r.left(), r.top() + r.height() * 0.55);
        mark.lineTo(r.left() + r.width() * 0.4, r.bottom());
        mark.lineTo(r.right(), r.top());
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(option->palette.color(QPalette::Text), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->drawPath(mark);
        painter->restore();
    }
};

// The chosen entry's name, cut short with "…" where the button is too narrow for it
// (a language list from the server may hold long names).
class ElidingLabel final : public QXLabel {
public:
    using QXLabel::QXLabel;

    // The name keeps its size and is cut to the room before the arrow.
    QFont drawnFont() const override { return font(); }
    bool drawsCut() const override
    {
        return !text().isEmpty() && fontMetrics().horizontalAdvance(text()) > textRect().width();
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        if (!drawsCut()) {
            QXLabel::paintEvent(event);
            return;
        }
        const QRectF r = textRect();
        QPainter painter(this);
        if (backgroundColor().isValid() && backgroundColor().alpha() > 0)
            painter.fillRect(rect(), backgroundColor());
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.setFont(font());
        painter.drawText(r, int(alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop,
                         fontMetrics().elidedText(text(), Qt::ElideRight, int(r.width())));
    }
};

QStyle *checkMarkMenuStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new CheckMarkMenuStyle(qxCreateApplicationStyle());
        style->setParent(qApp);
    }
    return style;
}
} // namespace

QXPopUpButton::QXPopUpButton(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    m_layer.cornerRadius = 2;
    m_layer.borderWidth = 1;
    m_layer.borderColor = QColor(0, 0, 0, 51);

    m_titleLabel = new ElidingLabel(this);
    m_titleLabel->setFont(qxSystemFont(12));
    m_titleLabel->setTextColor(qxGreyColor());
    m_titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_imageView = new QLabel(this);
    m_imageView->setAttribute(Qt::WA_TransparentForMouseEvents);
    qxMarkLayer(m_imageView); // the arrow, inside the title's box when it follows the text

    m_menu = new QMenu(this);
    m_menu->setStyle(checkMarkMenuStyle());
    connect(m_menu, &QMenu::aboutToShow, this, [this] { showImage(m_upImageName); });
    connect(m_menu, &QMenu::aboutToHide, this, [this] { showImage(m_downImageName); });

    setUpImageName(QStringLiteral("1_popUpBtn_up"));
    setDownImageName(QStringLiteral("1_popUpBtn_down"));
    connect(this, &QAbstractButton::clicked, this, &QXPopUpButton::showMenu);
}

void QXPopUpButton::setItemsArr(const QStringList &items)
{
    m_items = items;
    m_menu->clear();
    m_menuItems.clear();
    for (int i = 0; i < items.size(); ++i) {
        QAction *action = m_menu->addAction(items.at(i));
        action->setCheckable(true);
        action->setData(i);
        connect(action, &QAction::triggered, this, [this, i] { selectItem(i); });
        m_menuItems.append(action);
    }
    showSelectIndex(m_selectIndex, false);
}

void QXPopUpButton::showMenu()
{
    m_menu->setMinimumWidth(width());
    m_menu->popup(mapToGlobal(QPoint(0, height() + kMenuGap)));
}

void QXPopUpButton::selectItem(int index)
{
    if (index >= 0 && index < m_menuItems.size())
        m_titleLabel->setText(m_menuItems.at(index)->text());
    showSelectIndex(index, true);
}

void QXPopUpButton::showSelectIndex(int index, bool isCallback)
{
    m_selectIndex = index;
    for (int i = 0; i < m_menuItems.size(); ++i) {
        m_menuItems[i]->setChecked(i == index);
        if (i == index)
            m_titleLabel->setText(m_menuItems[i]->text());
    }
    setImageAlignment(m_imageAlignment);
    if (!isCallback)
        return;
    if (m_selectBlock)
        m_selectBlock(index);
    emit selected(index);
}

void QXPopUpButton::setUpImageName(const QString &name)
{
    m_upImageName = name;
    showImage(name);
}

void QXPopUpButton::setDownImageName(const QString &name)
{
    m_downImageName = name;
    showImage(name);
}

void QXPopUpButton::showImage(const QString &name)
{
    m_shownImage = name;
    m_imageView->setPixmap(name.isEmpty() ? QPixmap() : namedPixmap(name));
}

void QXPopUpButton::setImageAlignment(unsigned alignment)
{
    m_imageAlignment = alignment;
    if (alignment == ArrowAtRightEdge || alignment == ArrowAfterText)
        m_layoutMode = alignment;
    layoutSubviews();
}

void QXPopUpButton::layoutSubviews()
{
    const QSize arrow = m_downImageName.isEmpty() ? QSize() : namedImage(m_downImageName).size();
    const int w = width();
    const int h = height();
    if (m_layoutMode == ArrowAtRightEdge) {
        const QRect arrowRect(w - arrow.width(), (h - arrow.height()) / 2, arrow.width(), arrow.height());
        m_imageView->setGeometry(arrowRect);
        m_titleLabel->setGeometry(kLabelInset, 0, qMax(0, arrowRect.left() - kLabelInset), h);
        return;
    }
    m_titleLabel->setGeometry(kLabelInset, 0, qMax(0, w - 2 * kLabelInset), h);
    const double t = QXToolManagerUI::textWidth(m_titleLabel->text(), h, m_titleLabel->font());
    const int x = qRound(w / 2.0 + t / 2 + kArrowGap);
    const QSize shown = m_imageView->pixmap().isNull() ? arrow : m_imageView->pixmap().size();
    m_imageView->setGeometry(x, (h - shown.height()) / 2, shown.width(), shown.height());
}

int QXPopUpButton::widthShowingWhole(const QString &entry) const
{
    // As layoutSubviews places the title: after the inset, before the arrow at the
    // right edge or the same inset again; the label pads its text by 2 on each side.
    const QSize arrow = m_downImageName.isEmpty() ? QSize(0, 0) : namedImage(m_downImageName).size();
    const int besides = kLabelInset + (m_layoutMode == ArrowAtRightEdge ? arrow.width() : kLabelInset) + 2 * 2;
    return m_titleLabel->fontMetrics().horizontalAdvance(entry) + besides;
}

void QXPopUpButton::setTextAlignment(Qt::Alignment alignment)
{
    m_titleLabel->setAlignment(alignment);
}

void QXPopUpButton::setTextColor(const QColor &color)
{
    m_titleLabel->setTextColor(color);
}

void QXPopUpButton::setStringValue(const QString &text)
{
    m_titleLabel->setText(text);
}

QString QXPopUpButton::stringValue() const
{
    return m_titleLabel->text();
}

void QXPopUpButton::setHiddenImageView(bool hidden)
{
    m_imageView->setHidden(hidden);
}

void QXPopUpButton::setBgColor(const QColor &color)
{
    m_imageView->setAutoFillBackground(color.isValid());
    QPalette pal = m_imageView->palette();
    pal.setColor(QPalette::Window, color);
    m_imageView->setPalette(pal);
}

void QXPopUpButton::setLayerStyle(const LayerStyle &style)
{
    m_layer = style;
    update();
}

QSize QXPopUpButton::sizeHint() const
{
    return QSize(120, 34);
}

void QXPopUpButton::resizeEvent(QResizeEvent *event)
{
    QAbstractButton::resizeEvent(event);
    layoutSubviews();
}

void QXPopUpButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_layer.paintBackground(painter, QRectF(rect()));
    m_layer.paintBorder(painter, QRectF(rect()));
}
