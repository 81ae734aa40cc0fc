#include "framework/ZylDomainSet.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylRealDomain.h"
#include "tests/TestHelpers.h"
#include "tests/framework/ZylTestDomain.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
struct FourValues : ::testing::Test
{
    FourValues()
    {
        for (const auto* name : { L"a", L"b", L"c", L"d" })
            values.push_back(domain.add(name));
    }

    ZylTestDomain domain;
    std::vector<ZylValue*> values;
};

std::unique_ptr<juce::XmlElement> parse(const char* text)
{
    return juce::parseXML(juce::String(text));
}
} // namespace

TEST_F(FourValues, DistributedPositionsAndLookupByPosition)
{
    const float expected[] = { 0.0f, 0.25f, 0.5f, 0.75f };
    for (size_t i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(values[i]->getPosition(), expected[i]);

    EXPECT_EQ(domain.findByPosition(0.6f), values[2]);
    EXPECT_EQ(domain.findByPosition(0.25f), values[1]);
    EXPECT_EQ(domain.findByPosition(-0.1f), nullptr);
    EXPECT_EQ(domain.findByPosition(1.0f), values[3]);
    EXPECT_EQ(domain.findByPosition(std::numeric_limits<float>::quiet_NaN()), nullptr);

    // Of two values with the same position the later one wins.
    values[2]->setPosition(0.25f);
    EXPECT_EQ(domain.findByPosition(0.3f), values[2]);
}

TEST_F(FourValues, SteppingByIndex)
{
    struct Case
    {
        bool next;
        int from;
        int n;
        int expected; // -1: null
    };
    const Case cases[] = {
        { true, 1, 0, 1 },  { true, 3, 1, -1 }, { false, 0, 1, -1 }, { true, 0, 2, 2 },
        { false, 3, 3, 0 }, { false, 3, 4, -1 }, { true, 0, 3, 3 },
    };
    for (const auto& c : cases)
    {
        auto* from = values[static_cast<size_t>(c.from)];
        auto* result = c.next ? domain.getNext(from, c.n) : domain.getPrevious(from, c.n);
        EXPECT_EQ(result, c.expected < 0 ? nullptr : values[static_cast<size_t>(c.expected)])
            << (c.next ? "next " : "previous ") << c.from << " by " << c.n;
    }
    EXPECT_EQ(domain.getNext(nullptr, 0), nullptr);
    EXPECT_EQ(domain.getPrevious(nullptr, 1), nullptr);
}

TEST_F(FourValues, SteppingFromAValueOutsideTheListGivesNull)
{
    ZylTestDomain other;
    auto* stranger = other.add(L"x");
    EXPECT_EQ(domain.getNext(stranger, 1), nullptr);

    values[1]->setIndex(17);
    EXPECT_EQ(domain.getNext(values[1], 1), nullptr);
    values[1]->setIndex(-1);
    EXPECT_EQ(domain.getPrevious(values[1], 1), nullptr);
}

TEST_F(FourValues, LookupsByIdDataAndName)
{
    EXPECT_EQ(domain.findById(2), values[2]);
    EXPECT_EQ(domain.findById(4), nullptr);
    EXPECT_EQ(domain.findByData(3.0), values[3]);
    EXPECT_EQ(domain.findByData(3.0000001), nullptr);
    EXPECT_EQ(domain.findByName(L"c"), values[2]);
    EXPECT_EQ(domain.findByName(L"C"), nullptr);
    EXPECT_EQ(domain.getIndexOf(values[3], false), 3);
    EXPECT_EQ(domain.getIndexOf(nullptr, false), -1);
    EXPECT_FLOAT_EQ(domain.getPositionOf(values[3], true), 0.75f);
    EXPECT_EQ(domain.getPositionOf(nullptr, false), 0.0f);
    EXPECT_EQ(domain.getDefaultValue(), values[0]);
}

TEST_F(FourValues, RenumberingAndSequentialData)
{
    for (auto* value : values)
    {
        value->setId(100);
        value->setIndex(100);
        value->setData(-1.0);
    }
    domain.renumberIds();
    domain.renumberIndexes();
    domain.assignSequentialData();
    domain.assignPositions(0.5f, 0.125f);
    for (int i = 0; i < 4; ++i)
    {
        const auto* value = values[static_cast<size_t>(i)];
        EXPECT_EQ(value->getId(), i);
        EXPECT_EQ(value->getIndex(), i);
        EXPECT_EQ(value->getData(), static_cast<double>(i));
        EXPECT_FLOAT_EQ(value->getPosition(), 0.5f + 0.125f * static_cast<float>(i));
    }
}

TEST_F(FourValues, ClearValuesForgetsTheDefault)
{
    domain.clearValues();
    EXPECT_TRUE(domain.getValues().empty());
    EXPECT_EQ(domain.getDefaultValue(), nullptr);
    EXPECT_EQ(domain.findByPosition(0.5f), nullptr);
    domain.distributePositions();
}

TEST(ZylValue, UnnamedValueIsNamedByItsPosition)
{
    ZylTestDomain domain;
    for (int i = 0; i < 4; ++i)
        domain.add(L"");
    auto* value = domain.getValues()[1];
    EXPECT_EQ(value->getName(), L"0.250000");
    EXPECT_EQ(value->getLabel(), L"0.250000");
    EXPECT_EQ(domain.findByName(L"0.250000"), value);
    EXPECT_DOUBLE_EQ(value->getNameAsNumber(), 0.25);

    value->setLabel(L"quarter", 0, false);
    EXPECT_EQ(value->getLabel(), L"quarter");
}

TEST(ZylValue, NumericNamesMatchByNumberNotByText)
{
    ZylTestDomain domain;
    auto* plain = domain.add(L"x");
    auto* decimal = domain.add(L"2.00");
    auto* prefixed = domain.add(L"7 semitones");
    EXPECT_EQ(domain.findByNumericName(2.0), decimal);
    EXPECT_EQ(domain.findByName(L"2"), nullptr);
    EXPECT_EQ(domain.findByNumericName(7.0), prefixed);
    EXPECT_EQ(domain.findByNumericName(0.0), plain); // no leading number reads as 0
    EXPECT_DOUBLE_EQ(prefixed->getNameAsNumber(), 7.0);
}

TEST(ZylValue, ConstructionKeepsFieldsAndCopiesTags)
{
    ZylIntVector tags{ 3, 6 };
    ZylValue value(nullptr, 39, 0.5f, 2.5, L"M7", L"[4] Major 7th", L"desc", &tags, 9);
    tags.clear();
    EXPECT_EQ(value.getId(), 39);
    EXPECT_EQ(value.getPosition(), 0.5f);
    EXPECT_EQ(value.getData(), 2.5);
    EXPECT_EQ(value.getName(), L"M7");
    EXPECT_EQ(value.getLabel(), L"[4] Major 7th");
    EXPECT_EQ(value.getDescription(), L"desc");
    EXPECT_EQ(value.getCode(), 9);
    EXPECT_EQ(value.getIndex(), 0);
    EXPECT_TRUE(value.hasTag(6));
    EXPECT_FALSE(value.hasTag(4));

    ZylValue untagged(nullptr, 0, 0.0f, 0.0, L"", L"", L"", nullptr, 0);
    EXPECT_FALSE(untagged.hasTag(0));
}

TEST(ZylValue, RenamingPostsThroughItsDomainOnlyWhenAsked)
{
    ZylValue orphan(nullptr, 0, 0.0f, 0.0, L"old", L"", L"", nullptr, 0);
    orphan.setName(L"new", 0x0502, true);
    EXPECT_EQ(orphan.getName(), L"new");

    ZylTestDomain domain;
    auto* value = domain.add(L"a");
    ZylTestSink sink;
    domain.addSink(&sink);
    value->setName(L"b", 0x0502, false);
    value->setName(L"c", 0x0503, true);
    value->setLabel(L"label", 0x0502, true);
    value->setNameFromNumber(0.5, 0x0505, "%1.2f", true);
    zyltest::drainMessageQueue();
    domain.removeSink(&sink);

    EXPECT_EQ(value->getName(), L"0.50");
    ASSERT_EQ(sink.entries.size(), 3u);
    EXPECT_EQ(sink.entries[0].sender, static_cast<ZylDomain*>(&domain));
    EXPECT_EQ(sink.entries[0].code, 0x0503);
    EXPECT_EQ(sink.entries[1].code, 0x0502);
    EXPECT_EQ(sink.entries[2].code, 0x0505);
}

TEST(ZylRealDomain, WritesNamesAsDomAndValElements)
{
    ZylTestDomain domain;
    domain.add(L"Untitled 0");
    domain.add(L"");
    domain.add(L"Caf\u00e9 & <co>");
    const auto xml = domain.createXml();
    EXPECT_EQ(xml->toString(juce::XmlElement::TextFormat().singleLine().withoutHeader()),
              "<dom n=\"Test\"><val i=\"0\" n=\"Untitled 0\"/><val i=\"1\" n=\"0.333333\"/>"
              "<val i=\"2\" n=\"Caf&#233; &amp; &lt;co&gt;\"/></dom>");

    ZylTestDomain copy;
    for (int i = 0; i < 3; ++i)
        copy.add(L"?");
    copy.restoreFromXml(xml.get(), false);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(copy.getValues()[i]->getName(), domain.getValues()[i]->getName());
}

TEST(ZylRealDomain, RestoreMatchesChildrenByPlaceAndSkipsWhatItCannotUse)
{
    ZylTestDomain domain;
    for (const auto* name : { L"a", L"b", L"c", L"d", L"e" })
        domain.add(name);
    // "i" is not read; a foreign tag and a "val" without "n" use up their places; the fifth
    // value gets no child.
    const auto xml = parse("<dom n=\"ignored\"><val i=\"9\" n=\"A\"/><other n=\"B\"/>"
                           "<val i=\"2\"/><val n=\"D\"/></dom>");
    ASSERT_NE(xml, nullptr);
    domain.restoreFromXml(xml.get(), false);
    std::vector<std::wstring> names;
    for (auto* value : domain.getValues())
        names.push_back(value->getName());
    EXPECT_EQ(names, (std::vector<std::wstring>{ L"A", L"b", L"c", L"D", L"e" }));

    // More children than values, and no element at all.
    const auto longer = parse("<dom><val n=\"1\"/><val n=\"2\"/><val n=\"3\"/><val n=\"4\"/>"
                              "<val n=\"5\"/><val n=\"6\"/></dom>");
    domain.restoreFromXml(longer.get(), false);
    EXPECT_EQ(domain.getValues()[4]->getName(), L"5");
    domain.restoreFromXml(nullptr, true);
    domain.getValues()[0]->restoreFromXml(nullptr, true);
    EXPECT_EQ(domain.getValues()[0]->getName(), L"1");
}

TEST(ZylRealDomain, RestoreWithNotifyPostsFromTheDomain)
{
    ZylTestDomain domain;
    domain.add(L"a");
    ZylTestSink sink;
    domain.addSink(&sink);
    const auto xml = parse("<dom><val n=\"z\"/></dom>");
    domain.restoreFromXml(xml.get(), true);
    zyltest::drainMessageQueue();
    domain.removeSink(&sink);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].sender, static_cast<ZylDomain*>(&domain));
    EXPECT_EQ(domain.getValues()[0]->getName(), L"z");
}

