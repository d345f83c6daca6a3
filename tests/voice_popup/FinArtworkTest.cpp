// Every picture the sources ask for by name is one the build ships: a missing one
// leaves an empty tip card or button, and most tests hand tips to a fake that never
// loads them.
#include "SourceFiles.h"
#include "drawing/NamedImage.h"
#include "popup/VoiceArtwork.h"

#include <QDir>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

TEST(FinArtwork, EveryPictureNameInTheSourcesIsAShippedImage)
{
    registerVoiceArtwork();
    (void)namedImage(QStringLiteral("logo")); // registers the kit's own pictures
    const QStringList shipped = QDir(QStringLiteral(":/images")).entryList();
    // The loaders' literal argument, and the last literal of a tip call (showTipMessage
    // and the helpers that hand their picture on to it: tip, showTip).
    const QRegularExpression named(QStringLiteral(R"re(\bnamed(?:Image|Pixmap)\(\s*(?:\w+(?:::\w+)?\()?"([^"]*)")re"));
    const QRegularExpression tip(QStringLiteral(R"re(\b\w*[tT]ip(?:Message)?\([^;]*?,[^,;]*?"([\w%-]+)"\)*\s*;)re"));
    QStringList missing;
    int found = 0;
    for (const auto &[fileName, code] : cppSources(QStringLiteral(QX_SOURCE_DIR))) {
        for (const QRegularExpression *call : {&named, &tip})
            for (auto m = call->globalMatch(code); m.hasNext(); ++found) {
                const QString name = m.next().captured(1);
                // "snip%1_gray": some picture of the family is enough.
                QString pattern = QRegularExpression::escape(name);
                pattern.replace(QRegularExpression(QStringLiteral(R"(\\%\d)")), QStringLiteral(".+"));
                if (shipped.filter(QRegularExpression(QRegularExpression::anchoredPattern(pattern + "\\.png")))
                        .isEmpty())
                    missing << name + QStringLiteral(" (") + fileName + u')';
            }
    }
    EXPECT_GT(found, 40); // the walk still finds the calls
    EXPECT_TRUE(missing.isEmpty()) << "no picture for: " << missing.join(QStringLiteral(", ")).toStdString();
}

} // namespace
