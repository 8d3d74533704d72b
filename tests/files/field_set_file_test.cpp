#include <gtest/gtest.h>

#include "files/field_set_file.h"
#include "link/cp1251.h"
#include "support/temp_dir.h"

namespace orvanic {
namespace {

const std::vector<std::string> kNames = {"Дата и время", "W1 [ГДж]", "Статус", "W1 [ГДж]"};

TEST(FieldSetFile, NameAndLines)
{
    EXPECT_EQ(fieldSetFileName("/opt/vo/", "ABC 12"), "/opt/vo/ABC_12.cfg");
    EXPECT_EQ(cp1251ToUtf8(formatFieldSet({"Дата и время", "W1 [ГДж]", "Статус"}, {false, false, true})),
              "Дата и время#1\r\nW1 [ГДж]#0\r\nСтатус#1\r\n")
        << "column 0 is always written selected";
    EXPECT_EQ(formatFieldSet({"Статус"}, {true}), "\xD1\xF2\xE0\xF2\xF3\xF1#1\r\n");
}

TEST(FieldSetFile, LinesTickAndClear)
{
    struct Case {
        const char* name;
        std::string content;
        std::vector<bool> checks;
        bool damaged;
    };
    const Case cases[] = {
        {"ticks and clears", "Дата и время#0\r\nW1 [ГДж]#0\r\nСтатус#1\r\n", {true, false, true, true}, false},
        {"the first of two alike", "W1 [ГДж]#0\r\n", {false, false, false, true}, false},
        {"unknown names change nothing", "Vгвс#1\r\nгде-то#0\r\n", {false, true, false, true}, false},
        {"a # in the name", "a#b#1\r\n", {false, true, false, true}, false},
        {"stops at a damaged line", "W1 [ГДж]#0\r\nСтатус#x\r\nW1 [ГДж]#1\r\n", {false, false, false, true}, true},
        {"an empty line is damaged", "\r\n", {false, true, false, true}, true},
    };
    for (const Case& c : cases) {
        std::vector<bool> checks = {false, true, false, true};
        const auto problem = applyFieldSet(utf8ToCp1251(c.content), kNames, checks);
        EXPECT_EQ(checks, c.checks) << c.name;
        EXPECT_EQ(problem.has_value(), c.damaged) << c.name;
        if (problem) {
            EXPECT_EQ(*problem, (UserMessage{"Повреждена структура файла.", "Внимание"}));
        }
    }
}

TEST(FieldSetFile, SaveLoadAndMissingFile)
{
    test::TempDir dir;
    const auto file = fieldSetFileName(dir.path().string() + "/", "X-A40 1");
    std::vector<bool> checks = {true, false, true, true};
    EXPECT_EQ(loadFieldSetFile(file, kNames, checks), (UserMessage{"Нет похожей конфигурации.", "Внимание"}));
    EXPECT_FALSE(saveFieldSetFile(file, kNames, {false, false, true, false}));
    EXPECT_FALSE(loadFieldSetFile(file, kNames, checks));
    EXPECT_EQ(checks, (std::vector<bool>{true, false, true, true})) << "both lines of the twin name go to the first column";
}

TEST(FieldSelection, ApplyKeepsTheFirstColumn)
{
    AFieldsList list = FillFieldList({"Дата и время", "V1 [м3]", "Статус"});
    applySelection(list, {false, false, false});
    EXPECT_TRUE(list.FieldItem[0].Flag);
    EXPECT_FALSE(list.FieldItem[1].Flag);
    EXPECT_EQ(list.FixCount, 1);
    applySelection(list, {true, true, true});
    EXPECT_EQ(list.FixCount, 3);
}

}  // namespace
}  // namespace orvanic
