#include "AccountFormKit.h"

#include "HRVLocalizedString.h"
#include "PageContext.h"
#include "PagePorts.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "views/QXBaseView.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace accountform {

namespace {
const QColor kDarkText(38, 12, 12);
constexpr QSize kActionSize(85, 31);
// Beside a title that needed more than the built width: clear of the rounded corners.
constexpr int kActionPadding = 10;
} // namespace

QString loc(const char *key)
{
    return hrvAppLocalizedString(QString::fromUtf8(key));
}

QXButton *makeBackButton(QWidget *parent)
{
    auto *button = new QXButton(parent);
    button->setGeometry(25, 20, 60, 40);
    button->setTitleColor(qxAccentColor());
    button->setFont(qxSystemFont(12));
    return button;
}

QXButton *makeActionButton(QWidget *parent, bool outlined)
{
    auto *button = new QXButton(parent);
    button->resize(kActionSize);
    button->setFont(qxSystemFont(14));
    button->setLayerCornerRadius(4);
    if (outlined) {
        button->setLayerBackgroundColor(Qt::white);
        button->setLayerBorder(qxAccentColor(), 1);
        button->setTitleColor(kDarkText);
    } else {
        button->setLayerBackgroundColor(qxAccentColor());
        button->setTitleColor(Qt::white);
    }
    return button;
}

void fitActionButton(QXButton *button, int centreX, int maxWidth)
{
    const qreal title = QFontMetricsF(button->font()).horizontalAdvance(button->title());
    const int width = std::clamp(int(std::ceil(title)) + 2 * kActionPadding, kActionSize.width(),
                                 std::max(kActionSize.width(), maxWidth));
    button->setGeometry(centreX - width / 2, button->y(), width, button->height());
}

QXButton *makeFillButton(QWidget *parent, qreal fontPx, const QColor &fill, qreal radius)
{
    auto *button = new QXButton(parent);
    button->setFont(qxSystemFont(fontPx));
    button->setTitleColor(Qt::white);
    button->setLayerBackgroundColor(fill);
    button->setLayerCornerRadius(radius);
    LayerStyle style = button->layerStyle();
    style.borderWidth = 0;
    button->setLayerStyle(style);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QXLabel *makeLabel(QWidget *parent, const QFont &font, const QColor &color)
{
    auto *label = new QXLabel(parent);
    label->setFont(font);
    label->setTextColor(color);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QWidget *makeUnderline(QWidget *parent)
{
    auto *line = new QXBaseView(parent);
    line->setLayerBackgroundColor(kFieldGrey);
    return line;
}

QXButton *makeCheckBox(QWidget *parent)
{
    auto *box = new QXButton(parent);
    box->setCheckable(true);
    box->resize(16, 16);
    setCheckBoxImage(box);
    return box;
}

void setCheckBoxImage(QXButton *box)
{
    box->setImage(
        namedPixmap(box->isChecked() ? QStringLiteral("6_checkbox_sel_icon") : QStringLiteral("6_checkbox_nor_icon")));
}

void sendScene(const PageContext &context, std::shared_ptr<QXNetBaseScene> scene, QXSceneCallback callback)
{
    context.api.httpRequestWithScene(std::move(scene), std::move(callback));
}

} // namespace accountform
