#include "framework/ZylDomainCommand.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylRealParameter.h"
#include "framework/ZylValue.h"
#include "modules/ZylBpmDomain.h"
#include "modules/ZylMidiFromChannelDomain.h"
#include "modules/ZylMidiFromDeviceDomain.h"
#include "modules/ZylMidiFromFileDomain.h"
#include "modules/ZylMidiInputDomainSet.h"
#include "modules/ZylMidiOutputDomainSet.h"
#include "modules/ZylMidiToChannelDomain.h"
#include "modules/ZylMidiToDeviceDomain.h"
#include "modules/ZylTimeSigDenominatorDomain.h"
#include "modules/ZylTimeSigNumeratorDomain.h"
#include "modules/ZylTimeUnitDomain.h"
#include "modules/ZylTransportDomainSet.h"
#include "modules/ZylTransportStateDomain.h"
#include "tests/TestHelpers.h"
#include "tests/framework/ZylTestDomain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace
{
struct ValueText
{
    std::wstring name;
    std::wstring label; // as stored: getLabel falls back to the name, so compare by hand
    std::wstring description;
    double data;
};

struct DomainCase
{
    const char* what;
    ZylDomain* domain;
    std::wstring shortName;
    std::wstring name;
    std::wstring description;
    int controlType;
    bool fixed;
    bool dynamic;
    std::vector<ValueText> values;
    int defaultIndex;
};

// Every value's texts, data, id, index and position (value i of n at i / n).
void expectDomain(const DomainCase& c)
{
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.domain->getShortName(), c.shortName);
    EXPECT_EQ(c.domain->getName(), c.name);
    EXPECT_EQ(c.domain->getDescription(), c.description);
    EXPECT_EQ(c.domain->getControlType(), c.controlType);
    EXPECT_EQ(c.domain->hasFixedValues(), c.fixed);
    EXPECT_EQ(c.domain->hasDynamicValues(), c.dynamic);
    const auto& values = c.domain->getValues();
    ASSERT_EQ(values.size(), c.values.size());
    for (size_t i = 0; i < values.size(); ++i)
    {
        SCOPED_TRACE(i);
        const auto& expected = c.values[i];
        EXPECT_EQ(values[i]->getName(), expected.name);
        EXPECT_EQ(values[i]->getLabel(), expected.label.empty() ? expected.name : expected.label);
        EXPECT_EQ(values[i]->getDescription(), expected.description);
        EXPECT_EQ(values[i]->getData(), expected.data);
        EXPECT_EQ(values[i]->getId(), static_cast<int>(i));
        EXPECT_EQ(values[i]->getIndex(), static_cast<int>(i));
        EXPECT_FLOAT_EQ(values[i]->getPosition(),
                        static_cast<float>(i) * (1.0f / static_cast<float>(values.size())));
        EXPECT_EQ(values[i]->getCode(), 0);
    }
    ASSERT_NE(c.domain->getDefaultValue(), nullptr);
    EXPECT_EQ(c.domain->getDefaultValue()->getIndex(), c.defaultIndex);
}

std::vector<ValueText> channelValues(int first)
{
    std::vector<ValueText> list;
    for (int channel = first; channel <= 16; ++channel)
        list.push_back({ std::to_wstring(channel), L"", L"", 0.0 });
    return list;
}

std::vector<int> rebuiltCodes(ZylTestSink& sink, ZylDomain* domain)
{
    zyltest::drainMessageQueue();
    auto codes = codesFrom(sink, domain);
    sink.entries.clear();
    return codes;
}
} // namespace

