// Holds the flag computation to the users' page that defines it
// (docs/statistics.md): every example hand of the page gives the flags the
// page says, and every flag column of the statistics is defined there.
#include "foundation/CStatDefinitions.h"
#include "stats/flags/tests/CTestHand.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

struct CPageExample
{
    std::string title;
    std::string seats;
    std::string actions;
    bool showdown = false;
    int gameKind = 2;
    std::vector<std::pair<std::string, std::string>> expected;
};

std::string PageText()
{
    std::ifstream in(std::string(VX_SOURCE_DIR) + "/docs/statistics.md");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The ```hand blocks of the page.
std::vector<CPageExample> PageExamples(const std::string& page)
{
    std::vector<CPageExample> examples;
    std::istringstream lines(page);
    CPageExample* current = nullptr;
    for (std::string line; std::getline(lines, line);) {
        if (line == "```hand") {
            examples.emplace_back();
            current = &examples.back();
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        if (line == "```") {
            current = nullptr;
            continue;
        }
        if (line.rfind("# ", 0) == 0) {
            current->title = line.substr(2);
            continue;
        }
        const size_t colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(0, colon);
        const std::string value = Trimmed(line.substr(colon + 1));
        if (key == "seats") {
            current->seats = value;
        } else if (key == "actions") {
            current->actions = value;
        } else if (key == "showdown") {
            current->showdown = value == "yes";
        } else if (key == "game") {
            current->gameKind = std::stoi(value);
        } else {
            current->expected.emplace_back(key, value == "-" ? std::string() : value);
        }
    }
    return examples;
}

}  // namespace

TEST(StatisticsPageTest, EveryExampleHandGivesTheFlagsThePageSays)
{
    const std::vector<CPageExample> examples = PageExamples(PageText());
    ASSERT_GE(examples.size(), 9u);
    for (const CPageExample& example : examples) {
        CTestHand hand(example.seats, example.actions, example.showdown);
        hand.Compute(example.gameKind);
        ASSERT_FALSE(example.expected.empty()) << example.title;
        for (const auto& [player, flags] : example.expected) {
            EXPECT_EQ(hand.True(player), flags) << example.title << " / " << player;
        }
    }
}

TEST(StatisticsPageTest, EveryFlagOfTheStatisticsIsDefinedOnThePage)
{
    const std::string page = PageText();
    CStatDefinitions definitions;
    ASSERT_TRUE(definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json"));
    std::vector<CStatDefinition> columns;
    ASSERT_TRUE(definitions.ReadStatSection(L"handplayerstats", columns));
    for (const auto& column : columns) {
        std::string name(column.name.begin(), column.name.end());
        // Per-street columns are defined once with X for the street.
        for (const char* street : {"_fp_", "_tn_", "_rv_"}) {
            const size_t at = name.find(street);
            if (at != std::string::npos && name.rfind("flag_pf", 0) != 0) {
                name.replace(at, 4, "_X_");
            }
        }
        EXPECT_NE(page.find("`" + name + "`"), std::string::npos)
            << name << " is not defined on docs/statistics.md";
    }
}
