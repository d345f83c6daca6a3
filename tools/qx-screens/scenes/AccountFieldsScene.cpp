// The account forms' input field in its three types at the forms' 330 x 35: plain text
// with the clear button, the password masked and shown by the eye, and the
// verification code with its send button idle and counting down.
#include "SceneBoard.h"
#include "SceneWorld.h"

#include "QXInputView.h"
#include "controls/QXButton.h"

namespace {
QXInputView *field(SceneWorld &world, quint64 type, const QString &text)
{
    auto *view = new QXInputView(world.scheduler());
    view->resize(330, 35);
    view->setInputType(type);
    view->setStringValue(text);
    return view;
}

QWidget *build(SceneWorld &world)
{
    auto *board = new SceneBoard(QStringLiteral("Account input fields"), 700);
    board->add(QStringLiteral("Type 0: plain text, clear button"), field(world, 0, world.option("account")),
               QSize(330, 35));
    board->add(QStringLiteral("Type 1: password, masked"), field(world, 1, world.option("password")), QSize(330, 35));
    auto *shown = field(world, 1, world.option("password"));
    shown->rightBtn()->click(); // the eye on
    board->add(QStringLiteral("Type 1: password, shown by the eye"), shown, QSize(330, 35));
    board->add(QStringLiteral("Type 2: verification code, send button"), field(world, 2, QString()), QSize(330, 35));
    auto *counting = field(world, 2, QStringLiteral("4821"));
    counting->getVerificationCode();
    const int elapsed = world.intOption("elapsed");
    world.scheduler().advance(qint64(elapsed) * 1000);
    board->add(QStringLiteral("Type 2: counting down, %1 s after the code was sent").arg(elapsed), counting,
               QSize(330, 35));
    return board;
}

const SceneRegistrar
    reg({QStringLiteral("account-fields"),
         QStringLiteral("account input field: plain, password masked and shown, code send and "
                        "countdown"),
         {{QStringLiteral("account"), QStringLiteral("user@example.org"), QStringLiteral("text of the plain field")},
          {QStringLiteral("password"), QStringLiteral("hunter22"), QStringLiteral("text of the password fields")},
          {QStringLiteral("elapsed"), QStringLiteral("13"), QStringLiteral("seconds of the countdown gone (0-60)")}},
         build});
} // namespace
