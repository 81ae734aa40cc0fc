#include "framework/ZylDebug.h"
#include "framework/ZylFilteredLinkDomain.h"
#include "framework/ZylMessage.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylLinkParameter.h"
#include "framework/ZylNullDomain.h"
#include "framework/ZylParameterEpoch.h"
#include "framework/ZylRealParameter.h"
#include "framework/ZylUnitScaleDomain.h"
#include "framework/ZylValue.h"
#include "tests/TestHelpers.h"
#include "tests/framework/ZylParameterTestDomains.h"
#include "tests/framework/ZylTestDomain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace
{
// Four values a, b, c, d at 0, 0.25, 0.5, 0.75 with c as the default.
struct ListParameter : ::testing::Test
{
    ListParameter()
    {
        for (const auto* name : { L"a", L"b", L"c", L"d" })
            values.push_back(domain.add(name));
        domain.setDefaultValue(values[2]);
        parameter = std::make_unique<ZylRealParameter>(nullptr, 3, 0, &domain, false, L"");
        parameter->addSink(&sink);
    }

    ~ListParameter() override { parameter->removeSink(&sink); }

    std::vector<int> posted()
    {
        zyltest::drainMessageQueue();
        auto codes = codesFrom(sink, parameter->asSender());
        sink.entries.clear();
        return codes;
    }

    ZylTestDomain domain;
    std::vector<ZylValue*> values;
    std::unique_ptr<ZylRealParameter> parameter;
    ZylTestSink sink;
};
} // namespace

TEST_F(ListParameter, FreshParameterReportsTheDefaultButHoldsZeroUntilResent)
{
    EXPECT_EQ(parameter->getValueObject(), values[2]);
    EXPECT_EQ(parameter->getIndex(), 2);
    EXPECT_EQ(parameter->getValue(), 0.0f);
    EXPECT_TRUE(posted().empty());

    parameter->resendValue();
    EXPECT_EQ(posted(), std::vector<int>{ 0x0105 });
    EXPECT_FLOAT_EQ(parameter->getValue(), 0.5f);
    EXPECT_EQ(parameter->getValueText(), L"c");
}

TEST_F(ListParameter, SettingTheCurrentValueAgainPostsOnlyWhenForced)
{
    parameter->setValueObject(values[1], kCauseUser, false, true);
    EXPECT_EQ(posted(), std::vector<int>{ 0x0102 });
    EXPECT_FLOAT_EQ(parameter->getValue(), 0.25f);

    parameter->setValueObject(values[1], kCauseUser, false, true);
    EXPECT_TRUE(posted().empty());
    parameter->setValueObject(values[1], kCauseHost, true, true);
    EXPECT_EQ(posted(), std::vector<int>{ 0x0103 });

    parameter->setValueObject(values[3], kCauseUser, false, false);
    EXPECT_TRUE(posted().empty());
    EXPECT_EQ(parameter->getValueObject(), values[3]);
}

