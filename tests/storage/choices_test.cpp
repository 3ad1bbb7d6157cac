// The VAT rate and the lowest priority in force on an order's date, and the cycle of the
// "НДС" group with and without the rates of the simplified tax system.
#include "storage/choices.h"

#include <gtest/gtest.h>

using namespace storage;

namespace {

struct RulesCase {
    const char* date;
    const char* standardRate; // choice 1
    const char* priority;     // choice 0
};

// Each change of the law: the last day of the old rule and the first day of the new one.
const RulesCase rulesCases[] = {
    {"01.01.2000", "20%", "6"}, {"31.12.2003", "20%", "6"}, {"01.01.2004", "18%", "6"},
    {"5.03.2009", "18%", "6"},  {"31.12.2013", "18%", "6"}, {"01.01.2014", "18%", "5"},
    {"31.12.2018", "18%", "5"}, {"01.01.2019", "20%", "5"}, {"31.12.2025", "20%", "5"},
    {"01.01.2026", "22%", "5"}, {"31.02.2026", "22%", "5"}, {"01.01.2099", "22%", "5"},
};

class RulesOfTheDate : public testing::TestWithParam<RulesCase> {};

TEST_P(RulesOfTheDate, RateAndPriority) {
    const RulesCase& c = GetParam();
    const Day day = rulesDay(c.date);
    EXPECT_EQ(vatChoiceText(VatChoiceStandard, day).toStdString(), c.standardRate);
    EXPECT_EQ(priorityText(0, day).toStdString(), c.priority);
    EXPECT_EQ(priorityText(1, day).toStdString(), "4");
    // The other rates do not depend on the date.
    EXPECT_EQ(vatChoiceText(VatChoiceNone, day).toStdString(), "Без НДС");
    EXPECT_EQ(vatChoiceText(VatChoiceReduced, day).toStdString(), "10%");
    EXPECT_EQ(vatChoiceText(VatChoiceUsn5, day).toStdString(), "5%");
    EXPECT_EQ(vatChoiceText(VatChoiceUsn7, day).toStdString(), "7%");
}

INSTANTIATE_TEST_SUITE_P(Boundaries, RulesOfTheDate, testing::ValuesIn(rulesCases));

TEST(RulesOfTheDate, WithoutAValidDateTodaysRulesHold) {
    for (const char* date : {"", "05.3.2009", "00.01.2009", "01.13.2009", "1.1.09", "ab.cd.efgh",
                             "01.01.0000", "001.01.2009", "01.01.20091"})
        EXPECT_EQ(rulesDay(date), today()) << date;
}

TEST(VatChoices, CycleWithAndWithoutTheSimplifiedRates) {
    struct {
        std::uint8_t from;
        bool usn;
        std::uint8_t next;
    } const cases[] = {
        {0, false, 1},
        {1, false, 2},
        {2, false, 0},
        {0, true, 1},
        {2, true, 3},
        {3, true, 4},
        {4, true, 0},
        // A simplified rate stored while the setting is off is shown and goes on to no tax.
        {3, false, 0},
        {4, false, 0},
        {200, true, 0},
        {255, false, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nextVatChoice(c.from, c.usn), c.next) << int(c.from) << ' ' << c.usn;
    EXPECT_EQ(vatPercent(5, today()), -1);
    EXPECT_EQ(vatChoiceText(5, today()), QString());
}

} // namespace