TEST(ZylRealDomain, CommandsAreFoundByIdAndPostTheirCommandCode)
{
    ZylTestDomain domain;
    auto* configure = domain.addCommand(std::make_unique<ZylDomainCommand>(L"Configure..."));
    auto* inert = domain.addCommand(std::make_unique<ZylDomainCommand>(L"inert", 0));
    EXPECT_EQ(configure->getId(), 10);
    EXPECT_EQ(configure->getLabel(), L"Configure...");
    EXPECT_TRUE(configure->isEnabled());
    EXPECT_EQ(domain.findCommand(10), configure);
    EXPECT_EQ(domain.findCommand(0), inert);
    EXPECT_EQ(domain.findCommand(11), nullptr);
    EXPECT_EQ(domain.getCommands().size(), 2u);

    ZylTestSink sink;
    domain.addSink(&sink);
    domain.postCommand(configure);
    domain.postCommand(inert);
    domain.postCommand(nullptr);
    zyltest::drainMessageQueue();
    domain.removeSink(&sink);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].code, 0x0A06);
    EXPECT_EQ(sink.entries[0].sender, static_cast<ZylDomain*>(&domain));

    domain.clearCommands();
    EXPECT_TRUE(domain.getCommands().empty());
    EXPECT_EQ(domain.findCommand(10), nullptr);
}

