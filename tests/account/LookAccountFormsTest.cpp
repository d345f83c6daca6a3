// Longer translations: the account forms' buttons make room for their titles instead
// of drawing them smaller than the page's own size.
#include "ForgetPasswordView.h"
#include "LoginView.h"
#include "PageWorld.h"
#include "QXLoginView.h"
#include "QXPersonCenterView.h"
#include "QXRechargeView.h"
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

// Russian, French, Filipino, Malay and Bulgarian tab titles are longer than the Chinese:
// the centre's pages move right of the tab column, the login panel's code box right of
// the mode tabs (and the tabs get smaller only when the box has no margin left).
TEST(ReadAccountForms, LongTabTitlesStayClearOfWhatFollowsThem)
{
    for (const int language : {0, 5, 9, 15, 16, 17}) {
        PageWorld world;
        world.data.languages().setUiLanguageIndex(quint64(language));
        QXPersonCenterView centre(world.transferAudioView);
        centre.resize(900, 600);
        centre.show();
        int tabsRight = 0;
        for (const QXButton *tab : centre.btnArray())
            tabsRight = std::max(tabsRight, tab->geometry().right());
        EXPECT_LT(tabsRight, centre.transferAudioView()->x()) << language;
        EXPECT_LT(tabsRight, centre.rechargeView()->x()) << language;
        EXPECT_TRUE(language || centre.transferAudioView()->x() == 140);

        QXLoginView panel;
        panel.resize(700, 400);
        panel.show();
        const QWidget *box = panel.qrCodeImageView()->parentWidget();
        EXPECT_LE(panel.passwordBtn()->geometry().right() + 20, box->x()) << language;
        EXPECT_LE(box->geometry().right() + 20, panel.width()) << language;
        EXPECT_EQ(panel.passwordBtn()->drawnTitleFont(), panel.passwordBtn()->font()) << language;
        EXPECT_TRUE(language || (box->x() == 460 && panel.passwordBtn()->font().pixelSize() == 15));
    }
}
