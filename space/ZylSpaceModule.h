#pragma once

#include "framework/ZylIntVector.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylMidiKeyboardCable.h"
#include "framework/ZylModule.h"
#include "framework/ZylPin.h"
#include "space/ZylCellFilter.h"
#include "space/ZylChordEnumerator.h"
#include "space/ZylIntCounter.h"
#include "space/ZylTimeStamp.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ZylCell;
class ZylCellSet;
class ZylCellStates;
class ZylChordValue;
class ZylKeyValue;
class ZylLiveSpace;
class ZylMidiInputGroupModule;
class ZylParameter;
class ZylScaleNoteTable;
class ZylScaleValue;
class ZylSpace;
class ZylSpaceDomainSet;
class ZylTransportModule;
class ZylValue;

// The module (id 10000) that turns the pitch space into an instrument. It owns the ten space
// parameters of every program, the space vocabularies, the scale and note-name table, the grid
// and piano live spaces and the piano space. Every block it reads the cells the views pressed
// and, in the MIDI trigger modes, the note held at the MIDI input module, decides the chord,
// voices and places it, writes it back into the live spaces and sends it as MIDI on channel 1.
// It is the cell filter and the chord enumerator of its own chord ranking.
//
// Locks, in this order: the callback lock (held by the caller of a block), the grid live space's
// lock, the piano live space's lock, one parameter's domain lock at a time, a space's own lock.
// The chord list the enumerator walks is the Chord vocabulary's, so its lock (the Chord
// parameter's) is taken before a ranking enters the space, never from inside the callbacks.
// The message-thread reactions take the live-space locks in the same order as a block, so they
// never interleave with one. The keys, the current scale and key, the focus, the trigger members
// and the last and next chord are guarded by the live-space locks.
//
// A block allocates nothing when nothing changed and nothing when a chord is answered from the
// space's caches, once prepareToPlay (or initialise) has sized the scratch; a block that changed
// something posts one message, which allocates.
class ZylSpaceModule : public ZylModule, public ZylCellFilter, public ZylChordEnumerator
{
public:
    static constexpr std::int32_t kModuleId = 10000;
    static constexpr std::int32_t kTransportModuleId = 2000;
    static constexpr std::int32_t kMidiInputGroupModuleId = 3000;

    enum ParameterId
    {
        kSpaceParameterId = 0,
        kLabelParameterId = 1,
        kKeyParameterId = 2,
        kScaleParameterId = 3,
        kChordParameterId = 4,
        kVoicingParameterId = 5,
        kAssistParameterId = 6,
        kTriggerParameterId = 7,
        kOnClickParameterId = 8,
        kChordFilterParameterId = 9,
        kNumParameters = 10
    };

    enum PinIndex
    {
        kKeyboardPin = 0,
        kMidiInPin = 1,
        kMidiOutPin = 2
    };

    // Every event the module sends is on this channel; the MIDI output module maps channels.
    static constexpr int kMidiChannel = 1;
    static constexpr float kDefaultTriggerVelocity = 0.8f;
    // Bytes of scratch MIDI per block sample reserved by prepareToPlay.
    static constexpr int kScratchBytesPerSample = 8;

    explicit ZylSpaceModule(ZylModuleContainer* container);
    ~ZylSpaceModule() override;

    void initialise() override;
    // Sizes the scratch MIDI buffer for the block length.
    void prepareToPlay(double sampleRate, int blockSize) override;
    // The audio stopped (a device restart, or a device that went away): nothing sounds any
    // more, so under both live-space locks the chords and sounding sets go dark and the notes
    // the keyboards held are forgotten; a press still held plays again with the next press.
    void releaseResources() override;
    bool handleMessage(void* sender, int code, int timeMs) override;
    // Restores the program's stored chord filter into its chord list before the parameters, so
    // that the stored chord is found whatever filter the program had before the load.
    void restoreProgramParameters(int index, const juce::XmlElement& element, bool notify) override;
    // With a reset pending, under both live-space locks: clears the secondary layers' sounding
    // sets and the primary layers' chord sets, sends note-offs for the notes still on and
    // forgets them.
    void processPendingReset() override;
    // handleMidiInput and renderChord under both live-space locks; posts kCellStatesChanged
    // through the command parameter when either changed something.
    void process(int numSamples) override;

