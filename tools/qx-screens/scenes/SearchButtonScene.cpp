// The search button after a drag-selection in another application: the real
// selection monitor over fake mouse events, at the pointer where the drag ended.
#include "SceneWorld.h"

#include "FakeNeighbours.h"
#include "FakeSelectionCopier.h"
#include "SelectionCopyMonitor.h"
#include "drawing/KitAppearance.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

const QString kText =
    QStringLiteral("The receiver pairs with the mouse in a few seconds. Hold the voice key and speak: the text appears "
                   "where you type. Select a sentence with the mouse and a small search button appears beside the "
                   "pointer; a click on it translates the selection.");

// The pointer the user released the drag with.
class PointerMark : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath arrow;
        arrow.moveTo(1, 1);
        arrow.lineTo(1, 17);
        arrow.lineTo(5.5, 13);
        arrow.lineTo(9, 20);
        arrow.lineTo(11.5, 19);
        arrow.lineTo(8, 12);
        arrow.lineTo(13.5, 12);
        arrow.closeSubpath();
        p.setPen(QPen(Qt::white, 1.2));
        p.setBrush(Qt::black);
        p.drawPath(arrow);
    }
};

// Everything the monitor stands on, for the life of the scene's window.
struct SearchButtonWorld : QObject {
    FakeClipboard clipboard;
    FakeSelectionCopier copier{clipboard};
    FakeMouseMonitor mouse;
    CallLog log;
    FakeTranslateManager translate{log};
    std::unique_ptr<SelectionCopyMonitor> monitor;
};

QWidget *build(SceneWorld &world)
{
    auto *window = new QWidget;
    window->setFixedSize(560, 170);
    window->setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(window);
    auto *title = new QLabel(QStringLiteral("Text editor (another application)"));
    title->setFont(qxSystemFont(12));
    layout->addWidget(title);
    auto *editor = new QTextEdit;
    editor->setFont(qxSystemFont(15));
    editor->setPlainText(kText);
    layout->addWidget(editor);
    auto *pointer = new PointerMark(window);
    pointer->resize(16, 22);

    auto *w = new SearchButtonWorld;
    w->setParent(window);
    world.state().setWordInputSwitch(true);
    world.state().setMouseIsConnect(true);
    SelectionCopyMonitor::Deps deps{&world.state(), &w->clipboard, &w->copier, &w->mouse, &world.scheduler(),
                                    &w->translate,  nullptr,       nullptr,    {}};
    w->monitor = std::make_unique<SelectionCopyMonitor>(deps);
    w->monitor->start();

    world.afterShow([editor, pointer, w] {
        // Drag over the second sentence, as the user would.
        const int from = int(kText.indexOf(QLatin1String("Hold"))),
                  to = int(kText.indexOf(QLatin1String("Select")) - 1);
        QTextCursor cursor(editor->document());
        cursor.setPosition(from);
        const QPoint start = editor->viewport()->mapToGlobal(editor->cursorRect(cursor).center());
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        const QPoint end = editor->viewport()->mapToGlobal(editor->cursorRect(cursor).bottomRight());
        w->mouse.emitEvent({platform::MouseEventType::LeftMouseDown, start, 0});
        w->mouse.emitEvent({platform::MouseEventType::LeftMouseDragged, end, 0});
        w->copier.select(cursor.selectedText());
        w->mouse.emitEvent({platform::MouseEventType::LeftMouseUp, end, 0});
        pointer->move(pointer->parentWidget()->mapFromGlobal(end));
        pointer->raise();
        pointer->show();
    });
    return window;
}

const SceneRegistrar reg({QStringLiteral("search-button"),
                          QStringLiteral("the search button at the pointer after a drag-selection elsewhere"),
                          {},
                          build});
} // namespace
