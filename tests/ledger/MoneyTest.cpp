#include "Money.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <optional>

namespace
{
// Runs the checks once under the C locale and once under a comma-decimal
// one, when the machine has one: the results must not differ.
class MoneyTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        if (!std::setlocale(LC_ALL, GetParam()))
            GTEST_SKIP() << "locale " << GetParam() << " is not installed";
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_P(MoneyTest, TypedTextsGiveCentsOrNothing)
{
    struct Case
    {
        const char* typed;
        std::optional<double> cents;
    };
    const Case cases[] = {
        {"12.50", 1250},      {" 12.5 ", 1250},      {"+7", 700},          {"-5", -500},
        {"1,500.00", 150000}, {"1,234.56", 123456},  {"2,637.65", 263765}, {"1,234,567", 123456700},
        {"0", 0},             {"0.00", 0},           {"-0", 0},            {".5", 50},
        {"5.", 500},          {"12.345", 1235},      {"12.344", 1234},     {"-12.345", -1235},
        {"0.005", 1},         {"0.0049999", 0},      {"999999999999.99", 99999999999999},
        {"", std::nullopt},   {" ", std::nullopt},   {"-", std::nullopt},  {".", std::nullopt},
        {"1,50", std::nullopt},  {",500", std::nullopt}, {"1234,567", std::nullopt},
        {"1,234,56", std::nullopt}, {"1,", std::nullopt}, {"1.2.3", std::nullopt}, {"1e5", std::nullopt},
        {"12,50", std::nullopt}, {"$5", std::nullopt}, {"--5", std::nullopt}, {"+-5", std::nullopt},
        {"nan", std::nullopt}, {"inf", std::nullopt}, {"1e300", std::nullopt}, {"5 0", std::nullopt},
        {"1000000000000.01", std::nullopt}, {"99999999999999999999999", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<double> read = Money::Parse(c.typed);
        if (!c.cents) {
            EXPECT_FALSE(read.has_value()) << '"' << c.typed << "\" gave " << read.value_or(0);
            continue;
        }
        ASSERT_TRUE(read.has_value()) << '"' << c.typed << '"';
        // The double nearest to the typed cents, not one a rounding step away.
        EXPECT_EQ(*read, *c.cents / 100.0) << '"' << c.typed << '"';
        EXPECT_FALSE(std::signbit(*read) && *read == 0.0) << '"' << c.typed << "\" gave -0";
    }
}

TEST_P(MoneyTest, FormatsWithAPointAndAMarkerForWhatNobodyTyped)
{
    EXPECT_EQ(Money::Format(1500.0), "1500.00");
    EXPECT_EQ(Money::Format(-12.5), "-12.50");
    EXPECT_EQ(Money::Format(-0.0), "0.00");
    EXPECT_EQ(Money::Format(-0.004), "0.00");
    EXPECT_EQ(Money::Format(2.675), "2.67"); // the double is 2.67499999...
    EXPECT_EQ(Money::Format(std::numeric_limits<double>::quiet_NaN()), Money::kNotANumber);
    EXPECT_EQ(Money::Format(-std::numeric_limits<double>::infinity()), Money::kNotANumber);
    EXPECT_EQ(Money::Format(1e20), "100000000000000000000.00");
}

INSTANTIATE_TEST_SUITE_P(Locales, MoneyTest, ::testing::Values("C", "de_DE.UTF-8"));
}
