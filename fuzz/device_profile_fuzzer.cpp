// Arbitrary bytes, read as JSON, applied as the product's device profile over a fresh
// state, language manager and notification centre, with stand-ins for the AI window,
// the picture download (which answers at once) and the voice chip. Nothing may crash,
// the stored key sections must decode to what was applied, and the picture file must
// stay inside the data root.
#include "DataPaths.h"
#include "DeviceProfileController.h"
#include "DpiTables.h"
#include "InstalledInstance.h"
#include "KeyValueStore.h"
#include "MouseSettingModel.h"
#include "NotificationCenter.h"
#include "ProductImageLoader.h"
#include "QXLanguageManager.h"
#include "QXUserInfoData.h"
#include "services/IAIWindow.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

struct QuietAIWindow final : IAIWindow {
    void showInWindow() override {}
    void hiddenWindow() override {}
    void requestChatGPT(const QString &) override {}
    void requestChatGPT(const QString &, const QString &) override {}
    void requestChatGPT(const QString &, const QString &, bool) override {}
    void initSubViews() override {}
    void refresh() override {}
    void clearAllWebsiteData() override {}
    bool isWebWindowFullScreen() const override { return false; }
    void leaveWebWindowFullScreen() override {}
};

struct InstantImages final : ProductImageLoader {
    void load(const QUrl &, std::function<void(const QImage &)> done) override
    {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.fill(Qt::white);
        done(image);
    }
};

struct World {
    QTemporaryDir root;
    MemoryKeyValueStore store;
    NotificationCenter center;
    ScopedInstall<NotificationCenter> installed{&center};
    World()
    {
        DataPaths::setDataRootOverride(root.path());
        QXUserInfoData::setDpiChoiceLookup(&DpiTables::choiceFor);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static World world;
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    MemoryKeyValueStore store;
    QXUserInfoData state(store);
    state.setChipPlan(7);
    QXLanguageManager languages(store);
    QuietAIWindow ai;
    InstantImages images;
    DeviceProfileController::Deps deps;
    deps.state = &state;
    deps.store = &store;
    deps.languages = &languages;
    deps.notifications = &world.center;
    deps.aiWindow = &ai;
    deps.images = &images;
    deps.askVoiceChipInfo = [] {};
    DeviceProfileController profile(deps);
    const QJsonValue value = doc.isObject() ? QJsonValue(doc.object()) : QJsonValue(doc.array());
    profile.handleModelInfo(value, QStringLiteral("523"), QStringLiteral("S9"));

    const QList<MouseSettingModel> stored =
        MouseSettingModel::listFromJson(store.jsonArray(QString::fromLatin1(kMouseSettingArrKey)));
    if (!(stored == profile.mouseSettingArr()))
        std::abort();
    if (QFileInfo(profile.productImagePath()).absolutePath() != QFileInfo(world.root.path()).absoluteFilePath())
        std::abort();
    return 0;
}
