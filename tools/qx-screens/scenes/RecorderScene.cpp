// The shortcut recorder in its row's 222 x 34 box: empty, recording, holding a
// shortcut, and read-only as the command list shows it.
#include "SceneBoard.h"
#include "SceneWorld.h"

#include "FakeGlobalShortcuts.h"
#include "controls/ShortcutRecorder.h"
#include "platform/KeyCodeTable.h"
#include "views/QXBaseView.h"

#include <QCoreApplication>
#include <QMouseEvent>

namespace {
struct Grabs : QObject {
    explicit Grabs(KeyValueStore &store) : binder(store, &shortcuts) {}
    FakeGlobalShortcuts shortcuts;
    platform::ShortcutBinder binder;
};

// The rows' box: a 1 px border in black at 20 %, radius 2; the recorder fills it.
QWidget *boxed(ShortcutRecorder *recorder)
{
    auto *box = new QXBaseView;
    box->setLayerBorder(QColor(0, 0, 0, 51), 1);
    box->setLayerCornerRadius(2);
    box->setFixedSize(222, 34);
    recorder->setParent(box);
    recorder->setGeometry(0, 0, 222, 34);
    return box;
}

QWidget *build(SceneWorld &world)
{
    auto *board = new SceneBoard(QStringLiteral("Shortcut recorder"), 560);
    auto *grabs = new Grabs(world.store());
    grabs->setParent(board);
    platform::ShortcutBinder &binder = grabs->binder;
    const QString key = QStringLiteral("SnipShortcutKey");
    binder.registerDefaults({{key, {1, platform::keys::kFlagAlternate}}});
    binder.setAllowAnyShortcutWithOptionModifier(true);

    auto *empty = new ShortcutRecorder(&binder);
    board->add(QStringLiteral("Empty (the key cleared)"), boxed(empty));
    empty->setAssociatedUserDefaultsKey(QStringLiteral("WordShortcutKey"));
    binder.clearShortcut(QStringLiteral("WordShortcutKey"));

    auto *recording = new ShortcutRecorder(&binder);
    board->add(QStringLiteral("Recording"), boxed(recording));
    world.afterShow([recording] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(40, 17), recording->mapToGlobal(QPointF(40, 17)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(recording, &press);
    });

    auto *set = new ShortcutRecorder(&binder);
    set->setAssociatedUserDefaultsKey(key);
    set->setValue(platform::Shortcut{40, 0x120000});
    board->add(QStringLiteral("Set: Ctrl+Shift+K, with its clear button"), boxed(set));

    auto *fallback = new ShortcutRecorder(&binder);
    fallback->setAssociatedUserDefaultsKey(QStringLiteral("TranslateShortcutKey"));
    binder.registerDefaults({{QStringLiteral("TranslateShortcutKey"), {120, 0}}});
    board->add(QStringLiteral("Nothing stored: the default F2"), boxed(fallback));

    auto *readOnly = new ShortcutRecorder(&binder);
    readOnly->setValue(platform::Shortcut{8, platform::keys::kFlagControl | platform::keys::kFlagCommand});
    readOnly->setReadOnly(true);
    board->add(QStringLiteral("Read-only (command list): stored ⌃⌘C"), boxed(readOnly));
    return board;
}

const SceneRegistrar reg({QStringLiteral("recorder"),
                          QStringLiteral("shortcut recorder: empty, recording, set, default, read-only"),
                          {},
                          build});
} // namespace