// The epoch moves with every change that alters what a parameter reads as, and with nothing
// else: the audio thread keeps what it read for as long as it stands still.
TEST_F(ListParameter, EveryChangeOfWhatItReadsAsMovesTheParameterEpoch)
{
    ZylTestDomain other;
    auto* otherValue = other.add(L"x");
    ZylRealParameter otherParameter(nullptr, 4, 0, &other, false, L"");
    ZylLinkParameter link(nullptr, parameter.get());
    ZylDynamicTestDomain ports({ L"in A", L"in B" });
    ZylRealParameter port(nullptr, 5, 0, &ports, false, L"");
    ZylTypedTestDomain tempo;
    ZylRealParameter typed(nullptr, 6, 0, &tempo, false, L"");

    struct Case
    {
        const char* what;
        std::function<void()> act;
        bool moves;
    };
    const Case cases[] = {
        { "a list value set", [&] { parameter->setValueObject(values[1], kCauseUser, false, false); }, true },
        { "the same value set again", [&] { parameter->setValueObject(values[1], kCauseUser, false, true); }, false },
        { "the same value forced", [&] { parameter->setValueObject(values[1], kCauseUser, true, false); }, true },
        { "a value of another domain", [&] { parameter->setValueObject(otherValue, kCauseUser, true, true); }, false },
        { "a number set", [&] { typed.setValue(100.0f, kCauseUser, false, false); }, true },
        { "a number refused", [&] { typed.setValue(5.0f, kCauseUser, false, false); }, false },
        { "reads", [&] { (void) parameter->getIndex(); (void) link.getValueObject(); (void) typed.getValue(); }, false },
        { "a link moved", [&] { link.setTarget(&otherParameter); }, true },
        { "a list rebuilt", [&] { ports.setNames({ L"in B", L"in C" }); }, true },
        { "a value's data", [&] { values[0]->setData(3.0); }, true },
        { "a value renamed", [&] { values[0]->setName(L"z", kDomainValueChanged, false); }, true },
    };
    for (const auto& c : cases)
    {
        const auto before = ZylParameterEpoch::current();
        c.act();
        EXPECT_EQ(ZylParameterEpoch::current() != before, c.moves) << c.what;
    }
    zyltest::drainMessageQueue();
}

TEST_F(ListParameter, ValuesTheDomainDoesNotHoldChangeNothing)
{
    ZylTestDomain other;
    other.add(L"x");
    auto* foreign = other.add(L"y"); // index 1, within this list too

    parameter->setValueObject(values[0], kCauseUser, false, false);
    parameter->setValueObject(nullptr, kCauseUser, true, true);
    parameter->setValueObject(foreign, kCauseUser, true, true);
    EXPECT_EQ(parameter->getValueObject(), values[0]);
    EXPECT_TRUE(posted().empty());
}

TEST_F(ListParameter, CauseZeroArrivesAsFiveAndFlagsPostOnlyOnAChange)
{
    parameter->resendValue();
    parameter->setEnabled(false, true);
    parameter->setEnabled(false, false);
    parameter->setGestureActive(true);
    parameter->setGestureActive(true);
    parameter->setWheelAssigned(true);
    parameter->setWheelAssigned(true);
    EXPECT_EQ(posted(), (std::vector<int>{ 0x0105, 0x0205, 0x0405, 0x1D05 }));
    parameter->notifyValueChanged(kCauseUnspecified); // after the first one was delivered
    EXPECT_EQ(posted(), (std::vector<int>{ 0x0105 }));
    EXPECT_FALSE(parameter->isEnabled());
    EXPECT_TRUE(parameter->isGestureActive());
    EXPECT_TRUE(parameter->isWheelAssigned());
}

TEST_F(ListParameter, RenamedValuesArePassedOnWithoutRefreshingTheDisplayText)
{
    parameter->setValueObject(values[1], kCauseUser, false, false);
    values[1]->setName(L"renamed", 0x0502, true);
    EXPECT_EQ(posted(), std::vector<int>{ 0x0502 });
    EXPECT_EQ(parameter->getValueText(), L"renamed");

    // A rebuild after a rename finds the value by its kept id, not its old name.
    domain.rebuilt();
    EXPECT_EQ(posted(), (std::vector<int>{ 0x0104, 0x0704 }));
    EXPECT_EQ(parameter->getValueObject(), values[1]);
}

TEST_F(ListParameter, MessagesFromOtherSendersAreIgnored)
{
    ZylTestDomain other;
    parameter->receiveMessage(static_cast<ZylDomain*>(&other), kDomainListRebuilt, 0);
    parameter->receiveMessage(static_cast<ZylDomain*>(&other), 0x0502, 0);
    EXPECT_TRUE(posted().empty());
}

