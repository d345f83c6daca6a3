#pragma once

#include <QWidget>

class QGridLayout;

// A white sheet with a title and captioned samples, one per row: the layout of the
// kit's scenes, so a scene only makes its samples.
class SceneBoard : public QWidget {
    Q_OBJECT
public:
    explicit SceneBoard(const QString &title, int width = 760);

    // Adds a row: the caption on the left, the sample on the right at its own size
    // (or `size` when given). Returns the sample.
    template <typename W> W *add(const QString &caption, W *sample, QSize size = {})
    {
        addRow(caption, sample, size);
        return sample;
    }
    // A row holding several samples side by side.
    QWidget *addGroup(const QString &caption, const QList<QWidget *> &samples);

private:
    void addRow(const QString &caption, QWidget *sample, QSize size);
    QGridLayout *m_grid = nullptr;
};
