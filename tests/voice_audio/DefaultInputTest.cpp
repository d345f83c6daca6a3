// Which input device a name picks, and which name the receiver brings.
#include "ReceiverAudioInput.h"
#include "audio/DefaultInputDevice.h"
#include "platform/InputDeviceMatch.h"

#include <gtest/gtest.h>

namespace {

using platform::InputDeviceCandidate;

TEST(Vox4DefaultInput, TheNamePicksAnInputByDescriptionThenProductThenCard)
{
    const InputDeviceCandidate monitor{"qxsink.monitor", false, "Quorvex", "Quorvex", "Quorvex"};
    const InputDeviceCandidate mic{"usb-mic", true, "Quorvex Mic", "", ""};
    const InputDeviceCandidate quorvex{"qxmic", true, "Quorvex", "", ""};
    const InputDeviceCandidate mono{"alsa_input.usb-Quorvex", true, "Quorvex Mono", "Quorvex", "USB Audio"};
    const InputDeviceCandidate card{"alsa_input.pci", true, "Built-in Audio", "", "ORVANE"};
    const InputDeviceCandidate umlaut{"alsa_input.de", true, "Quörvex", "", ""};
    struct Row {
        const char *what;
        std::vector<InputDeviceCandidate> devices;
        const char *name;
        int expected;
    };
    const Row rows[] = {
        {"the first input of that exact name", {monitor, mic, quorvex}, "Quorvex", 2},
        {"an output's name is no input", {monitor}, "Quorvex", -1},
        {"case matters", {monitor, mic, quorvex}, "quorvex", -1},
        {"a description beats a product name", {mono, quorvex}, "Quorvex", 1},
        {"the product name where no description matches", {mic, mono}, "Quorvex", 1},
        {"the card name last", {mono, card}, "ORVANE", 1},
        {"an empty name matches no empty property", {mic, card}, "", -1},
        {"no near match for accents", {umlaut}, "Quorvex", -1},
        {"but an exact one", {mic, umlaut}, "Quörvex", 1},
        {"no devices", {}, "Quorvex", -1},
    };
    for (const Row &r : rows)
        EXPECT_EQ(platform::matchInputDevice(r.devices, QString::fromUtf8(r.name)), r.expected) << r.what;
}

TEST(Vox4DefaultInput, TheReceiverNamesItsMicrophone)
{
    EXPECT_EQ(defaultInputDeviceName(0x25CA, 0x24AC), "ORVANE");
    EXPECT_EQ(defaultInputDeviceName(0x25CA, 0x1234), "Quorvex");
    EXPECT_EQ(defaultInputDeviceName(0, 0), "Quorvex") << "no receiver";
}

} // namespace