TEST_F(ListParameter, HostNumbersAreClampedAndNaNIsIgnored)
{
    struct Case
    {
        float host;
        int expectedIndex;
        bool posts;
    };
    const Case cases[] = {
        { 0.6f, 2, false }, // the default already
        { -0.5f, 0, true },
        { 1.5f, 3, true },
        { std::numeric_limits<float>::quiet_NaN(), 3, false }, // keeps the previous value
        { -std::numeric_limits<float>::infinity(), 0, true },
        { 0.25f, 1, true },
    };
    for (const auto& c : cases)
    {
        parameter->setHostValue(c.host, kCauseHost);
        ASSERT_NE(parameter->getValueObject(), nullptr) << c.host;
        EXPECT_EQ(parameter->getIndex(), c.expectedIndex) << c.host;
        EXPECT_EQ(posted(), c.posts ? std::vector<int>{ 0x0103 } : std::vector<int>{}) << c.host;
    }
}

TEST_F(ListParameter, ChangesFasterThanDeliveryWaitAsOneMessagePerCause)
{
    // A host automating in a tight loop: without merging, every change queued a message and the
    // queue grew without bound while the message thread fell behind.
    const int aliveBefore = ZylMessage::getNumAlive();
    for (int i = 0; i < 1000; ++i)
    {
        parameter->setValueObject(values[static_cast<size_t>(i % 4)], kCauseHost, false, true);
        if (i % 10 == 0)
            parameter->setValueObject(values[static_cast<size_t>((i + 1) % 4)], kCauseUser, false, true);
        parameter->setEnabled(i % 2 == 0, true); // not merged: each is delivered
    }
    EXPECT_EQ(ZylMessage::getNumAlive() - aliveBefore, 2 + 1000);
    const auto codes = posted();
    EXPECT_EQ(ZylMessage::getNumAlive(), aliveBefore);
    ASSERT_EQ(codes.size(), 1002u);
    EXPECT_EQ(codes[0], 0x0103);
    EXPECT_EQ(codes[1], 0x0102);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 0x0205), 1000);

    // Delivered, the next change posts again.
    parameter->setValueObject(values[0], kCauseHost, false, true);
    EXPECT_EQ(posted(), std::vector<int>{ 0x0103 });
}

TEST_F(ListParameter, WheelStepsTowardsTheEndsAndStopsThere)
{
    parameter->setValueObject(values[1], kCauseUser, false, false);
    EXPECT_TRUE(parameter->applyWheelStep(1.0f));
    EXPECT_EQ(parameter->getValueObject(), values[0]);
    EXPECT_TRUE(parameter->applyWheelStep(1.0f)); // first again: nothing changes
    EXPECT_EQ(parameter->getValueObject(), values[0]);
    EXPECT_FALSE(parameter->applyWheelStep(0.0f));

    parameter->setValueObject(values[3], kCauseUser, false, false);
    EXPECT_TRUE(parameter->applyWheelStep(-0.5f));
    EXPECT_EQ(parameter->getValueObject(), values[3]);
    EXPECT_EQ(posted(), std::vector<int>{ 0x0102 });
}

TEST(ZylRealParameter, WheelOnARotaryDomainStepsByATwentyFifthOfItsList)
{
    ZylUnitScaleDomain scale(nullptr); // 101 values
    ZylRealParameter parameter(nullptr, 0, -1, &scale, false, L"");
    parameter.applyWheelStep(-1.0f);
    EXPECT_EQ(parameter.getIndex(), 4);
    parameter.applyWheelStep(1.0f);
    parameter.applyWheelStep(1.0f);
    EXPECT_EQ(parameter.getIndex(), 0);
}

