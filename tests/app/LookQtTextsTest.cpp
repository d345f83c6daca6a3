// Qt's own texts (standard buttons, file dialogs) follow the interface language the
// user picks, from the root, at launch and on every switch.
#include "AppWorld.h"

#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "QXLanguageManager.h"
#include "desktop/QtOwnTexts.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPushButton>

namespace {

class LookQtTexts : public AppTest {};

QString cancelText()
{
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    return box.button(QDialogButtonBox::Cancel)->text();
}

TEST_F(LookQtTexts, StandardButtonsFollowEachSwitchOfTheInterfaceLanguage)
{
    AppWorld world;
    CompanionApp app(world.options());
    QXLanguageManager &languages = QXLanguageManager::sharedInstance();
    const struct {
        quint64 index;
        const char *cancel; // what Qt's catalogue calls the button; "&" marks the mnemonic
    } cases[] = {
        {7, "&Abbrechen"}, {0, "取消"},     {2, "&Cancel"},  {5, "&Отмена"},
        {1, "取消"},       {14, "&Cancel"}, {9, "&Annuler"}, {6, "ألغِ"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.index);
        languages.setUiLanguageIndex(c.index);
        NotificationCenter::defaultCenter().post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
        EXPECT_EQ(cancelText().remove(u'&'), QString::fromUtf8(c.cancel).remove(u'&'));
        // The pages are laid out left to right whatever Qt's catalogue says.
        EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    }
}

TEST_F(LookQtTexts, AFolderWithoutQtsCataloguesKeepsQtsEnglish)
{
    QTemporaryDir empty;
    QtOwnTexts texts(empty.path());
    texts.follow(7);
    EXPECT_TRUE(texts.loadedLocale().isEmpty());
    EXPECT_EQ(cancelText().remove(u'&'), QStringLiteral("Cancel"));
}

} // namespace
