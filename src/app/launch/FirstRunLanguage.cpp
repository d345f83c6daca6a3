#include "FirstRunLanguage.h"

#include "KeyValueStore.h"
#include "PZLog.h"
#include "QXLanguageManager.h"

void applyFirstRunInterfaceLanguage(KeyValueStore &store, QXLanguageManager &languages)
{
    const QString flag = QStringLiteral("setSelectLanguage");
    languages.setAsrLanguageType(1);
    if (!store.boolValue(flag)) {
        languages.setUiLanguageIndex(0);
        store.setValue(flag, true);
        store.sync();
    }
    qxInfo("app") << "interface language" << languages.readUILanguageCode();
}
