#include <gtest/gtest.h>

#include <fstream>

#include "app/settings.h"
#include "support/temp_dir.h"

namespace orvanic {
namespace {

TEST(Settings, DefaultsAreWrittenAsSevenLines)
{
    EXPECT_EQ(formatSettings(Settings{}),
              "[Application]\r\nCommunication=COM1;\r\nBitrate=9600;\r\nBits=8;\r\nProtocol=0;\r\nEnergy=0;\r\nLog=0;\r\n");
}

TEST(Settings, ReadsKeysInAnyOrder)
{
    const Settings s = parseSettings("[Application]\r\nLog=1;\r\nEnergy=1;\r\nProtocol=1;\r\nBits=7;\r\n"
                                     "Bitrate=115200;\r\nCommunication=/dev/pts/3;\r\nBits=8;\r\n");
    EXPECT_EQ(s, (Settings{"/dev/pts/3", "115200", 7, 1, 1, true})) << "a seventh line is not read";
    EXPECT_EQ(parseSettings(formatSettings(s)), s);
}

TEST(Settings, UnusableValuesTakeDefaults)
{
    struct Case {
        std::string content;
        Settings expected;
    };
    const Case cases[] = {
        {"", Settings{}},
        {"[application]\r\nBits=7;\r\n", Settings{}},
        {"[Application]\r\nBits=x;\r\nProtocol=;\r\nEnergy=1a;\r\nLog=yes;\r\n", Settings{}},
        {"[Application]\nLog=1;\nBits=7\n", Settings{"COM1", "9600", 7, 0, 0, true}},
        {"[Application]\r\nLog=0;\r\n", Settings{}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseSettings(c.content), c.expected) << c.content;
}

TEST(Settings, FileRoundTripAndUnwritableFolder)
{
    test::TempDir dir;
    const auto path = dir.path() / "QN.cfg";
    EXPECT_EQ(readSettingsFile(path), Settings{});
    const Settings s{"COM3", "1200", 7, 1, 0, true};
    ASSERT_TRUE(writeSettingsFile(s, path));
    EXPECT_EQ(readSettingsFile(path), s);
    EXPECT_FALSE(writeSettingsFile(s, dir.path() / "missing" / "QN.cfg"));
}

}  // namespace
}  // namespace orvanic
