#include "platform/linux/ModuleLoader.h"

#include <gtest/gtest.h>

#include <utility>

using platform::linuxbackend::loadModule;

// Each module the program loads on first use is found with the entry point its loader
// asks for (a misspelt one would leave the feature silently unavailable); a module
// that is not there, or lacks one entry point, answers nothing and says why.
TEST(ModuleLoader, EveryModuleHasItsEntryPointAndAMissingOneSaysWhy)
{
    for (const auto &[file, entry] : {std::pair{"libqx_multimedia.so", "qxCreateMicrophone"},
                                      {"libqx_speech.so", "qxCreateSpeechSynth"},
                                      {"libqx_atspi.so", "qxCreateAccessibilityBridge"},
                                      {"libqx_bluetooth.so", "qxCreateBleCentral"}}) {
        QString error;
        EXPECT_EQ(loadModule(QLatin1String(file), {entry}, &error).size(), 1) << file << ": " << error.toStdString();
    }
    QString error;
    EXPECT_TRUE(loadModule(QStringLiteral("libqx_absent.so"), {"qxCreate"}, &error).isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("libqx_absent.so"))) << error.toStdString();
    error.clear();
    EXPECT_TRUE(loadModule(QStringLiteral("libqx_speech.so"), {"qxCreateSpeechSynth", "qxAbsent"}, &error).isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("qxAbsent"))) << error.toStdString();
}
