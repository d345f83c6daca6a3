#include "AppAudioTool.h"

#include "PZLog.h"

namespace {
AppAudioTool *g_installed = nullptr;
}

AppAudioTool::AppAudioTool(platform::IUrlAudioPlayer &player) : m_player(player) {}

AppAudioTool *AppAudioTool::sharedManager()
{
    return g_installed;
}

AppAudioTool *AppAudioTool::setSharedManager(AppAudioTool *instance)
{
    return std::exchange(g_installed, instance);
}

void AppAudioTool::playAudioWithURL(const QString &url)
{
    m_player.pause();
    if (url.isEmpty())
        return;
    const QUrl address(url);
    if (!address.isValid() || address.isRelative()) {
        qxInfo("audio") << "not an audio address, nothing played:" << url.left(200);
        return;
    }
    m_player.play(address);
}

void AppAudioTool::stop()
{
    m_player.pause();
}