TEST(ZylRealDomain, BaseDefaults)
{
    ZylTestDomain domain;
    EXPECT_EQ(domain.getName(), L"Test");
    EXPECT_EQ(domain.getDescription(), L"Test");
    EXPECT_TRUE(domain.hasFixedValues());
    EXPECT_FALSE(domain.hasDynamicValues());
    EXPECT_EQ(domain.getControlType(), kControlCombo);
    EXPECT_TRUE(domain.isValidNumber(-1.0e9f));
    EXPECT_EQ(domain.getDomainSet(), nullptr);
    EXPECT_EQ(&domain.getLock(), &domain.getLock());
    EXPECT_EQ(domain.getDefaultValue(), nullptr);
}

TEST(ZylDomainSet, OwnsItsDomainsAndListsThemInOrder)
{
    struct Tracked : ZylTestDomain
    {
        Tracked(ZylDomainSet* set, std::vector<int>& log, int tag)
            : ZylTestDomain(set), deleted(log), number(tag)
        {
        }
        ~Tracked() override { deleted.push_back(number); }
        std::vector<int>& deleted;
        int number;
    };
    std::vector<int> deleted;
    {
        auto set = std::make_unique<ZylDomainSet>();
        auto* first = set->addDomain(std::make_unique<Tracked>(set.get(), deleted, 1));
        auto* second = set->addDomain(std::make_unique<Tracked>(set.get(), deleted, 2));
        EXPECT_EQ(set->getDomains(), (ZylDomainList{ first, second }));
        EXPECT_EQ(first->getDomainSet(), set.get());
    }
    EXPECT_EQ(deleted, (std::vector<int>{ 1, 2 }));
}
