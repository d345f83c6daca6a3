// The kit's buttons: plain and pressed buttons, the segmented control and the
// drop-down button, closed and open.
#include "SceneBoard.h"
#include "SceneWorld.h"

#include "controls/QXButton.h"
#include "controls/QXPopUpButton.h"
#include "controls/QXSegmentedControl.h"
#include "drawing/KitAppearance.h"

#include <QCoreApplication>
#include <QMouseEvent>

namespace {
QXButton *pageButton(const QString &title)
{
    auto *button = new QXButton(title);
    button->setFont(qxSystemFont(14));
    button->setTitleColor(Qt::white);
    button->setLayerBackgroundColor(qxAccentColor());
    button->setLayerCornerRadius(4);
    button->setHighlightBackGroundColor(qxAccentColor().darker(140));
    button->setHighlightTitleColor(QColor(220, 240, 245));
    button->setFixedSize(120, 34);
    return button;
}

QXPopUpButton *dropDown(const QStringList &items, int selected)
{
    auto *popUp = new QXPopUpButton;
    popUp->setItemsArr(items);
    popUp->setSelectIndex(selected);
    popUp->setFixedSize(200, 34);
    return popUp;
}

QWidget *build(SceneWorld &world)
{
    auto *board = new SceneBoard(QStringLiteral("Buttons"));

    auto *normal = pageButton(QStringLiteral("Save"));
    auto *pressed = pageButton(QStringLiteral("Save"));
    board->addGroup(QStringLiteral("QXButton, normal and pressed"), {normal, pressed});
    world.afterShow([pressed] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(60, 17), pressed->mapToGlobal(QPointF(60, 17)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(pressed, &press);
    });

    auto *segments = new QXSegmentedControl;
    segments->setFixedSize(300, 32);
    segments->setTitleArr({QStringLiteral("Typing"), QStringLiteral("Translate"), QStringLiteral("Search")});
    segments->setSelectIndex(world.intOption(QStringLiteral("segment")));
    board->add(QStringLiteral("QXSegmentedControl, three segments"), segments);

    const QStringList languages{QStringLiteral("English"), QStringLiteral("Deutsch"), QStringLiteral("Français"),
                                QStringLiteral("Español")};
    board->add(QStringLiteral("QXPopUpButton, closed"), dropDown(languages, 0));
    auto *open = dropDown(languages, world.intOption(QStringLiteral("checked")));
    board->add(QStringLiteral("QXPopUpButton, open"), open);
    // Room under the open button for its menu.
    auto *spacer = new QWidget;
    spacer->setFixedHeight(120);
    board->add(QString(), spacer);
    world.afterShow([open] { open->click(); });
    return board;
}

const SceneRegistrar
    reg({QStringLiteral("kit-buttons"),
         QStringLiteral("normal and pressed buttons, segmented control, drop-down closed and open"),
         {{QStringLiteral("segment"), QStringLiteral("1"), QStringLiteral("selected segment")},
          {QStringLiteral("checked"), QStringLiteral("2"), QStringLiteral("checked entry of the open drop-down")}},
         build});
} // namespace
