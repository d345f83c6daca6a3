// Longer translations: the account forms' buttons make room for their titles instead
// of drawing them smaller than the page's own size.
#include "ForgetPasswordView.h"
#include "LoginView.h"
#include "PageWorld.h"
#include "QXLoginView.h"
#include "QXPersonCenterView.h"
#include "controls/QXButton.h"

#include <QLabel>

#include <gtest/gtest.h>

TEST(LookAccountForms, ButtonsWidenForALongerTitleInsteadOfShrinkingIt)
{
    for (const int language : {0, 7, 9, 17}) { // Simplified Chinese, German, French, Bulgarian
        PageWorld world;
        world.data.languages().setUiLanguageIndex(quint64(language));
        ForgetPasswordView reset(world.context());
        LoginView login(world.context());
        QXLoginView panel;
        panel.resize(700, 400);
        for (const auto &[button, centre] : {std::pair{reset.registerBtn(), 325},
                                             {login.loginBtn(), 225},
                                             {login.registerBtn(), 425},
                                             {panel.authCodeBtn(), -1}}) {
            EXPECT_EQ(button->drawnTitleFont(), button->font()) << language << button->title().toStdString();
            if (centre >= 0)
                EXPECT_EQ(language ? centre : 85, language ? button->x() + button->width() / 2 : button->width());
        }
        EXPECT_LT(login.loginBtn()->geometry().right(), login.registerBtn()->x());
        EXPECT_LT(panel.authCodeBtn()->geometry().right(), panel.qrCodeImageView()->parentWidget()->x());
    }
}

// Longer tab titles: the centre's page moves right of the tab column, the login code
// box right of the mode tabs.
TEST(ReadAccountForms, LongTabTitlesStayClearOfWhatFollowsThem)
{
    for (const int language : {0, 5, 9, 15, 16}) { // zh-Hans, Russian, French, Filipino, Malay
        PageWorld world;
        world.data.languages().setUiLanguageIndex(quint64(language));
        QXPersonCenterView centre(world.transferAudioView);
        centre.resize(900, 600);
        centre.show();
        for (const QXButton *tab : centre.btnArray())
            EXPECT_LT(tab->geometry().right(), centre.transferAudioView()->x()) << language;
        QXLoginView panel;
        panel.resize(700, 400);
        panel.show();
        const QRect box = panel.qrCodeImageView()->parentWidget()->geometry();
        EXPECT_LE(panel.passwordBtn()->geometry().right() + 20, box.x()) << language;
        EXPECT_TRUE(language || (centre.transferAudioView()->x() == 140 && box.x() == 460));
    }
}
