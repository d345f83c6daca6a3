#pragma once

#include <QList>
#include <QPixmap>
#include <QStringList>

class QXButton;

// The pictures of the speech pop-up and the tips, drawn at build time into a resource
// that namedImage() reads. A static library's resource is registered only when
// something calls this; the pop-up's views do on construction.
void registerVoiceArtwork();

namespace voiceartwork {
// The animation of a press type: 13 frames "say_00000" … "say_00012" for typing (33),
// "trans_…" for translation (37), "search_…" for the search command (35); none for
// any other type.
QStringList typeFrameNames(qint64 pressType);
// The 39 frames "start_00000" … "start_00038" that follow every type's frames.
QStringList startFrameNames();
// The named pictures in order; a missing one is a null pixmap (logged once).
QList<QPixmap> pixmaps(const QStringList &names);
// Shows an on/off switch's state without a click: checked, the picture
// "2_switch_on_icon" or "2_switch_off_icon", and its name in the property "imageName".
void showSwitch(QXButton *button, bool on);
} // namespace voiceartwork
