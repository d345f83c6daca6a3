// The account input field: its three types, the eye, the clear button, the send
// button and its countdown on virtual time.
#include "ManualScheduler.h"
#include "QXInputView.h"
#include "controls/QXButton.h"
#include "controls/QXSecureTextField.h"
#include "controls/QXTextField.h"

#include <QPointer>
#include <QTest>

#include <climits>

#include <gtest/gtest.h>

namespace {
struct Field {
    ManualScheduler clock;
    QXInputView view{clock};
    explicit Field(quint64 type)
    {
        view.resize(330, 35);
        view.setInputType(type);
    }
    QXButton &button() { return *view.rightBtn(); }
    void click() { QTest::mouseClick(&button(), Qt::LeftButton); }
};
} // namespace

TEST(Acc1InputView, TypesBuildTheirFieldAndButton)
{
    for (const quint64 type : {0, 1, 2}) {
        Field f(type);
        const bool masked = type == 1;
        EXPECT_EQ(f.view.secureTextField()->isHidden(), !masked) << type;
        EXPECT_EQ(f.view.textField()->isHidden(), masked) << type;
        const QRect b = f.button().geometry();
        EXPECT_EQ(b.right() + 1, 330) << type;
        EXPECT_EQ(f.view.textField()->geometry(), QRect(0, 0, b.left(), 34)) << type;
        EXPECT_NEAR(b.center().y(), 17, 1) << type;
        if (type == 2) {
            EXPECT_EQ(f.button().title(), "发送验证码");
            EXPECT_EQ(f.button().titleColor(), QColor(0, 175, 204));
            EXPECT_EQ(b.height(), 24);
            EXPECT_EQ(b.width(), f.button().sizeHint().width());
        } else {
            EXPECT_EQ(b.size(), type == 0 ? QSize(36, 36) : QSize(24, 24));
            EXPECT_FALSE(f.button().image().isNull()) << type;
        }
    }

    // Another number is only stored: nothing is built, a value set before waits.
    for (const quint64 type : {quint64(3), quint64(7), quint64(UINT_MAX)}) {
        ManualScheduler clock;
        QXInputView view(clock);
        view.setStringValue("early");
        view.setInputType(type);
        EXPECT_EQ(view.inputType(), type);
        EXPECT_FALSE(view.hasSubviews());
        EXPECT_TRUE(view.findChildren<QWidget *>().isEmpty());
        EXPECT_EQ(view.stringValue(), "early");
        view.setInputType(1);
        EXPECT_EQ(view.secureTextField()->text(), "early");
        EXPECT_EQ(view.stringValue(), "early");
    }
}

TEST(Acc1InputView, EyeShowsAndMasksTheSameTextAndClearEmpties)
{
    Field f(1);
    QTest::keyClicks(f.view.secureTextField(), "abc");
    EXPECT_EQ(f.view.stringValue(), "abc");
    f.click();
    EXPECT_FALSE(f.view.textField()->isHidden());
    EXPECT_TRUE(f.view.secureTextField()->isHidden());
    EXPECT_EQ(f.view.stringValue(), "abc");
    QTest::keyClicks(f.view.textField(), "d");
    f.view.setStringValue(f.view.stringValue() + "e"); // into the visible field
    f.click();
    EXPECT_TRUE(f.view.textField()->isHidden());
    EXPECT_EQ(f.view.secureTextField()->text(), "abcde");
    EXPECT_EQ(f.view.stringValue(), "abcde");

    Field plain(0);
    plain.view.setStringValue("x");
    plain.click();
    EXPECT_EQ(plain.view.stringValue(), "");
}

TEST(Acc1InputView, SendButtonCallsTheBlockAndTheCountdownRunsSixtySeconds)
{
    Field f(2);
    f.click(); // no block: nothing
    EXPECT_TRUE(f.button().isEnabled());
    EXPECT_FALSE(f.view.isCounting());
    int asked = 0;
    f.view.setGetVerifyCodeBlock([&asked] { ++asked; });
    f.click();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(f.view.isCounting()) << "the form starts the countdown once the code is sent";

    f.view.getVerificationCode();
    EXPECT_FALSE(f.button().isEnabled());
    EXPECT_EQ(f.button().title(), "发送验证码");
    f.clock.advance(1000);
    EXPECT_EQ(f.button().title(), "59s后重新获取");
    EXPECT_EQ(f.button().geometry().width(), f.button().sizeHint().width());
    f.clock.advance(9000);
    f.view.getVerificationCode(); // restarts at 60 with one timer
    EXPECT_EQ(f.clock.pendingCount(), 1);
    f.clock.advance(1000);
    EXPECT_EQ(f.button().title(), "59s后重新获取");
    f.clock.advance(58000);
    EXPECT_EQ(f.button().title(), "1s后重新获取");
    EXPECT_FALSE(f.button().isEnabled());
    f.click(); // disabled while counting
    EXPECT_EQ(asked, 1);
    f.clock.advance(1000);
    EXPECT_TRUE(f.button().isEnabled());
    EXPECT_EQ(f.button().title(), "发送验证码");
    EXPECT_EQ(f.clock.pendingCount(), 0);
}

TEST(Acc1InputView, CountdownOfADeletedFieldDoesNothing)
{
    ManualScheduler clock;
    QPointer<QXInputView> view = new QXInputView(clock);
    view->setInputType(2);
    view->getVerificationCode();
    clock.advance(3000);
    const quint64 fired = clock.firedCount();
    delete view;
    clock.advance(120000);
    EXPECT_EQ(clock.firedCount(), fired);
    EXPECT_EQ(clock.pendingCount(), 0);
}
