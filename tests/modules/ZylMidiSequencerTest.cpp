#include "modules/ZylMidiSequencer.h"
#include "resources/ZylEmbeddedArchive.h"
#include "tests/modules/ZylMidiTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace
{
struct TimedEvent
{
    double tick;
    juce::MidiMessage message;
};

// A one-track MIDI file with the given events, written and read back through the sequencer.
bool addTrack(ZylMidiSequencer& sequencer, const std::vector<TimedEvent>& events)
{
    juce::MidiMessageSequence track;
    for (const auto& event : events)
        track.addEvent(event.message, event.tick);
    track.updateMatchedPairs();
    juce::MidiFile file;
    file.setTicksPerQuarterNote(96);
    file.addTrack(track);
    juce::MemoryOutputStream out;
    file.writeTo(out, 0);
    juce::MemoryInputStream in(out.getData(), out.getDataSize(), false);
    return sequencer.addMidiFile(in);
}

juce::MidiMessage on(int note) { return juce::MidiMessage::noteOn(1, note, (juce::uint8) 100); }
juce::MidiMessage off(int note) { return juce::MidiMessage::noteOff(1, note); }

constexpr double kSamplesPerBeat = 24000.0; // 120 beats per minute at 48000 Hz
} // namespace

TEST(ZylMidiSequencer, LoopLengthIsRoundedUpToWholeBars)
{
    struct Case
    {
        double lastEvent;
        int beatsPerBar;
        double loopLength;
    };
    const Case cases[] = {{1000.0, 4, 1152.0}, {768.0, 4, 768.0}, {1000.0, 0, 1000.0},
                          {1000.0, 3, 1152.0}, {0.0, 4, 0.0}};
    for (const auto& c : cases)
    {
        juce::MidiMessageSequence track;
        track.addEvent(on(60), 0.0);
        track.addEvent(off(60), c.lastEvent);
        EXPECT_DOUBLE_EQ(ZylMidiSequencer::getLoopLength(track, c.beatsPerBar), c.loopLength)
            << c.lastEvent << " ticks, " << c.beatsPerBar << " beats a bar";
    }
    EXPECT_DOUBLE_EQ(ZylMidiSequencer::getLoopLength(juce::MidiMessageSequence(), 4), 0.0);
}

TEST(ZylMidiSequencer, EventIsPlacedAtItsWholeTickOffset)
{
    ZylMidiSequencer sequencer;
    ASSERT_TRUE(addTrack(sequencer, {{10.0, on(60)}, {300.0, off(60)}}));
    juce::MidiBuffer out;
    // The event lies 1.9 ticks after the block's start; a 512-sample block covers 2.048 ticks.
    sequencer.renderTrack(0, 0, 8.1 / 96.0, 512, kSamplesPerBeat, 4, out);
    const auto events = zyltest::eventsOf(out);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].first, 250);
    EXPECT_TRUE(events[0].second.isNoteOn());
}

TEST(ZylMidiSequencer, EventOnTheBlockEndIsRenderedOnceInTheNextBlock)
{
    ZylMidiSequencer sequencer;
    ASSERT_TRUE(addTrack(sequencer, {{4.0, on(60)}, {300.0, off(60)}}));
    // 500 samples at 24000 samples per beat are exactly 2 ticks.
    juce::MidiBuffer first, second, third;
    sequencer.renderTrack(0, 0, 0.0, 500, kSamplesPerBeat, 4, first);
    sequencer.renderTrack(0, 0, 2.0 / 96.0, 500, kSamplesPerBeat, 4, second);
    sequencer.renderTrack(0, 0, 4.0 / 96.0, 500, kSamplesPerBeat, 4, third);
    EXPECT_TRUE(first.isEmpty());
    EXPECT_TRUE(second.isEmpty());
    const auto events = zyltest::eventsOf(third);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].first, 0);
}

TEST(ZylMidiSequencer, BlockCrossingTheLoopEndWrapsAndKeepsTheOrderOfTheBarLine)
{
    ZylMidiSequencer sequencer;
    // One 4/4 bar: a note from tick 0 to the bar line, another at 370.
    ASSERT_TRUE(addTrack(sequencer, {{0.0, on(60)}, {370.0, on(64)}, {380.0, off(64)},
                                     {384.0, off(60)}}));
    juce::MidiBuffer out;
    // From tick 368, 24 ticks (6000 samples): the end of the loop and 8 ticks of the next pass.
    sequencer.renderTrack(0, 0, 368.0 / 96.0, 6000, kSamplesPerBeat, 4, out);
    const auto events = zyltest::eventsOf(out);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].first, 2 * 250);
    EXPECT_TRUE(events[0].second.isNoteOn() && events[0].second.getNoteNumber() == 64);
    EXPECT_EQ(events[1].first, 12 * 250);
    EXPECT_TRUE(events[1].second.isNoteOff() && events[1].second.getNoteNumber() == 64);
    // The note ending on the bar line is released before the loop starts it again.
    EXPECT_EQ(events[2].first, 16 * 250);
    EXPECT_TRUE(events[2].second.isNoteOff() && events[2].second.getNoteNumber() == 60);
    EXPECT_EQ(events[3].first, 16 * 250);
    EXPECT_TRUE(events[3].second.isNoteOn() && events[3].second.getNoteNumber() == 60);

    // A position several passes on plays the same as the first pass.
    juce::MidiBuffer later;
    sequencer.renderTrack(0, 0, (368.0 + 5 * 384.0) / 96.0, 6000, kSamplesPerBeat, 4, later);
    EXPECT_EQ(zyltest::eventsOf(later).size(), 4u);
}