    virtual ZylSpaceDomainSet* getDomainSet() const;
    virtual ZylParameter* getSpaceParameter() const;
    virtual ZylParameter* getLabelParameter() const;
    virtual ZylParameter* getKeyParameter() const;
    virtual ZylParameter* getScaleParameter() const;
    virtual ZylParameter* getChordParameter() const;
    virtual ZylParameter* getVoicingParameter() const;
    virtual ZylParameter* getAssistParameter() const;
    virtual ZylParameter* getTriggerParameter() const;
    virtual ZylParameter* getOnClickParameter() const;
    virtual ZylParameter* getChordFilterParameter() const;
    virtual ZylTransportModule* getTransportModule() const;
    virtual ZylMidiInputGroupModule* getMidiInputGroupModule() const;
    virtual const ZylScaleNoteTable* getScaleNoteTable() const;
    virtual ZylLiveSpace* getGridSpace() const;
    virtual ZylLiveSpace* getPianoSpace() const;
    virtual ZylPin<ZylMidiKeyboardCable>* getKeyboardPin() const;
    virtual ZylPin<ZylMidiCable>* getMidiInPin() const;
    virtual ZylPin<ZylMidiCable>* getMidiOutPin() const;
    // The trigger members and the last and next chord change inside blocks: read them under the
    // live-space locks.
    virtual float getTriggerVelocity() const;
    virtual int getTriggerNote() const;
    virtual bool isTriggerNoteOn() const;
    virtual ZylChordValue* getLastChord() const;
    virtual ZylCell* getLastRoot() const;
    virtual ZylChordValue* getNextChord() const;
    virtual ZylCell* getNextRoot() const;
    // The chord's name; empty when there is none.
    virtual std::wstring getLastChordName() const;
    virtual std::wstring getNextChordName() const;
    // The root note's name in the current scale and key, without the octave; empty when the
    // root, the scale, the key or the table is missing.
    virtual std::wstring getLastRootName() const;
    virtual std::wstring getNextRootName() const;

    // Cell filter: rejects a missing or unplayable cell and a cell whose note lies outside the
    // current scale and key. The key is "S%02xK%02x" with the scale's and the key's ids.
    const std::string& getFilterKey() override;
    bool rejects(const ZylCell* cell, const ZylSpace* space) override;

    // Chord enumerator: the chords of the Chord parameter's filtered list. The caller holds the
    // Chord parameter's lock. The key is "A%02xF%02x" with the Assist and Ch Filter values' ids.
    int getNumChords() override;
    ZylChordValue* getChord(int index) override;
    const std::string& getEnumeratorKey() override;

    // Rewrites both keys from the current values; empty when a value is missing.
    void updateKeys();

    // The steps of a block, all called with both live-space locks held. Each returns whether it
    // changed something the views show.
    bool handleMidiInput(int numSamples);
    bool renderChord(int numSamples);
    bool decideChord(ZylLiveSpace& liveSpace);
    // The steps below take the Assist value that decideChord read once for the block.
    // The voiced and placed chord of the first root (none without one); steps the chord counter
    // as the assist asks and records the last root and chord.
    void chordFromRoots(const std::vector<ZylCell*>& roots, ZylSpace* space, const ZylValue* assist,
                        std::vector<ZylCell*>& cells);
    // The chord for the root: the Chord parameter's value in the manual assists, the shape
    // number value (taken modulo the number of shapes) of the ranking in the fit assists.
    ZylChordValue* pickChord(const ZylCell* root, ZylSpace* space, std::int32_t value,
                             const ZylValue* assist);
    // The chord's cells around the root after voicing; none when it cannot be placed whole.
    void voiceAndPlace(const ZylCell* root, const ZylChordValue* chord, ZylSpace* space,
                       const ZylValue* assist, std::vector<ZylCell*>& cells);
    // Each interval moves by its offset (0 past the end of offsets); with after-sort offsets
    // (may be null or empty) the result is then sorted ascending and entry i moves by
    // afterSort[i]. All in semitones; out must not be intervals.
    static void applyVoicing(const ZylIntVector& intervals, const ZylIntVector& offsets,
                             const ZylIntVector* afterSort, ZylIntVector& out);
    // The preview: the chord the first selected cell would play, without stepping the counter.
    void nextFromRoot(const std::vector<ZylCell*>& selected, ZylSpace* space, const ZylValue* assist,
                      std::vector<ZylCell*>& cells);
    // The notes on in any channel of a keyboard state, one bit per note.
    struct HeldNotes
    {
        std::uint64_t bits[2] = { 0, 0 };
    };
    // Shows every cell of every note held in the keyboard state (may be null; held are its
    // notes) on the live space's secondary layer. Skips the look-up when the held notes, the
    // space and its cells are those it last showed and nothing has touched the layer's set since.
    bool showMidiNotes(ZylLiveSpace& liveSpace, const juce::MidiKeyboardState* keyboard,
                       const HeldNotes& held);
    // Every cell of every note on in any channel, in note order; none without a space. scratch
    // is a list of the caller's that this overwrites.
    static void addNoteCells(const juce::MidiKeyboardState& keyboard, const ZylSpace* space,
                             std::vector<ZylCell*>& cells, std::vector<ZylCell*>& scratch);
    // Resets the keyboard state, then switches on channel 1 the note of every cell.
    static void fillKeyboardState(const ZylCellSet& cells, juce::MidiKeyboardState& keyboard);
    // Shows the chord and the preview of from's primary layer on every cell of to's space that
    // carries one of their notes, after clearing to's primary layer.
    void mirrorSpaces(ZylLiveSpace& from, ZylLiveSpace& to);
    static bool clearActiveSets(ZylLiveSpace& liveSpace);
    // The Assist value, read under the parameter's lock.
    ZylValue* getAssistValue() const;

