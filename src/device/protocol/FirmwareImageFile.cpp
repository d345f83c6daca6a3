#include "FirmwareImageFile.h"

#include "HRVLocalizedString.h"
#include "PZLog.h"
#include "services/IPopupTips.h"

#include <QFile>

using proto::FirmwareImageResult;

FirmwareImageResult readFirmwareImageFile(const QString &path, proto::FirmwareTarget target)
{
    if (path.isEmpty())
        return proto::missingFirmwareImage(QStringLiteral("no image has been downloaded"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return proto::missingFirmwareImage(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    if (file.size() > proto::kMaxFirmwareFileBytes) {
        FirmwareImageResult r;
        r.error = proto::FirmwareImageError::TooLarge;
        r.message = QStringLiteral("%1 has %2 bytes, more than any image").arg(path).arg(file.size());
        return r;
    }
    return proto::parseFirmwareImage(file.readAll(), target);
}

void reportUnusableFirmwareImage(IPopupTips &tips, const FirmwareImageResult &result, proto::FirmwareTarget target,
                                 const QString &path)
{
    qxWarning("ota") << proto::firmwareTargetName(target) << "firmware image refused, nothing sent:" << result.message
                     << path;
    tips.showTipMessage(hrvAppLocalizedString(QStringLiteral("没有找到OTA文件")), QStringLiteral("error_icon"));
}