TEST(ZylMidiSequencer, BlockEndingOnTheLoopEndLeavesTheBarLineToTheNextBlock)
{
    ZylMidiSequencer sequencer;
    ASSERT_TRUE(addTrack(sequencer, {{0.0, on(60)}, {384.0, off(60)}}));
    juce::MidiBuffer last, next;
    sequencer.renderTrack(0, 0, 382.0 / 96.0, 500, kSamplesPerBeat, 4, last);
    sequencer.renderTrack(0, 0, 384.0 / 96.0, 500, kSamplesPerBeat, 4, next);
    EXPECT_TRUE(last.isEmpty());
    const auto events = zyltest::eventsOf(next);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(events[0].second.isNoteOff());
    EXPECT_TRUE(events[1].second.isNoteOn());
}

TEST(ZylMidiSequencer, OnlyAPassThatHasPlayedHandsOnTheEventsOnItsEnd)
{
    ZylMidiSequencer sequencer;
    ASSERT_TRUE(addTrack(sequencer, {{0.0, on(60)}, {0.0, on(64)}, {384.0, off(64)},
                                     {384.0, off(60)}}));
    struct Case
    {
        double tick;
        int noteOffs;
    };
    // The start of the first pass has nothing before it: no release for notes that never
    // sounded. Every later pass starts with the releases of the pass before it.
    for (const auto& c : { Case { 0.0, 0 }, Case { 384.0, 2 }, Case { 3 * 384.0, 2 } })
    {
        juce::MidiBuffer out;
        sequencer.renderTrack(0, 0, c.tick / 96.0, 500, kSamplesPerBeat, 4, out);
        const auto events = zyltest::eventsOf(out);
        ASSERT_EQ(events.size(), static_cast<size_t>(c.noteOffs + 2)) << "at tick " << c.tick;
        for (size_t i = 0; i < events.size(); ++i)
            EXPECT_EQ(events[i].second.isNoteOff(), static_cast<int>(i) < c.noteOffs)
                << "event " << i << " at tick " << c.tick;
    }
}

TEST(ZylMidiSequencer, MetaEventsCountForTheLoopButAreNeverSent)
{
    ZylMidiSequencer sequencer;
    ASSERT_TRUE(addTrack(sequencer, {{0.0, juce::MidiMessage::textMetaEvent(3, "name")},
                                     {0.0, on(60)},
                                     {96.0, off(60)},
                                     {1000.0, juce::MidiMessage::textMetaEvent(1, "late")}}));
    const auto* track = sequencer.getFiles()[0]->getTrack(0);
    ASSERT_NE(track, nullptr);
    EXPECT_DOUBLE_EQ(ZylMidiSequencer::getLoopLength(*track, 4), 1152.0);

    juce::MidiBuffer out;
    for (double tick = 0.0; tick < 1152.0 * 2; tick += 2.0)
        sequencer.renderTrack(0, 0, tick / 96.0, 500, kSamplesPerBeat, 4, out);
    int sent = 0;
    for (const auto& event : zyltest::eventsOf(out))
    {
        EXPECT_FALSE(event.second.isMetaEvent());
        ++sent;
    }
    EXPECT_EQ(sent, 4); // note on and off, twice
}

TEST(ZylMidiSequencer, NothingToPlayRendersNothing)
{
    ZylMidiSequencer sequencer;
    ASSERT_TRUE(addTrack(sequencer, {}));
    ASSERT_TRUE(addTrack(sequencer, {{0.0, on(60)}, {0.0, off(60)}}));
    ASSERT_TRUE(addTrack(sequencer, {{0.0, on(60)}, {96.0, off(60)}}));
    struct Case
    {
        int file, track;
        double samplesPerBeat;
    };
    const Case cases[] = {{0, 0, kSamplesPerBeat}, {1, 0, kSamplesPerBeat},
                          {3, 0, kSamplesPerBeat}, {-1, 0, kSamplesPerBeat},
                          {2, 1, kSamplesPerBeat}, {2, 0, 0.0}};
    for (const auto& c : cases)
    {
        juce::MidiBuffer out;
        sequencer.renderTrack(c.file, c.track, 0.0, 48000, c.samplesPerBeat, 4, out);
        EXPECT_TRUE(out.isEmpty()) << "file " << c.file << " track " << c.track;
    }
}