TEST(ZylRealParameter, TypedNumberRefusedKeepsTheOldNumberAndPostsOnce)
{
    ZylTypedTestDomain tempo;
    ZylRealParameter parameter(nullptr, 0, 5, &tempo, false, L"");
    ZylTestSink sink;
    parameter.addSink(&sink);

    EXPECT_EQ(parameter.getValue(), 120.0f);
    EXPECT_EQ(parameter.getValueObject(), nullptr);

    parameter.setValue(1000.0f, kCauseUser, false, true);
    zyltest::drainMessageQueue(); // an undelivered refusal would take in the next one
    parameter.setValue(std::numeric_limits<float>::quiet_NaN(), kCauseUser, false, true);
    parameter.setValue(140.0f, kCauseTransport, false, true);
    parameter.setValue(140.0f, kCauseTransport, false, true);
    parameter.resendValue();
    parameter.setHostValue(std::numeric_limits<float>::quiet_NaN(), kCauseHost);
    zyltest::drainMessageQueue();

    EXPECT_EQ(codesFrom(sink, parameter.asSender()),
              (std::vector<int>{ 0x0102, 0x0102, 0x0101, 0x0105 }));
    EXPECT_EQ(parameter.getValue(), 140.0f);
    EXPECT_EQ(parameter.getValueText(), L"140");
    EXPECT_FALSE(parameter.applyWheelStep(1.0f));
    parameter.removeSink(&sink);
}

TEST(ZylRealParameter, NamesFallBackToTheDomain)
{
    ZylNullDomain null(nullptr);
    ZylRealParameter command(nullptr, 0, -1, &null, false, L"");
    EXPECT_EQ(command.getName(), L"null");

    ZylTypedTestDomain tempo;
    ZylRealParameter named(nullptr, 0, 0, &tempo, false, L"Speed");
    named.setNamePrefix(L"Tr ");
    named.setNameSuffix(L"!");
    EXPECT_EQ(named.getName(), L"Speed");
    EXPECT_EQ(named.getShortName(), L"Tempo");
    EXPECT_EQ(named.getFullName(), L"Tr Speed!");
}

TEST(ZylRealParameter, OwnedDomainIsDeletedWithTheParameter)
{
    struct TrackedDomain : ZylTestDomain
    {
        explicit TrackedDomain(bool& flag) : deleted(flag) { add(L"only"); }
        ~TrackedDomain() override { deleted = true; }
        bool& deleted;
    };
    bool deleted = false;
    {
        ZylRealParameter parameter(nullptr, 0, 0, new TrackedDomain(deleted), true, L"");
        EXPECT_EQ(parameter.getValueText(), L"only");
    }
    EXPECT_TRUE(deleted);
}

TEST(ZylRealParameter, StateElementsRoundTripForEveryDomainKind)
{
    ZylTestDomain fixed;
    fixed.add(L"x");
    auto* y = fixed.add(L"y");
    y->setId(42);
    ZylDynamicTestDomain dynamic({ L"Port A", L"Port B" });
    ZylTypedTestDomain typed;

    ZylRealParameter fixedSource(nullptr, 7, 0, &fixed, false, L"");
    ZylRealParameter dynamicSource(nullptr, 7, 0, &dynamic, false, L"");
    ZylRealParameter typedSource(nullptr, 7, 0, &typed, false, L"");
    fixedSource.setValueObject(y, kCauseUser, false, false);
    dynamicSource.setValueObject(dynamic.getValues()[1], kCauseUser, false, false);
    typedSource.setValue(133.5f, kCauseUser, false, false);

    struct Case
    {
        ZylRealParameter* source;
        const char* expectedText;
    };
    const Case cases[] = {
        { &fixedSource, "<pv i=\"7\" v=\"42\"/>" },
        { &dynamicSource, "<pv i=\"7\" v=\"Port B\"/>" },
        { &typedSource, "<pv i=\"7\" v=\"133.5\"/>" },
    };
    for (const auto& c : cases)
    {
        const auto element = c.source->createXml();
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->toString(juce::XmlElement::TextFormat().singleLine().withoutHeader()),
                  c.expectedText);

        ZylRealParameter target(nullptr, 7, 0, c.source->getDomain(), false, L"");
        ZylTestSink sink;
        target.addSink(&sink);
        target.restoreFromXml(*element, false, true);
        zyltest::drainMessageQueue();
        EXPECT_EQ(target.getValueText(), c.source->getValueText());
        EXPECT_EQ(codesFrom(sink, target.asSender()), std::vector<int>{ 0x0105 });
        target.removeSink(&sink);
    }
}

