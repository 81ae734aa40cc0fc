#include "framework/ZylGeneralDomainSet.h"
#include "framework/ZylNumberText.h"
#include "framework/ZylRangeDomain.h"
#include "framework/ZylValue.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace
{
// Sets a locale whose decimal point is a comma for the life of the object (every category, as
// a library calling setlocale(LC_ALL, "") in such a country would), and restores the old one.
class CommaLocale
{
public:
    CommaLocale()
    {
        if (const char* current = std::setlocale(LC_ALL, nullptr))
            previous = current;
        for (const char* name : { "de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8",
                                  "fr_FR", "German_Germany.1252", "de-DE" })
            if (std::setlocale(LC_ALL, name) != nullptr && *std::localeconv()->decimal_point == ',')
            {
                active = true;
                return;
            }
        std::setlocale(LC_ALL, previous.c_str());
    }
    ~CommaLocale() { std::setlocale(LC_ALL, previous.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool active = false;

private:
    std::string previous = "C";
};

#define REQUIRE_COMMA_LOCALE(locale)                                                             \
    if (!(locale).active)                                                                        \
    {                                                                                            \
        FAIL() << "no locale with a decimal comma is installed (Debian: locales-all)";           \
    }
} // namespace

TEST(ZylNumberText, FormatsLikePrintfInTheCLocale)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case
    {
        const char* format;
        double a;
        double b;
        const char* expected;
    };
    const Case cases[] = {
        { "%1.2f", 0.3, 0, "0.30" },
        { "%f", 0.25, 0, "0.250000" },
        { "%1.0f %%", 50, 0, "50 %" },
        { "1/%1.0f", 32, 0, "1/32" },
        { "%1.2f..%1.2f", -1, 1, "-1.00..1.00" },
        { "Range %1.2f..%1.2f", 0, 0.5, "Range 0.00..0.50" },
        { "%8.3f|", -3.14159, 0, "  -3.142|" },
        { "%-8.1f|", 2.25, 0, "2.2     |" },
        { "%+08.2f", 3.5, 0, "+0003.50" },
        { "% .1e", 12345.0, 0, " 1.2e+04" },
        { "%g %G", 0.0001, 1e-10, "0.0001 1E-10" },
        { "%.0f %.0f", 0.5, 1.5, "0 2" },
        { "%1.2f", -0.0, 0, "-0.00" },
        { "%f %5.1F", inf, -inf, "inf  -INF" },
        { "%.3f", 1e21, 0, "1000000000000000000000.000" },
        { "no conversion", 1, 0, "no conversion" },
        { "%1.2f", 2.675, 0, "2.67" }, // 2.675 is 2.67499999... in binary
    };
    for (const auto& c : cases)
        EXPECT_EQ(zylFormatNumbers(c.format, { c.a, c.b }), c.expected) << c.format;
}

TEST(ZylNumberText, ReadsTheLongestLeadingNumberLikeStrtodInTheCLocale)
{
    struct Case
    {
        const wchar_t* text;
        double expected;
    };
    const Case cases[] = {
        { L"2.5", 2.5 },          { L"  -1.5e1x", -15.0 }, { L"+3", 3.0 },     { L".5", 0.5 },
        { L"1e", 1.0 },           { L"1e+", 1.0 },         { L"5.", 5.0 },     { L"1,5", 1.0 },
        { L"0x1p4", 16.0 },       { L"0x", 0.0 },          { L"abc", 0.0 },    { L"", 0.0 },
        { L"-", 0.0 },            { L".", 0.0 },           { L"50 %", 50.0 },  { L"1/32", 1.0 },
        { L"1e-400", 0.0 },       { L"\t\n7", 7.0 },       { L"0.1", 0.1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(zylParseLeadingNumber(c.text), c.expected) << c.text;

    EXPECT_EQ(zylParseLeadingNumber(L"1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(zylParseLeadingNumber(L"-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(zylParseLeadingNumber(L"-Infinity"), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(zylParseLeadingNumber(L"nan")));
    EXPECT_TRUE(std::signbit(zylParseLeadingNumber(L"-0")));
}

// A library or a file dialog may set the process locale; names, lookups and saved numbers must
// not follow it.
TEST(ZylNumberText, NamesAndNumericLookupsIgnoreACommaLocale)
{
    CommaLocale locale;
    REQUIRE_COMMA_LOCALE(locale);

    ZylGeneralDomainSet set;
    const auto& domains = set.getDomains();
    auto* unit = domains[ZylGeneralDomainSet::kUnitScalePlace];
    ASSERT_NE(unit->findByName(L"0.25"), nullptr);
    EXPECT_EQ(unit->findByNumericName(0.25), unit->findByName(L"0.25"));
    EXPECT_EQ(unit->findByName(L"0.25")->getNameAsNumber(), 0.25);
    EXPECT_NE(domains[ZylGeneralDomainSet::kSUnitScalePlace]->findByName(L"-0.98"), nullptr);
    EXPECT_NE(domains[ZylGeneralDomainSet::kPercentagePlace]->findByName(L"50 %"), nullptr);
    EXPECT_EQ(unit->getShortName(), L"0..1");

    ZylRangeDomain range(nullptr, 0.5, 2.0, 0.25, 1.0);
    EXPECT_EQ(range.getShortName(), L"0.50..2.00");
    EXPECT_EQ(range.getDescription(), L"Range from 0.50..2.00");
    EXPECT_EQ(range.getDefaultValue()->getName(), L"1.00");

    ZylValue unnamed(nullptr, 0, 0.25f, 0.0, L"", L"", L"", nullptr, 0);
    EXPECT_EQ(unnamed.getName(), L"0.250000");
    unnamed.setNameFromNumber(1.5, 0, "%1.2f", false);
    EXPECT_EQ(unnamed.getName(), L"1.50");
    EXPECT_EQ(zylParseLeadingNumber(L"2.5"), 2.5);
}
