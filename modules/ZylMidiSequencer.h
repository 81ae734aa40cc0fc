#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// The built-in tracks: standard MIDI files, one track of which plays into a block's MIDI buffer
// at the transport's musical position, looped to whole bars.
//
// Event times are taken as ticks at 96 per quarter note whatever the file's header says. Files
// are added once on the message thread before audio starts; renderTrack runs on the audio thread
// and only reads them. It allocates only when out has to grow (callers size it beforehand).
class ZylMidiSequencer
{
public:
    static constexpr double kTicksPerQuarter = 96.0;

    ZylMidiSequencer() = default;
    virtual ~ZylMidiSequencer() = default;

    // Adds the events of one block of numSamples samples starting at ppqPosition (in quarter
    // notes) to out, at sample offsets counted from the block's start. The window is half-open:
    // an event at the block's end belongs to the next block. Meta events are never sent. A
    // file or track index outside the list, an empty track or one whose events all sit at tick
    // 0 (loop length 0) renders nothing. Events on the loop's end go out at tick 0 of the pass
    // after it; the first pass (a position below one loop length) starts without them.
    virtual void renderTrack(int file, int track, double ppqPosition, int numSamples,
                             double samplesPerBeat, int beatsPerBar, juce::MidiBuffer& out) const;

    // Reads a standard MIDI file from stream and appends it; false (nothing appended) when the
    // stream is not one.
    virtual bool addMidiFile(juce::InputStream& stream);

    // Appends every entry of the zip archive in entry order; stops at the first entry that is
    // missing, damaged or not a MIDI file and returns false then (the entries before it stay).
    virtual bool addMidiFilesFromZip(juce::InputStream& zip);

    virtual const juce::OwnedArray<juce::MidiFile>& getFiles() const;

    // The loop length in ticks: the time of the track's last event (meta events included),
    // rounded up to whole bars of beatsPerBar quarter notes when beatsPerBar is above 0.
    static double getLoopLength(const juce::MidiMessageSequence& track, int beatsPerBar);

private:
    juce::OwnedArray<juce::MidiFile> files;

    JUCE_DECLARE_NON_COPYABLE(ZylMidiSequencer)
};