TEST(ZylRealParameter, StateElementsForOtherParametersOrUnknownValuesChangeNothing)
{
    ZylTestDomain fixed;
    fixed.add(L"x");
    fixed.add(L"y");
    ZylDynamicTestDomain dynamic({ L"Port A" });
    ZylRealParameter fixedParameter(nullptr, 2, 0, &fixed, false, L"");
    ZylRealParameter dynamicParameter(nullptr, 2, 0, &dynamic, false, L"");

    ZylDebugCapture capture;
    fixedParameter.restoreFromXml(*juce::parseXML("<pv i=\"3\" v=\"1\"/>"), false, false);
    EXPECT_EQ(fixedParameter.getValueText(), L"x");
    EXPECT_TRUE(capture.getLines().empty());

    fixedParameter.restoreFromXml(*juce::parseXML("<pv i=\"2\" v=\"77\"/>"), false, false);
    dynamicParameter.restoreFromXml(*juce::parseXML("<pv i=\"2\" v=\"Gone\"/>"), false, false);
    EXPECT_EQ(fixedParameter.getValueText(), L"x");
    EXPECT_EQ(dynamicParameter.getValueText(), L"Port A");
    EXPECT_EQ(capture.getLines(), (std::vector<juce::String>{ "unknown index value id=77",
                                                              "unknown display value id=Gone" }));
}

TEST(ZylRealParameter, RebuiltDynamicListKeepsTheValueOfTheSameNameOrFallsBackToTheDefault)
{
    ZylDynamicTestDomain devices({ L"A", L"B", L"C" });
    ZylRealParameter parameter(nullptr, 0, 0, &devices, false, L"");
    ZylTestSink sink;
    parameter.addSink(&sink);
    parameter.setValueObject(devices.getValues()[1], kCauseUser, false, false);

    devices.setNames({ L"C", L"B" });
    zyltest::drainMessageQueue();
    EXPECT_EQ(parameter.getValueText(), L"B");
    EXPECT_EQ(parameter.getIndex(), 1);
    EXPECT_EQ(codesFrom(sink, parameter.asSender()), (std::vector<int>{ 0x0104, 0x0704 }));

    devices.setNames({ L"X", L"Y" });
    zyltest::drainMessageQueue();
    EXPECT_EQ(parameter.getValueText(), L"X");
    parameter.removeSink(&sink);
}

TEST(ZylRealParameter, EveryReaderSeesTheKeptValueAsSoonAsTheListIsRebuilt)
{
    // Through a filtered view: b is selected at place 1 of [a, b]; the new filter shows [b, c],
    // which puts c at that place.
    ZylTestDomain letters;
    letters.add(L"a", { 1 });
    auto* b = letters.add(L"b", { 1, 2 });
    letters.add(L"c", { 2 });
    ZylFilteredLinkDomain view(&letters);
    view.setFilterTag(1);
    ZylRealParameter chosen(nullptr, 6, 0, &view, false, L"");
    ZylTestSink sink;
    chosen.addSink(&sink);
    chosen.setValueObject(b, kCauseUser, false, false);
    zyltest::drainMessageQueue();

    view.setFilterTag(2);
    // Before any message is delivered.
    EXPECT_EQ(chosen.getValueObject(), b);
    EXPECT_EQ(chosen.getIndex(), 0);
    EXPECT_EQ(chosen.getValue(), 0.0f);
    EXPECT_EQ(chosen.getValueText(), L"b");
    EXPECT_EQ(chosen.createXml()->getIntAttribute("v"), b->getId());
    zyltest::drainMessageQueue();
    EXPECT_EQ(codesFrom(sink, chosen.asSender()), (std::vector<int>{ 0x0104, 0x0704 }));
    chosen.removeSink(&sink);

    // A rebuilt dynamic list: B moves from place 1 to place 0.
    ZylDynamicTestDomain devices({ L"A", L"B" });
    ZylRealParameter device(nullptr, 0, 0, &devices, false, L"");
    device.setValueObject(devices.getValues()[1], kCauseUser, false, false);
    devices.setNames({ L"B", L"C" });
    EXPECT_EQ(device.getValueText(), L"B");
    EXPECT_EQ(device.getIndex(), 0);
    ASSERT_NE(device.getValueObject(), nullptr);
    EXPECT_EQ(device.getValueObject()->getName(), L"B");
    zyltest::drainMessageQueue();
}

