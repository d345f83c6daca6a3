#include "LanguageHooks.h"

#include <mutex>

namespace {

std::mutex g_mutex;
LanguageHooks g_hooks;

LanguageHooks snapshot()
{
    std::lock_guard lock(g_mutex);
    return g_hooks;
}

} // namespace

LanguageHooks installLanguageHooks(const LanguageHooks &hooks)
{
    std::lock_guard lock(g_mutex);
    LanguageHooks previous = g_hooks;
    g_hooks = hooks;
    return previous;
}

QString currentUILanguageCode()
{
    const LanguageHooks hooks = snapshot();
    return hooks.readUILanguageCode ? hooks.readUILanguageCode() : QStringLiteral("ZH_CN");
}

QString currentAudioLanguageCode()
{
    const LanguageHooks hooks = snapshot();
    return hooks.readAudioLanguageCode ? hooks.readAudioLanguageCode() : QString();
}

QString localizedText(const QString &source)
{
    const LanguageHooks hooks = snapshot();
    return hooks.localizedString ? hooks.localizedString(source) : source;
}