TEST(TransportVocabularies, TextsValuesAndDefaults)
{
    ZylTransportDomainSet set;
    const auto& domains = set.getDomains();
    ASSERT_EQ(domains.size(), 5u);
    EXPECT_EQ(domains[ZylTransportDomainSet::kBpmPlace], set.getBpmDomain());
    EXPECT_EQ(domains[ZylTransportDomainSet::kNumeratorPlace], set.getNumeratorDomain());
    EXPECT_EQ(domains[ZylTransportDomainSet::kDenominatorPlace], set.getDenominatorDomain());
    EXPECT_EQ(domains[ZylTransportDomainSet::kTimeUnitPlace], set.getTimeUnitDomain());
    EXPECT_EQ(domains[ZylTransportDomainSet::kStatePlace], set.getStateDomain());
    for (auto* domain : domains)
        EXPECT_EQ(domain->getDomainSet(), &set);

    const DomainCase cases[] = {
        { "bpm", set.getBpmDomain(), L"Bpm", L"Beats per minute", L"Tempo in beats per minute",
          kControlNone, false, false, { { L"120.00", L"", L"", 120.0 } }, 0 },
        { "numerator", set.getNumeratorDomain(), L"../4", L"TS Numerator",
          L"Time signature numerator", kControlNone, false, false, { { L"4", L"", L"", 4.0 } }, 0 },
        { "denominator", set.getDenominatorDomain(), L"4/..", L"TS Denominator",
          L"Time signature denominator", kControlNone, false, false,
          { { L"4", L"", L"", 4.0 } }, 0 },
        { "time unit", set.getTimeUnitDomain(), L"Unit", L"Time Unit", L"Time Unit", kControlCombo,
          true, false,
          { { L"Bar", L"Bar", L"Bar time unit", 0.0 },
            { L"Beat", L"Beat", L"Beat time unit", 1.0 },
            { L"1/4", L"1/4", L"1/4 note duration", 2.0 } },
          0 },
        { "state", set.getStateDomain(), L"Transport", L"Transport state",
          L"Transport state: stopped, armed or playing", kControlCombo, true, false,
          { { L"Stopped", L"Stopped", L"Transport is stopped", 0.0 },
            { L"Armed", L"Armed", L"Transport is armed", 0.0 },
            { L"Playing", L"Playing", L"Transport is playing", 0.0 } },
          0 },
    };
    for (const auto& c : cases)
        expectDomain(c);

    const auto* states = set.getStateDomain();
    EXPECT_EQ(states->getStopped(), states->getValues()[0]);
    EXPECT_EQ(states->getArmed(), states->getValues()[1]);
    EXPECT_EQ(states->getPlaying(), states->getValues()[2]);
}

