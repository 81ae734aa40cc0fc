#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <string>
#include <vector>

class ZylDomain;
class ZylKeyValue;
class ZylScaleValue;

// Precomputed answers for every (scale, key, pitch class): is the pitch class in the scale played
// in that key, and what is its note name there ("F#" in D major, "Gb" in Db major).
//
// The table is filled once by the constructor and never written again, so the audio thread and
// the message thread read it at the same time without a lock. A lookup is one read; nothing is
// composed or searched when a question is asked.
//
// Entries are addressed by the values' ids (their list positions). Pitches are reduced to 0..11
// with a non-negative remainder first, so a negative pitch reads the same entry as its octave
// equivalent instead of a place outside the table; an id the table was not built for reads as
// "not in the scale".
class ZylScaleNoteTable
{
public:
    static constexpr int kPitchClasses = 12;
    static constexpr int kHighestNote = 127;

    // Builds the table from the values of the two domains (ZylScaleValue and ZylKeyValue
    // entries; anything else is ignored). Either domain may be null, which leaves it empty.
    ZylScaleNoteTable(const ZylDomain* scales, const ZylDomain* keys);

    // ceil(log2(count)) + 1, the number of bits the table reserves for count entries.
    static int bitsFor(int count);

    // False when scale or key is null.
    bool contains(int pitch, const ZylScaleValue* scale, const ZylKeyValue* key) const;
    // The note name of the pitch in the scale and key; empty when it is not in the scale or when
    // scale or key is null.
    std::wstring getPitchName(int pitch, const ZylScaleValue* scale, const ZylKeyValue* key) const;
    // getPitchName of a MIDI note; withOctave appends the octave (note 60 is "C4", 0 is "C-1").
    // Empty for a note outside 0..127 and for a note outside the scale (no octave then either).
    std::wstring getNoteName(int note, const ZylScaleValue* scale, const ZylKeyValue* key,
                             bool withOctave) const;

    int getPitchClassBits() const noexcept { return pitchClassBits; }
    int getKeyBits() const noexcept { return keyBits; }
    int getScaleBits() const noexcept { return scaleBits; }
    int getKeyShift() const noexcept { return keyShift; }
    int getScaleShift() const noexcept { return scaleShift; }
    size_t getNumEntries() const noexcept { return membership.size(); }

private:
    void buildMembership(const ZylDomain* scales, const ZylDomain* keys);
    void buildNoteNames(const ZylDomain* scales, const ZylDomain* keys);

    // The entry of (scale, key, pitch class), or -1 when either is null or outside the table.
    int indexOf(int pitchClass, const ZylScaleValue* scale, const ZylKeyValue* key) const;
    int indexOfIds(int pitchClass, int keyId, int scaleId) const;
    void setName(int index, const std::wstring& name);

    std::vector<bool> membership;
    // Each entry names its note by a place in namePool; place 0 is the empty name. Every name
    // the table holds is one of a few dozen spellings, so this keeps the table small.
    std::vector<std::uint8_t> names;
    std::vector<std::wstring> namePool;
    int pitchClassBits = 0;
    int keyBits = 0;
    int scaleBits = 0;
    int keyShift = 0;
    int scaleShift = 0;

    JUCE_DECLARE_NON_COPYABLE(ZylScaleNoteTable)
};

// The place of name on the line of fifths from "Fbb" (0) over "C" (15) to "B##" (34); -1 when it
// is not on it. Exact, case-sensitive comparison.
int fifthsIndexOfNoteName(const std::wstring& name);

// The 1-based degree of the pitch class in the scale played in the key, 0 when it is not in the
// scale. With a null scale or key every pitch class counts as its own degree (pitch class + 1).
int getDegreeIndex(int pitchClass, const ZylScaleValue* scale, const ZylKeyValue* key);
// The degree as a numeral "I" to "XII"; empty when the pitch class is not in the scale.
std::wstring getPitchClassDegreeName(int pitchClass, const ZylScaleValue* scale,
                                     const ZylKeyValue* key);
std::wstring getDegreeName(int pitch, const ZylScaleValue* scale, const ZylKeyValue* key);
