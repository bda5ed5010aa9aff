// The sound output chosen by name: the options that name or list them, and
// what happens when the name matches none (the default output, and a line
// that says so).

#include "game/AudioDeviceChoice.h"
#include "game/CGameApp.h"
#include "media/CSoundDevice.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A device with outputs of known names.
class ListedOutputs final : public CSoundDevice {
public:
    std::vector<std::string> names{"Built-in Audio Analog Stereo", "USB Headset", "usb headset 2", "HDMI Out",
                                   "hdmi out"};
    int selected = -7; // not chosen yet
    void SelectDevice(int index) override { selected = index; }
    int GetSelectedDevice() const override { return selected; }
    int GetDeviceCount() const override { return int(names.size()); }
    std::string GetDeviceName(int index) const override
    {
        return index >= 0 && index < GetDeviceCount() ? names[size_t(index)] : std::string();
    }
};

int Parse(std::vector<const char*> args, GameOptions& options, std::string& error)
{
    args.insert(args.begin(), "Veldra");
    std::string out;
    return ParseGameOptions(int(args.size()), const_cast<char**>(args.data()), options, error, out);
}

} // namespace

TEST(AudioDevice, TheOptionsNameAnOutputOrAskForTheList)
{
    GameOptions options;
    std::string error;
    ASSERT_EQ(Parse({"--audio-device", "USB Headset", "--windowed"}, options, error), 0) << error;
    EXPECT_EQ(options.audioDevice, "USB Headset");
    EXPECT_FALSE(options.listAudioDevices);
    EXPECT_EQ(options.fullScreen, 0);

    GameOptions listing;
    ASSERT_EQ(Parse({"--list-audio-devices"}, listing, error), 0) << error;
    EXPECT_TRUE(listing.listAudioDevices);

    for (const std::vector<const char*>& bad : {std::vector<const char*>{"--audio-device"},
                                                std::vector<const char*>{"--audio-device", ""}}) {
        GameOptions none;
        error.clear();
        EXPECT_EQ(Parse(bad, none, error), 2);
        EXPECT_NE(error.find("--audio-device needs"), std::string::npos) << error;
    }
}

TEST(AudioDevice, ANameFindsItsOutputExactlyOrByCaseWhenThatIsUnambiguous)
{
    ListedOutputs outputs;
    EXPECT_EQ(FindAudioDevice(outputs, "USB Headset"), 1);
    EXPECT_EQ(FindAudioDevice(outputs, "usb headset"), 1);      // one output matches ignoring case
    EXPECT_EQ(FindAudioDevice(outputs, "hdmi out"), 4);         // the exact name wins
    EXPECT_EQ(FindAudioDevice(outputs, "HDMI OUT"), -1);        // two match ignoring case: neither
    EXPECT_EQ(FindAudioDevice(outputs, "USB"), -1);             // no prefixes
    EXPECT_EQ(FindAudioDevice(outputs, ""), -1);
    EXPECT_EQ(AudioDeviceList(outputs), "Built-in Audio Analog Stereo\nUSB Headset\nusb headset 2\nHDMI Out\nhdmi out\n");
    EXPECT_EQ(AudioDeviceList(CSoundDevice()), "");
}

TEST(AudioDevice, AMissingOutputLeavesTheDefaultAndSaysSo)
{
    ListedOutputs outputs;
    EXPECT_EQ(ChooseAudioDevice(outputs, ""), "");
    EXPECT_EQ(outputs.selected, -7); // nothing asked, nothing changed
    EXPECT_EQ(ChooseAudioDevice(outputs, "HDMI Out"), "");
    EXPECT_EQ(outputs.selected, 3);

    const std::string said = ChooseAudioDevice(outputs, "Studio Monitor");
    EXPECT_EQ(outputs.selected, -1); // the system's default
    EXPECT_NE(said.find("\"Studio Monitor\""), std::string::npos) << said;
    EXPECT_NE(said.find("default"), std::string::npos) << said;

    // A device without outputs (no sound library) plays nothing either way.
    CSoundDevice silent;
    EXPECT_FALSE(ChooseAudioDevice(silent, "USB Headset").empty());
}
