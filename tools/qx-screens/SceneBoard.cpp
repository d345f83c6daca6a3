#include "SceneBoard.h"

#include "drawing/KitAppearance.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

SceneBoard::SceneBoard(const QString &title, int width)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setFixedWidth(width);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(24, 20, 24, 24);
    column->setSpacing(16);
    auto *heading = new QLabel(title);
    heading->setFont(qxSystemFont(18, QFont::DemiBold));
    column->addWidget(heading);

    m_grid = new QGridLayout;
    m_grid->setHorizontalSpacing(20);
    m_grid->setVerticalSpacing(14);
    m_grid->setColumnMinimumWidth(0, 230);
    m_grid->setColumnStretch(1, 1);
    column->addLayout(m_grid);
    column->addStretch(1);
}

void SceneBoard::addRow(const QString &caption, QWidget *sample, QSize size)
{
    auto *label = new QLabel(caption);
    label->setFont(qxSystemFont(12));
    label->setWordWrap(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, qxGreyColor());
    label->setPalette(pal);
    if (size.isValid())
        sample->setFixedSize(size);
    const int row = m_grid->rowCount();
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->addWidget(label, row, 0);
    m_grid->addWidget(sample, row, 1, Qt::AlignLeft | Qt::AlignVCenter);
}

QWidget *SceneBoard::addGroup(const QString &caption, const QList<QWidget *> &samples)
{
    auto *group = new QWidget;
    auto *row = new QHBoxLayout(group);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(24);
    for (QWidget *w : samples)
        row->addWidget(w, 0, Qt::AlignVCenter);
    row->addStretch(1);
    addRow(caption, group, {});
    return group;
}
