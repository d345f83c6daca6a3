// The kit's text controls: label, input fields, password field, text views and the
// dark table header.
#include "SceneBoard.h"
#include "SceneWorld.h"

#include "controls/QXLabel.h"
#include "controls/QXSecureTextField.h"
#include "controls/QXTableHeaderCell.h"
#include "controls/QXTextField.h"
#include "controls/QXTextView.h"
#include "drawing/KitAppearance.h"
#include "views/QXBaseView.h"

#include <QHBoxLayout>
#include <QStandardItemModel>
#include <QTableView>

namespace {
// Fields have no frame of their own; the pages put them in a bordered box.
template <typename Field> QWidget *boxed(Field *field, int width = 300)
{
    auto *box = new QXBaseView;
    box->setLayerBorder(QColor(0, 0, 0, 51), 1);
    box->setLayerCornerRadius(4);
    box->setFixedSize(width, 34);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(10, 0, 10, 0);
    field->setFixedHeight(30);
    row->addWidget(field);
    return box;
}

QWidget *build(SceneWorld &world)
{
    auto *board = new SceneBoard(QStringLiteral("Text controls"));

    auto *label = new QXLabel(QStringLiteral("Voice input language"));
    label->setFont(qxSystemFont(13));
    label->setTextColor(qxDarkGreyColor());
    board->add(QStringLiteral("QXLabel, 13 px in a 30 px row"), label, QSize(300, 30));

    auto *empty = new QXTextField;
    empty->setPlaceholderText(QStringLiteral("Enter a command word"));
    empty->setFont(qxSystemFont(14));
    board->add(QStringLiteral("QXTextField, empty"), boxed(empty));

    auto *focused = new QXTextField;
    focused->setFont(qxSystemFont(14));
    focused->setText(world.option(QStringLiteral("text")));
    board->add(QStringLiteral("QXTextField, focused: accent caret"), boxed(focused));
    world.afterShow([focused] {
        focused->setFocus(Qt::OtherFocusReason);
        focused->end(false);
    });

    auto *secure = new QXSecureTextField;
    secure->setFont(qxSystemFont(14));
    secure->setText(QStringLiteral("hunter22"));
    board->add(QStringLiteral("QXSecureTextField"), boxed(secure));

    auto *one = new QXTextView;
    one->setMaxWidth(420);
    one->setTextColor(qxDarkGreyColor());
    one->setString(QStringLiteral("Hold the voice key and speak."));
    board->add(QStringLiteral("QXTextView, one line, textH %1").arg(one->textH()), one, QSize(420, int(one->textH())));

    auto *three = new QXTextView;
    three->setMaxWidth(420);
    three->setTextColor(qxDarkGreyColor());
    three->setString(QStringLiteral("Hold the voice key and speak: the text appears where you type. Release it to "
                                    "finish. The translate key puts the translation there instead, and the search "
                                    "key looks the words up."));
    board->add(QStringLiteral("QXTextView, three lines, textH %1").arg(three->textH()), three,
               QSize(420, int(three->textH())));

    auto *model = new QStandardItemModel(2, 3, board);
    model->setHorizontalHeaderLabels(
        {QStringLiteral("Command word"), QStringLiteral("Type"), QStringLiteral("Target")});
    // The header ignores the model's colour: titles are always white.
    model->setHeaderData(0, Qt::Horizontal, QColor(Qt::red), Qt::ForegroundRole);
    const QStringList rows[] = {
        {QStringLiteral("open notes"), QStringLiteral("File"), QStringLiteral("~/notes.txt")},
        {QStringLiteral("weather"), QStringLiteral("Website"), QStringLiteral("https://example.org/weather")}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            model->setItem(r, c, new QStandardItem(rows[r][c]));
    auto *table = new QTableView;
    auto *header = new QXTableHeaderCell(Qt::Horizontal, table);
    header->setFont(qxSystemFont(13));
    table->setHorizontalHeader(header);
    table->setModel(model);
    table->verticalHeader()->hide();
    table->setColumnWidth(0, 140);
    table->setColumnWidth(1, 90);
    header->setStretchLastSection(true);
    board->add(QStringLiteral("QXTableHeaderCell"), table, QSize(460, 120));
    return board;
}

const SceneRegistrar
    reg({QStringLiteral("kit-text"),
         QStringLiteral("label, empty and focused fields, password field, text views, table header"),
         {{QStringLiteral("text"), QStringLiteral("Open the notes"), QStringLiteral("text of the focused field")}},
         build});
} // namespace