namespace
{
constexpr int kAll = 1;
constexpr int kSixths = 2;
constexpr int kNothing = 3;

// Two chords share the name "M6": the four-note chord (id 11) and the dyad (id 10).
struct ChordView : ::testing::Test
{
    ChordView()
    {
        auto* unison = chords.add(L"U", { kAll });
        dyad = chords.add(L"M6", { kAll, kSixths });
        sixth = chords.add(L"M6", { kAll });
        unison->setId(9);
        dyad->setId(10);
        sixth->setId(11);
        view = std::make_unique<ZylFilteredLinkDomain>(&chords);
        chord = std::make_unique<ZylRealParameter>(nullptr, 4, 0, view.get(), false, L"");
        chord->addSink(&sink);
    }

    ~ChordView() override { chord->removeSink(&sink); }

    std::vector<int> filterTo(int tag)
    {
        sink.entries.clear();
        view->setFilterTag(tag);
        zyltest::drainMessageQueue();
        return codesFrom(sink, chord->asSender());
    }

    ZylTestDomain chords;
    ZylValue* dyad = nullptr;
    ZylValue* sixth = nullptr;
    std::unique_ptr<ZylFilteredLinkDomain> view;
    std::unique_ptr<ZylRealParameter> chord;
    ZylTestSink sink;
};
} // namespace

TEST_F(ChordView, FilterChangeKeepsTheSelectedChordWhenAnotherSharesItsName)
{
    chord->setValueObject(sixth, kCauseUser, false, false);

    EXPECT_EQ(filterTo(kAll), (std::vector<int>{ 0x0104, 0x0704 }));
    EXPECT_EQ(chord->getValueObject(), sixth);
    EXPECT_FLOAT_EQ(chord->getValue(), 2.0f / 3.0f);

    // Hidden by the filter: the chord of the same name is taken.
    filterTo(kSixths);
    EXPECT_EQ(chord->getValueObject(), dyad);
}

TEST_F(ChordView, EmptyViewReadsAsNothingAndWritesNoState)
{
    chord->setValueObject(sixth, kCauseUser, false, false);

    EXPECT_EQ(filterTo(kNothing), std::vector<int>{ 0x0704 });
    EXPECT_EQ(chord->getValueObject(), nullptr);
    EXPECT_EQ(chord->getValue(), 0.0f);
    EXPECT_EQ(chord->getValueText(), L"");
    EXPECT_EQ(chord->createXml(), nullptr);
    EXPECT_FALSE(chord->applyWheelStep(1.0f));
    EXPECT_FALSE(chord->applyWheelStep(-1.0f));
    chord->setHostValue(0.5f, kCauseHost);
    chord->resendValue();
    zyltest::drainMessageQueue();
    EXPECT_EQ(codesFrom(sink, chord->asSender()), std::vector<int>{ 0x0704 });

    // The chord comes back when the filter shows it again.
    filterTo(0);
    EXPECT_EQ(chord->getValueObject(), sixth);
}

TEST_F(ChordView, StoredChordHiddenByTheFilterLeavesTheParameterUnchanged)
{
    filterTo(kSixths);
    ASSERT_EQ(chord->getValueObject(), dyad);
    chord->restoreFromXml(*juce::parseXML("<pv i=\"4\" v=\"11\"/>"), false, false);
    EXPECT_EQ(chord->getValueObject(), dyad);
}
