#pragma once

#include "FirmwareImage.h"

#include <QString>

class IPopupTips;

// Reading an image file for a transfer, and telling the user when there is none to send.

// The image at `path`, parsed for `target`; Missing when the path is empty or the file
// cannot be read, TooLarge without reading a file over the limit.
proto::FirmwareImageResult readFirmwareImageFile(const QString &path, proto::FirmwareTarget target);

// The tip "没有找到OTA文件" with the error icon, and a log line with the reason. Every
// unusable image gets the same tip: for the user there is no image to send.
void reportUnusableFirmwareImage(IPopupTips &tips, const proto::FirmwareImageResult &result,
                                 proto::FirmwareTarget target, const QString &path);
