#include "modules/ZylMidiSequencer.h"

#include "framework/ZylDebug.h"
#include "resources/ZylEmbeddedArchive.h"

#include <cmath>

namespace
{
// Adds the sendable events whose loop time lies in [from, to) to out. Times are shifted by
// shift ticks and measured from start to give the sample offset. Events that sit exactly on the
// loop's end are the same instant as tick 0 of the next pass: they go out at tick 0, before
// that tick's own events, so a note released on the loop's end is released before the note
// that starts the loop again. Only a pass that follows one hands them on (afterAPass): the
// first pass has played nothing they could end.
void renderSpan(const juce::MidiMessageSequence& track, double loopLength, double from, double to,
                double shift, double start, double samplesPerBeat, int numSamples,
                bool afterAPass, juce::MidiBuffer& out)
{
    const auto addAt = [&](const juce::MidiMessage& message, double time) {
        if (message.isMetaEvent() || message.getRawDataSize() <= 0)
            return;
        const double ticks = std::floor(time + shift - start);
        const int offset = juce::jlimit(
            0, numSamples - 1,
            (int) (ticks * samplesPerBeat / ZylMidiSequencer::kTicksPerQuarter));
        out.addEvent(message.getRawData(), message.getRawDataSize(), offset);
    };

    const int numEvents = track.getNumEvents();
    if (afterAPass && from <= 0.0 && 0.0 < to)
    {
        for (int i = track.getNextIndexAtTime(loopLength); i < numEvents; ++i)
            addAt(track.getEventPointer(i)->message, 0.0);
    }
    for (int i = track.getNextIndexAtTime(from); i < numEvents; ++i)
    {
        const auto& message = track.getEventPointer(i)->message;
        const double time = message.getTimeStamp();
        if (time >= to || time >= loopLength)
            break;
        addAt(message, time);
    }
}
} // namespace

void ZylMidiSequencer::renderTrack(int file, int track, double ppqPosition, int numSamples,
                                   double samplesPerBeat, int beatsPerBar,
                                   juce::MidiBuffer& out) const
{
    if (!juce::isPositiveAndBelow(file, files.size()) || numSamples <= 0
        || !(samplesPerBeat > 0.0) || !std::isfinite(ppqPosition))
        return;
    const juce::MidiMessageSequence* sequence = files.getUnchecked(file)->getTrack(track);
    if (sequence == nullptr)
        return;

    const double loopLength = getLoopLength(*sequence, beatsPerBar);
    if (!(loopLength > 0.0))
        return;

    double position = ppqPosition * kTicksPerQuarter;
    const double blockLength = numSamples / samplesPerBeat * kTicksPerQuarter;
    const double pass = std::floor(position / loopLength);
    position -= pass * loopLength;
    const double end = position + blockLength;

    renderSpan(*sequence, loopLength, position, juce::jmin(end, loopLength), 0.0, position,
               samplesPerBeat, numSamples, pass >= 1.0, out);
    if (end > loopLength)
        renderSpan(*sequence, loopLength, 0.0, end - loopLength, loopLength, position,
                   samplesPerBeat, numSamples, true, out);
}

bool ZylMidiSequencer::addMidiFile(juce::InputStream& stream)
{
    auto midiFile = std::make_unique<juce::MidiFile>();
    if (!midiFile->readFrom(stream))
        return false;
    files.add(midiFile.release());
    return true;
}

bool ZylMidiSequencer::addMidiFilesFromZip(juce::InputStream& zip)
{
    juce::ZipFile archive(zip);
    for (int i = 0; i < archive.getNumEntries(); ++i)
    {
        juce::MemoryBlock bytes;
        if (!ZylEmbeddedArchive::readZipEntry(archive, i, bytes, "MIDI files"))
            return false;
        juce::MemoryInputStream stream(bytes, false);
        if (!addMidiFile(stream))
        {
            zylDebugLine("MIDI files: entry " + archive.getEntry(i)->filename + " is not a MIDI file");
            return false;
        }
    }
    return true;
}

const juce::OwnedArray<juce::MidiFile>& ZylMidiSequencer::getFiles() const
{
    return files;
}

double ZylMidiSequencer::getLoopLength(const juce::MidiMessageSequence& track, int beatsPerBar)
{
    double loopLength = track.getNumEvents() > 0 ? track.getEndTime() : 0.0;
    if (beatsPerBar > 0 && loopLength > 0.0)
    {
        const double barLength = beatsPerBar * kTicksPerQuarter;
        if (std::fmod(loopLength, barLength) != 0.0)
            loopLength = (std::floor(loopLength / barLength) + 1.0) * barLength;
    }
    return loopLength;
}