TEST(ZylMidiSequencer, ReadsFilesAndStopsAtTheFirstBadZipEntry)
{
    ZylMidiSequencer sequencer;
    juce::MemoryInputStream notMidi("not a MIDI file", 15, false);
    EXPECT_FALSE(sequencer.addMidiFile(notMidi));
    EXPECT_EQ(sequencer.getFiles().size(), 0);

    ZylMidiSequencer source;
    ASSERT_TRUE(addTrack(source, {{0.0, on(60)}, {96.0, off(60)}}));
    juce::MemoryOutputStream midiBytes;
    source.getFiles()[0]->writeTo(midiBytes, 0);

    // A zip entry's date starts in 1980: JUCE's builder cannot write an earlier one.
    const juce::Time date(2020, 0, 1, 0, 0);
    juce::ZipFile::Builder builder;
    builder.addEntry(new juce::MemoryInputStream(midiBytes.getMemoryBlock(), true), 9,
                     "one.mid", date);
    builder.addEntry(new juce::MemoryInputStream("text", 4, true), 9, "two.txt", date);
    builder.addEntry(new juce::MemoryInputStream(midiBytes.getMemoryBlock(), true), 9,
                     "three.mid", date);
    juce::MemoryOutputStream zipBytes;
    ASSERT_TRUE(builder.writeToStream(zipBytes, nullptr));

    juce::MemoryInputStream zip(zipBytes.getData(), zipBytes.getDataSize(), false);
    EXPECT_FALSE(sequencer.addMidiFilesFromZip(zip));
    EXPECT_EQ(sequencer.getFiles().size(), 1);

    juce::MemoryOutputStream emptyZipBytes;
    ASSERT_TRUE(juce::ZipFile::Builder().writeToStream(emptyZipBytes, nullptr));
    juce::MemoryInputStream emptyZip(emptyZipBytes.getData(), emptyZipBytes.getDataSize(), false);
    EXPECT_TRUE(sequencer.addMidiFilesFromZip(emptyZip));
}

// The built-in demo tracks: type 0, 96 ticks per quarter, named in track order, whole bars of
// their own metre, the end of track on the bar line and no note still on there.
TEST(ZylMidiSequencer, DemoTracksLoopCleanly)
{
    const auto archive = ZylEmbeddedArchive::find("demotracks");
    ASSERT_FALSE(archive.isEmpty());
    const juce::String names[] = {juce::String(juce::CharPointer_UTF8("Gymnop\xc3\xa9" "die no. 1")),
                                  "Greensleeves",
                                  "Praeambulum no. 3",
                                  "The Entertainer",
                                  "CMajor scale",
                                  "Pulses 8 x 1/16."};
    for (int index = 0; index < 6; ++index)
    {
        juce::MemoryBlock bytes;
        ASSERT_TRUE(archive.readEntry(index, bytes));
        juce::MemoryInputStream in(bytes, false);
        juce::MidiFile file;
        int fileType = -1;
        ASSERT_TRUE(file.readFrom(in, false, &fileType));
        EXPECT_EQ(fileType, 0);
        EXPECT_EQ(file.getTimeFormat(), 96);
        ASSERT_EQ(file.getNumTracks(), 1);
        const auto& track = *file.getTrack(0);

        juce::String name;
        int numerator = 0;
        double endOfTrack = -1.0;
        std::map<int, int> held;
        int notes = 0;
        for (const auto* event : track)
        {
            const auto& message = event->message;
            if (message.isTrackNameEvent())
                name = message.getTextFromTextMetaEvent();
            else if (message.isTimeSignatureMetaEvent())
            {
                int denominator = 0;
                message.getTimeSignatureInfo(numerator, denominator);
            }
            else if (message.isEndOfTrackMetaEvent())
                endOfTrack = message.getTimeStamp();
            else if (message.isNoteOn())
            {
                ++held[message.getNoteNumber()];
                ++notes;
            }
            else if (message.isNoteOff())
                --held[message.getNoteNumber()];
        }
        EXPECT_EQ(name, names[index]) << index;
        EXPECT_GT(notes, 0) << name;
        ASSERT_GT(numerator, 0) << name;
        const double barLength = numerator * 96.0;
        EXPECT_DOUBLE_EQ(endOfTrack, track.getEndTime()) << name;
        EXPECT_GT(endOfTrack, 0.0) << name;
        EXPECT_DOUBLE_EQ(std::fmod(endOfTrack, barLength), 0.0) << name;
        // Played whole: in the file's metre the loop is the file's own length.
        EXPECT_DOUBLE_EQ(ZylMidiSequencer::getLoopLength(track, numerator), endOfTrack) << name;
        for (const auto& [note, count] : held)
        {
            EXPECT_EQ(count, 0) << name << " note " << note;
        }
    }

    ZylMidiSequencer sequencer;
    auto stream = archive.createStream();
    EXPECT_TRUE(sequencer.addMidiFilesFromZip(*stream));
    EXPECT_EQ(sequencer.getFiles().size(), 6);
}