TEST(TransportVocabularies, TypedNumbersCheckOnlyTheirInclusiveRange)
{
    ZylTransportDomainSet set;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case
    {
        ZylDomain* domain;
        float number;
        bool valid;
    };
    const Case cases[] = {
        { set.getBpmDomain(), 20.0f, true },       { set.getBpmDomain(), 999.0f, true },
        { set.getBpmDomain(), 19.99f, false },     { set.getBpmDomain(), 999.01f, false },
        { set.getBpmDomain(), 123.456f, true },    { set.getBpmDomain(), nan, false },
        { set.getBpmDomain(), inf, false },        { set.getNumeratorDomain(), 0.0f, false },
        { set.getNumeratorDomain(), 1.0f, true },  { set.getNumeratorDomain(), 99.0f, true },
        { set.getNumeratorDomain(), 6.5f, true },  { set.getNumeratorDomain(), 99.5f, false },
        { set.getNumeratorDomain(), nan, false },  { set.getDenominatorDomain(), 16.0f, true },
        { set.getDenominatorDomain(), 17.0f, false }, { set.getDenominatorDomain(), 3.0f, true },
        { set.getDenominatorDomain(), 0.5f, false }, { set.getDenominatorDomain(), -4.0f, false },
        { set.getDenominatorDomain(), nan, false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.domain->isValidNumber(c.number), c.valid)
            << juce::String(c.domain->getShortName().c_str()) << " " << c.number;

    // A parameter on a typed-number domain keeps any accepted number; the list stays one value.
    ZylParameterSet parameters;
    auto* bpm = parameters.createParameter(0, -1, set.getBpmDomain());
    EXPECT_EQ(bpm->getValue(), 120.0f);
    bpm->setValue(133.5f, kCauseUser, false, false);
    EXPECT_EQ(bpm->getValue(), 133.5f);
    bpm->setValue(1000.0f, kCauseUser, false, false);
    EXPECT_EQ(bpm->getValue(), 133.5f);
    EXPECT_EQ(set.getBpmDomain()->getValues().size(), 1u);
}

TEST(MidiVocabularies, TextsValuesAndDefaults)
{
    ZylMidiInputDomainSet input;
    ZylMidiOutputDomainSet output;
    ASSERT_EQ(input.getDomains().size(), 3u);
    EXPECT_EQ(input.getDomains()[ZylMidiInputDomainSet::kDevicePlace], input.getDeviceDomain());
    EXPECT_EQ(input.getDomains()[ZylMidiInputDomainSet::kChannelPlace], input.getChannelDomain());
    EXPECT_EQ(input.getDomains()[ZylMidiInputDomainSet::kTrackPlace], input.getTrackDomain());
    ASSERT_EQ(output.getDomains().size(), 2u);
    auto* toDevice = dynamic_cast<ZylMidiToDeviceDomain*>(
        output.getDomains()[ZylMidiOutputDomainSet::kDevicePlace]);
    auto* toChannel = dynamic_cast<ZylMidiToChannelDomain*>(
        output.getDomains()[ZylMidiOutputDomainSet::kChannelPlace]);
    ASSERT_NE(toDevice, nullptr);
    ASSERT_NE(toChannel, nullptr);

    auto inputChannels = channelValues(1);
    inputChannels.insert(inputChannels.begin(),
                         { L"All", L"All", L"Receiving from all channels", 0.0 });

    const DomainCase cases[] = {
        { "input device", input.getDeviceDomain(), L"Midi In", L"Midi Input Device",
          L"Midi device we receive our input from", kControlCombo, false, true,
          { { L"Not connected", L"Not connected", L"Not connected", 0.0 },
            { L"Track", L"Midi track", L"Built-in midi input tracks", 0.0 },
            { L"VST/AU host", L"VST/AU host",
              L"Connected to host application hosting VST/AU plug-in", 0.0 } },
          1 },
        { "input channel", input.getChannelDomain(), L"Channel", L"Midi input channel",
          L"Midi channel we are receiving input from", kControlCombo, true, false, inputChannels,
          0 },
        { "input track", input.getTrackDomain(), L"Track", L"Midi Input Track",
          L"Midi track we receive our input from", kControlCombo, false, true,
          { { L"<none>", L"<no tracks>", L"<no tracks>", 0.0 } }, 0 },
        { "output device", toDevice, L"Midi Out", L"Midi Output Device",
          L"Midi device we send our output to", kControlCombo, false, true,
          { { L"Not connected", L"Not connected", L"Not connected", 0.0 },
            { L"VST host", L"VST host", L"Connected to host application hosting VST plug-in",
              0.0 },
            { L"Built-in synth", L"Built-in synth", L"Connected to internal synth", 0.0 } },
          2 },
        { "output channel", toChannel, L"Channel", L"Midi output channel",
          L"Midi channel we are sending output to", kControlCombo, true, false, channelValues(1),
          0 },
    };
    for (const auto& c : cases)
        expectDomain(c);

    // The channel values other than "All" carry no label or description.
    EXPECT_EQ(input.getChannelDomain()->getValues()[16]->getName(), L"16");
    EXPECT_EQ(toChannel->getValues()[15]->getName(), L"16");
}

TEST(MidiVocabularies, DeviceListsOfferConfigureWhichPostsTheMidiSettingsCommand)
{
    ZylMidiInputDomainSet input;
    ZylMidiOutputDomainSet output;
    for (auto* domain : { static_cast<ZylDomain*>(input.getDeviceDomain()),
                          output.getDomains()[ZylMidiOutputDomainSet::kDevicePlace] })
    {
        const auto& commands = domain->getCommands();
        ASSERT_EQ(commands.size(), 1u);
        EXPECT_EQ(commands[0]->getLabel(), L"Configure...");
        EXPECT_EQ(commands[0]->getId(), kCommandMidiSettings);
        EXPECT_TRUE(commands[0]->isEnabled());

        ZylTestSink sink;
        domain->addSink(&sink);
        domain->postCommand(domain->findCommand(kCommandMidiSettings));
        EXPECT_EQ(rebuiltCodes(sink, domain), std::vector<int> { 0x0A06 });
        domain->removeSink(&sink);
    }
    EXPECT_TRUE(input.getChannelDomain()->getCommands().empty());
    EXPECT_TRUE(input.getTrackDomain()->getCommands().empty());
}

TEST(MidiVocabularies, DeviceListsRebuildFromPortNamesAndPostEveryTime)
{
    ZylMidiInputDomainSet input;
    ZylMidiOutputDomainSet output;
    auto* fromDevice = input.getDeviceDomain();
    auto* toDevice =
        dynamic_cast<ZylMidiToDeviceDomain*>(output.getDomains()[ZylMidiOutputDomainSet::kDevicePlace]);
    ASSERT_NE(toDevice, nullptr);

    struct Case
    {
        ZylRealDomain* domain;
        std::function<void(const std::vector<std::wstring>&)> rebuild;
        std::wstring defaultName;
    };
    const Case cases[] = {
        { fromDevice, [&](const auto& names) { fromDevice->setDeviceNames(names); }, L"Track" },
        { toDevice, [&](const auto& names) { toDevice->setDeviceNames(names); }, L"Built-in synth" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(juce::String(c.domain->getName().c_str()));
        ZylTestSink sink;
        c.domain->addSink(&sink);

        c.rebuild({ L"Port B", L"Port A" });
        const auto& values = c.domain->getValues();
        ASSERT_EQ(values.size(), 5u);
        EXPECT_EQ(values[3]->getName(), L"Port B");
        EXPECT_EQ(values[3]->getLabel(), L"Port B");
        EXPECT_EQ(values[3]->getDescription(), L"Port B");
        EXPECT_EQ(values[4]->getName(), L"Port A");
        EXPECT_EQ(values[4]->getId(), 4);
        EXPECT_FLOAT_EQ(values[4]->getPosition(), 0.8f);
        EXPECT_EQ(c.domain->getDefaultValue()->getName(), c.defaultName);
        EXPECT_EQ(rebuiltCodes(sink, c.domain), std::vector<int> { kDomainListRebuilt });

        // The same list again still posts; an empty one leaves the three fixed values.
        c.rebuild({ L"Port B", L"Port A" });
        EXPECT_EQ(rebuiltCodes(sink, c.domain), std::vector<int> { kDomainListRebuilt });
        c.rebuild({});
        EXPECT_EQ(c.domain->getValues().size(), 3u);
        EXPECT_EQ(c.domain->getDefaultValue()->getName(), c.defaultName);
        EXPECT_EQ(rebuiltCodes(sink, c.domain), std::vector<int> { kDomainListRebuilt });
        c.domain->removeSink(&sink);
    }
}

TEST(MidiVocabularies, AParameterKeepsItsPortAcrossARebuildByName)
{
    ZylMidiInputDomainSet input;
    auto* devices = input.getDeviceDomain();
    devices->setDeviceNames({ L"Keys", L"Pads" });
    ZylParameterSet parameters;
    auto* source = parameters.createParameter(0, -1, devices);
    source->setValueObject(devices->findByName(L"Pads"), kCauseUser, false, false);

    devices->setDeviceNames({ L"Pads" });
    zyltest::drainMessageQueue();
    ASSERT_NE(source->getValueObject(), nullptr);
    EXPECT_EQ(source->getValueObject()->getName(), L"Pads");
    EXPECT_EQ(source->getIndex(), 3);

    // A port that is gone falls back to the default, "Track".
    devices->setDeviceNames({});
    zyltest::drainMessageQueue();
    EXPECT_EQ(source->getValueObject()->getName(), L"Track");
}

TEST(MidiVocabularies, TrackListFollowsTheTracksWithNamesAsMissingDescriptions)
{
    ZylMidiInputDomainSet input;
    auto* tracks = input.getTrackDomain();
    ZylTestSink sink;
    tracks->addSink(&sink);

    tracks->setTrackNames({ L"Waltz", L"Blues", L"March" }, { L"A waltz in 3/4" });
    const auto& values = tracks->getValues();
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0]->getName(), L"Waltz");
    EXPECT_EQ(values[0]->getLabel(), L"Waltz");
    EXPECT_EQ(values[0]->getDescription(), L"A waltz in 3/4");
    EXPECT_EQ(values[1]->getDescription(), L"Blues");
    EXPECT_EQ(values[2]->getDescription(), L"March");
    EXPECT_EQ(values[2]->getIndex(), 2);
    EXPECT_EQ(tracks->getDefaultValue(), values[0]);
    EXPECT_EQ(rebuiltCodes(sink, tracks), std::vector<int> { kDomainListRebuilt });

    tracks->setTrackNames({}, { L"orphan description" });
    ASSERT_EQ(tracks->getValues().size(), 1u);
    EXPECT_EQ(tracks->getValues()[0]->getName(), L"<none>");
    EXPECT_EQ(tracks->getValues()[0]->getLabel(), L"<no tracks>");
    EXPECT_EQ(tracks->getValues()[0]->getDescription(), L"<no tracks>");
    EXPECT_EQ(rebuiltCodes(sink, tracks), std::vector<int> { kDomainListRebuilt });
    tracks->removeSink(&sink);
}
