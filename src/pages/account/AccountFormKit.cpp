#include "AccountFormKit.h"

#include "HRVLocalizedString.h"
#include "PageContext.h"
#include "PagePorts.h"
#include "controls/QXButton.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"

namespace accountform {

namespace {
const QColor kDarkText(38, 12, 12);
}

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
    button->resize(85, 31);
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
