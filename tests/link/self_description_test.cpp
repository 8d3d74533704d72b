#include <gtest/gtest.h>

#include "link/cp1251.h"
#include "link/self_description.h"

namespace orvanic {
namespace {

// The example description: 1234|X-A40 1|W1|V1|T1|tраб|S|Обрыв|Перегрузка,
// names in the device code page.
const std::string kExample = std::string("1234|X-A40 1|W1|V1|T1|") + "\x74\xE0\xA0\xA1" + "|S|"
    + "\x8E\xA1\xE0\xEB\xA2" + "|" + "\x8F\xA5\xE0\xA5\xA3\xE0\xE3\xA7\xAA\xA0";

std::vector<std::string> utf8(const std::vector<std::u32string>& names)
{
    std::vector<std::string> out;
    for (const auto& n : names)
        out.push_back(u32ToUtf8(n));
    return out;
}

using Names = std::vector<std::string>;

TEST(SelfDescription, ExampleInBothEnergyUnits)
{
    const SelfDescription gj = parseSelfDescription(kExample, 0);
    EXPECT_EQ(u32ToUtf8(gj.number), "1234");
    EXPECT_EQ(u32ToUtf8(gj.name), "X-A40 1");
    EXPECT_EQ(utf8(gj.fieldNames), (Names{"Дата и время", "W1 [ГДж]", "V1 [м3]", "T1 [°С]", "tраб", "Статус"}));
    EXPECT_EQ(utf8(gj.statusNames), (Names{"Обрыв", "Перегрузка"}));
    EXPECT_EQ(gj.indexes.WorkTimeIndex, 5);
    EXPECT_EQ(gj.indexes.ModeTimeIndex, 2);
    EXPECT_EQ(gj.indexes.StatusIndex, 6);

    const SelfDescription gcal = parseSelfDescription(kExample, 1);
    EXPECT_EQ(u32ToUtf8(gcal.fieldNames[1]), "W1 [Гкал]");
}

TEST(SelfDescription, UnitSuffixes)
{
    const SelfDescription d = parseSelfDescription("1|N|H1|W2|V3|P4|T5|M6|Q7|x8|\x74\xE0\xA5\xA6|S|", 0);
    EXPECT_EQ(utf8(d.fieldNames), (Names{"Дата и время", "H1 [ГДж]", "W2 [ГДж]", "V3 [м3]", "P4 [атм]", "T5 [°С]",
                                         "M6 [т]", "Q7 [м3/ч]", "x8", "tреж"}))
        << "the S entry's closing separator is the text's last character, so it is never reached";
    EXPECT_EQ(d.indexes.ModeTimeIndex, 10);
    EXPECT_FALSE(d.hasStatusList);
}

TEST(SelfDescription, ListShapes)
{
    struct Case {
        std::string text;
        Names fields;
        Names statuses;
    };
    const Case cases[] = {
        {"1|N|V1||V2|S|a|", {"Дата и время", "V1 [м3]", "V2 [м3]", "Статус"}, {"a"}},  // "||" adds no field
        {"1|N|V1|V2", {"Дата и время", "V1 [м3]"}, {}},                   // entry running to the end is dropped
        {"1|N|V1|V2|", {"Дата и время", "V1 [м3]"}, {}},                 // ... even when a "|" is last
        {"1|N|V1|V2|x", {"Дата и время", "V1 [м3]", "V2 [м3]"}, {}},
        {"1|N|Sx|a||b", {"Дата и время", "Статус"}, {"a", "", "b"}},      // empty status names count
        {"1|N|S|", {"Дата и время"}, {}},                                 // the last "|" is never scanned
        {"1|N", {"Дата и время"}, {}},
        {"", {"Дата и время"}, {}},
    };
    for (const auto& c : cases) {
        const SelfDescription d = parseSelfDescription(c.text, 0);
        EXPECT_EQ(utf8(d.fieldNames), c.fields) << c.text;
        EXPECT_EQ(utf8(d.statusNames), c.statuses) << c.text;
    }
}

TEST(SelfDescription, MissingSeparatorsRunToTheEnd)
{
    EXPECT_EQ(u32ToUtf8(parseSelfDescription("1234", 0).number), "1234");
    const SelfDescription d = parseSelfDescription("1234|X-A40", 0);
    EXPECT_EQ(u32ToUtf8(d.number), "1234");
    EXPECT_EQ(u32ToUtf8(d.name), "X-A40");
}

TEST(SelfDescription, NumberAndNameAreNotDecoded)
{
    const SelfDescription d = parseSelfDescription("\xE0\x31|\xC0\xE0|V1|S|", 0);
    EXPECT_EQ(d.number, (std::u32string{0xE0, U'1'}));
    EXPECT_EQ(d.name, (std::u32string{0xC0, 0xE0}));
}

TEST(ShortText, KeepsTwentyWindows1251Characters)
{
    const ShortText t = ShortText::fromUtf8("Qабвгдежзийклмнопрст [м3/ч]");
    EXPECT_EQ(t.utf8(), "Qабвгдежзийклмнопрст");
    EXPECT_EQ(t.cp1251().size(), 20u);
    EXPECT_EQ(ShortText::fromUtf8("T1 [°С]").cp1251(), "T1 [\xB0\xD1]");
}

TEST(Model, DesignationsInTheName)
{
    const std::pair<std::string, TOrvanDevice> cases[] = {
        {"X-A40 1", TOrvanDevice::mcuA40},     {"X-A60.1", TOrvanDevice::mcuA601},
        {"X-A60.2 7", TOrvanDevice::mcuA602},  {"MVU B8", TOrvanDevice::mcuB8},
        {"X-B9 3", TOrvanDevice::mcuB9},       {"X-A70", TOrvanDevice::mcuA70},
        {"X-A90 2", TOrvanDevice::mcuA90},     {"X-C10.1", TOrvanDevice::mcuC101},
        {"X-C10.2 1", TOrvanDevice::mcuC102},  {"X-C10.3", TOrvanDevice::mcuC103},
        {"X-A602 7", TOrvanDevice::none},      {"XA40", TOrvanDevice::none},
        {"X A40-B8", TOrvanDevice::none},      {"", TOrvanDevice::none},
    };
    for (const auto& [name, model] : cases)
        EXPECT_EQ(modelFromName(name), model) << name;
}

}  // namespace
}  // namespace orvanic
