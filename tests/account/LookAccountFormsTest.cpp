// The account forms in languages longer than Chinese: their buttons make room for a
// longer title instead of drawing it smaller than the page's own size.
#include "ForgetPasswordView.h"
#include "LoginView.h"
#include "PageWorld.h"
#include "QXLoginView.h"
#include "RegisterView.h"
#include "controls/QXButton.h"
#include "controls/QXTextField.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace {
// Simplified Chinese, English, German, French, Filipino, Bulgarian.
constexpr int kLanguages[] = {0, 2, 7, 9, 15, 17};

int centreOf(const QXButton *button)
{
    return button->x() + button->width() / 2;
}
} // namespace

TEST(LookAccountForms, ActionButtonsWidenAboutTheirCentreForALongerTitle)
{
    for (const int language : kLanguages) {
        PageWorld world;
        world.data.languages().setUiLanguageIndex(quint64(language));
        QWidget host;
        host.resize(800, 600);
        auto *reg = new RegisterView(world.context(), &host);
        auto *reset = new ForgetPasswordView(world.context(), &host);
        auto *login = new LoginView(world.context(), &host);
        for (QWidget *form : std::initializer_list<QWidget *>{reg, reset, login})
            form->setGeometry(0, 0, 800, 600);
        const struct {
            const QXButton *button;
            int centre;
        } rows[] = {{reg->registerBtn(), 325},
                    {reset->registerBtn(), 325},
                    {login->loginBtn(), 225},
                    {login->registerBtn(), 425}};
        for (const auto &[button, centre] : rows) {
            SCOPED_TRACE(testing::Message() << language << " " << button->title().toStdString());
            EXPECT_EQ(button->drawnTitleFont(), button->font()) << "drawn smaller in " << button->width();
            EXPECT_NEAR(centreOf(button), centre, 1);
            if (language == 0)
                EXPECT_EQ(button->width(), 85) << "the Chinese forms keep their look";
        }
        EXPECT_LT(login->loginBtn()->geometry().right(), login->registerBtn()->x()) << language;
    }
}

TEST(LookAccountForms, CodeButtonWidensToTheRightShortOfTheCodePicture)
{
    for (const int language : kLanguages) {
        PageWorld world;
        world.data.languages().setUiLanguageIndex(quint64(language));
        QXLoginView panel;
        panel.resize(700, 400);
        panel.initUIData();
        const QXButton *code = panel.authCodeBtn();
        SCOPED_TRACE(testing::Message() << language << " " << code->title().toStdString());
        EXPECT_EQ(code->drawnTitleFont(), code->font());
        EXPECT_EQ(code->x(), panel.phoneNumTextField()->geometry().right() + 1 + 5);
        EXPECT_GE(code->width(), 80);
        EXPECT_LT(code->geometry().right(), panel.qrCodeImageView()->parentWidget()->x());
    }
}