    // The live space whose view is active, and the other one.
    ZylLiveSpace* getFocusSpace() const noexcept { return focusSpace; }
    ZylLiveSpace* getOtherSpace() const noexcept { return otherSpace; }
    // The notes the module has sent for each live space and not yet switched off.
    const juce::MidiKeyboardState& getGridKeyboardState() const noexcept { return gridKeyboard; }
    const juce::MidiKeyboardState& getPianoKeyboardState() const noexcept { return pianoKeyboard; }
    // The fit assists' counter; tests and benchmarks seed its random state to repeat a sequence.
    ZylIntCounter& getChordCounter() noexcept { return chordCounter; }

private:
    ZylParameter* programParameter(int parameterId) const;
    // The parameter's current value, read under its lock.
    static ZylValue* readValue(ZylParameter* parameter);
    void configurePrimary(ZylLiveSpace& liveSpace, bool scaleFilterOn);
    bool isFitAssist(const ZylValue* assist) const;
    bool isMidiTrigger(const ZylValue* trigger) const;
    juce::MidiKeyboardState& keyboardFor(const ZylLiveSpace* liveSpace);
    // Switches off, on the output, every note the keyboard state holds on channel 1.
    void releaseKeyboard(juce::MidiKeyboardState& keyboard, juce::MidiBuffer& out, int position,
                         int numSamples);
    juce::MidiBuffer* outputBuffer() const;
    // Every cell of to's space that carries a note of the set's cells.
    void mirrorSet(const ZylCellSet& set, const ZylLiveSpace& to, std::vector<ZylCell*>& cells);
    std::wstring rootName(const ZylCell* root) const;
    // Message-thread reactions.
    void takeSpace();
    void takeTrigger();
    void takeScale();
    void takeKey();
    void takeAssist();
    void takeOnClick();
    void takeChordFilter();

    ZylSpaceDomainSet* domainSet = nullptr;
    std::unique_ptr<ZylScaleNoteTable> scaleNoteTable;
    // Declared before the live spaces, so that it outlives the one that shows it.
    std::unique_ptr<ZylSpace> pianoSpace;
    std::unique_ptr<ZylLiveSpace> gridLiveSpace;
    std::unique_ptr<ZylLiveSpace> pianoLiveSpace;
    juce::MidiKeyboardState gridKeyboard;
    juce::MidiKeyboardState pianoKeyboard;
    std::string filterKey;
    std::string enumeratorKey;
    const ZylScaleValue* scale = nullptr;
    const ZylKeyValue* key = nullptr;
    ZylLiveSpace* focusSpace = nullptr;
    ZylLiveSpace* otherSpace = nullptr;
    // "Trigger" and "On Click" as their reactions took them, written and read under both
    // live-space locks. A block decides by these, not by the parameters' newest values, so that
    // it never meets a new mode with the cell states of the old one (chords not yet cleared, a
    // latch not yet lifted).
    const ZylValue* takenTrigger = nullptr;
    bool takenTrClick = true;
    bool triggerNoteOn = false;
    float triggerVelocity = kDefaultTriggerVelocity;
    std::int32_t triggerNote = 0;
    ZylTimeStamp triggerStamp;
    ZylChordValue* lastChord = nullptr;
    ZylCell* lastRoot = nullptr;
    ZylChordValue* nextChord = nullptr;
    ZylCell* nextRoot = nullptr;
    ZylIntCounter chordCounter;
    // The live space whose keyboard state the previous block played; when the focus moves away
    // from it, its notes are switched off.
    ZylLiveSpace* renderedFocus = nullptr;
    // The count of each primary layer's active sounding set when its keyboard state last
    // played it.
    std::int32_t gridPlayedTime = 0;
    std::int32_t pianoPlayedTime = 0;

    // What showMidiNotes last put on a live space's secondary layer: the notes held, the space
    // and the version of its note index, the layer and the count of its set right after.
    struct ShownNotes
    {
        HeldNotes held;
        const ZylSpace* space = nullptr;
        std::uint32_t noteIndexVersion = 0;
        const ZylCellStates* states = nullptr;
        std::int32_t statesTime = 0;
        bool valid = false;
    };
    ShownNotes gridShown;
    ShownNotes pianoShown;

    // Scratch of the block, grown once.
    juce::MidiBuffer keyboardEvents;
    juce::MidiKeyboardState mirrorKeyboard;
    std::vector<ZylCell*> chordCells;
    std::vector<ZylCell*> previewCells;
    std::vector<ZylCell*> noteCells;
    std::vector<ZylCell*> mirrorCells;
    std::vector<ZylCell*> noteScratch;
    std::vector<ZylCellSet*> shapes;
    ZylIntVector voiced;

    JUCE_DECLARE_NON_COPYABLE(ZylSpaceModule)
};
