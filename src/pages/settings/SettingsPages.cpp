#include "SettingsPages.h"

PageTable settingsPages()
{
    // No page of this library is built yet: the factory shows placeholders.
    return {};
}
