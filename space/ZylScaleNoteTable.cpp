#include "space/ZylScaleNoteTable.h"

#include "framework/ZylDomain.h"
#include "space/ZylKeyDomain.h"
#include "space/ZylScaleDomain.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace
{
constexpr int kChromaticScaleSize = 12;
constexpr int kHeptatonicScaleSize = 7;
constexpr int kCandidatesPerPitchClass = 3;
constexpr int kLetterWeight = 100;
constexpr int kNoScore = 1000000;
constexpr int kNotesPerOctave = 12;
constexpr size_t kMaxPooledNames = std::numeric_limits<std::uint8_t>::max() + 1;

const wchar_t* const kChromaticNames[kChromaticScaleSize] = {
    L"C", L"C#", L"D", L"D#", L"E", L"F", L"F#", L"G", L"G#", L"A", L"A#", L"B",
};

// Spellings tried for each pitch class, in order; null is an empty slot. No double flat is
// among them, so none is ever produced.
const wchar_t* const kCandidateNames[kChromaticScaleSize][kCandidatesPerPitchClass] = {
    { L"C", L"B#", nullptr },    { L"C#", L"Db", L"B##" }, { L"D", L"C##", nullptr },
    { L"D#", L"Eb", nullptr },   { L"E", L"D##", L"Fb" },  { L"F", L"E#", nullptr },
    { L"F#", L"E##", L"Gb" },    { L"G", L"F##", nullptr }, { L"G#", L"Ab", nullptr },
    { L"A", L"G##", nullptr },   { L"A#", L"Bb", nullptr }, { L"B", L"A##", L"Cb" },
};

const wchar_t* const kLineOfFifths[] = {
    L"Fbb", L"Cbb", L"Gbb", L"Dbb", L"Abb", L"Ebb", L"Bbb", L"Fb", L"Cb",  L"Gb",  L"Db",  L"Ab",
    L"Eb",  L"Bb",  L"F",   L"C",   L"G",   L"D",   L"A",   L"E",  L"B",   L"F#",  L"C#",  L"G#",
    L"D#",  L"A#",  L"E#",  L"B#",  L"F##", L"C##", L"G##", L"D##", L"A##", L"E##", L"B##",
};

const wchar_t kLetterCycle[] = L"CDEFGABC";

const wchar_t* const kDegreeNumerals[kChromaticScaleSize] = {
    L"I", L"II", L"III", L"IV", L"V", L"VI", L"VII", L"VIII", L"IX", L"X", L"XI", L"XII",
};

int pitchClassOf(int pitch)
{
    const int remainder = pitch % kNotesPerOctave;
    return remainder < 0 ? remainder + kNotesPerOctave : remainder;
}

// -2 / -1 for double and single flats, +2 / +1 for sharps, 0 for a plain letter.
int accidentalCount(const std::wstring& name)
{
    const bool threeLong = name.size() == 3;
    if (name.find(L'b') != std::wstring::npos)
        return threeLong ? -2 : -1;
    if (name.find(L'#') != std::wstring::npos)
        return threeLong ? 2 : 1;
    return 0;
}

wchar_t letterAfter(wchar_t letter)
{
    for (int i = 0; kLetterCycle[i + 1] != 0; ++i)
        if (kLetterCycle[i] == letter)
            return kLetterCycle[i + 1];
    return 0;
}

std::wstring keyNameOf(const ZylKeyValue& key)
{
    std::wstring name = kChromaticNames[pitchClassOf(key.natural)];
    if (key.accidental == ZylKeyValue::kFlat)
        name += L'b';
    else if (key.accidental == ZylKeyValue::kSharp)
        name += L'#';
    return name;
}

template <class ValueType>
std::vector<const ValueType*> valuesOf(const ZylDomain* domain)
{
    std::vector<const ValueType*> result;
    if (domain == nullptr)
        return result;
    for (auto* value : domain->getValues())
        if (auto* typed = dynamic_cast<const ValueType*>(value))
            result.push_back(typed);
    return result;
}
} // namespace

int ZylScaleNoteTable::bitsFor(int count)
{
    if (count <= 1)
        return 1;
    return static_cast<int>(std::ceil(std::log(static_cast<double>(count)) / std::log(2.0))) + 1;
}

ZylScaleNoteTable::ZylScaleNoteTable(const ZylDomain* scales, const ZylDomain* keys)
{
    pitchClassBits = bitsFor(kPitchClasses);
    keyBits = bitsFor(keys != nullptr ? static_cast<int>(keys->getValues().size()) : 0);
    scaleBits = bitsFor(scales != nullptr ? static_cast<int>(scales->getValues().size()) : 0);
    keyShift = keyBits;
    scaleShift = keyBits + scaleBits;
    buildMembership(scales, keys);
    buildNoteNames(scales, keys);
}

int ZylScaleNoteTable::indexOfIds(int pitchClass, int keyId, int scaleId) const
{
    // Pitch classes occupy the bits below keyShift and keys those below scaleShift; an id that
    // would spill into the next field or past the end has no entry.
    if (pitchClass < 0 || pitchClass >= kPitchClasses || keyId < 0
        || keyId >= (1 << (scaleShift - keyShift)) || scaleId < 0)
        return -1;
    const long long index = pitchClass + (static_cast<long long>(keyId) << keyShift)
                            + (static_cast<long long>(scaleId) << scaleShift);
    if (index >= static_cast<long long>(membership.size()))
        return -1;
    return static_cast<int>(index);
}

int ZylScaleNoteTable::indexOf(int pitchClass, const ZylScaleValue* scale,
                               const ZylKeyValue* key) const
{
    if (scale == nullptr || key == nullptr)
        return -1;
    return indexOfIds(pitchClass, key->getId(), scale->getId());
}

void ZylScaleNoteTable::buildMembership(const ZylDomain* scales, const ZylDomain* keys)
{
    const size_t numEntries = size_t { 1 } << (pitchClassBits + keyBits + scaleBits);
    membership.assign(numEntries, false);
    const auto scaleList = valuesOf<ZylScaleValue>(scales);
    const auto keyList = valuesOf<ZylKeyValue>(keys);
    for (const auto* scale : scaleList)
        for (const auto* key : keyList)
        {
            const int root = key->rootPitchClass();
            for (const int interval : scale->intervals)
            {
                const int index = indexOf(pitchClassOf(root + interval), scale, key);
                if (index >= 0)
                    membership[static_cast<size_t>(index)] = true;
            }
        }
}

void ZylScaleNoteTable::setName(int index, const std::wstring& name)
{
    if (index < 0)
        return;
    size_t place = 0;
    while (place < namePool.size() && namePool[place] != name)
        ++place;
    if (place == namePool.size())
    {
        if (namePool.size() >= kMaxPooledNames)
        {
            jassertfalse;
            return;
        }
        namePool.push_back(name);
    }
    names[static_cast<size_t>(index)] = static_cast<std::uint8_t>(place);
}

void ZylScaleNoteTable::buildNoteNames(const ZylDomain* scales, const ZylDomain* keys)
{
    names.assign(membership.size(), 0);
    namePool.assign(1, std::wstring());
    const auto scaleList = valuesOf<ZylScaleValue>(scales);
    const auto keyList = valuesOf<ZylKeyValue>(keys);
    for (const auto* scale : scaleList)
        for (const auto* key : keyList)
        {
            const int root = key->rootPitchClass();
            const auto& intervals = scale->intervals;

            // A full chromatic scale is spelled with sharps whatever the key.
            if (intervals.size() == kChromaticScaleSize)
            {
                for (int j = 0; j < kChromaticScaleSize; ++j)
                {
                    const int p = pitchClassOf(root + j);
                    setName(indexOf(p, scale, key), kChromaticNames[p]);
                }
                continue;
            }

            // Each degree takes the spelling nearest to the previous one on the line of fifths.
            // In seven-tone scales a spelling that skips or repeats a letter costs a hundred
            // times more, so every letter is used once and in order; sharp keys never take a
            // flat and flat keys never a sharp.
            const std::wstring keyName = keyNameOf(*key);
            const bool heptatonic = intervals.size() == kHeptatonicScaleSize;
            std::wstring previousName;
            int previousFifths = 0;
            for (const int interval : intervals)
            {
                if (interval == 0)
                {
                    setName(indexOf(root, scale, key), keyName);
                    previousName = keyName;
                    previousFifths = fifthsIndexOfNoteName(keyName);
                    continue;
                }
                const int p = pitchClassOf(root + interval);
                std::wstring bestName;
                int bestScore = kNoScore;
                int bestFifths = -1;
                for (const wchar_t* candidateText : kCandidateNames[p])
                {
                    if (candidateText == nullptr)
                        continue;
                    const std::wstring candidate = candidateText;
                    const int count = accidentalCount(candidate);
                    if ((key->accidental == ZylKeyValue::kSharp && count < 0)
                        || (key->accidental == ZylKeyValue::kFlat && count > 0))
                        continue;
                    int weight = 1;
                    if (!previousName.empty() && heptatonic
                        && candidate.front() != letterAfter(previousName.front()))
                        weight = kLetterWeight;
                    const int fifths = fifthsIndexOfNoteName(candidate);
                    const int score = weight * std::abs(fifths - previousFifths);
                    if (score < bestScore)
                    {
                        bestName = candidate;
                        bestScore = score;
                        bestFifths = fifths;
                    }
                }
                setName(indexOf(p, scale, key), bestName);
                previousName = bestName;
                previousFifths = bestFifths;
            }
        }
}

bool ZylScaleNoteTable::contains(int pitch, const ZylScaleValue* scale,
                                 const ZylKeyValue* key) const
{
    const int index = indexOf(pitchClassOf(pitch), scale, key);
    return index >= 0 && membership[static_cast<size_t>(index)];
}

std::wstring ZylScaleNoteTable::getPitchName(int pitch, const ZylScaleValue* scale,
                                             const ZylKeyValue* key) const
{
    const int index = indexOf(pitchClassOf(pitch), scale, key);
    if (index < 0)
        return {};
    return namePool[names[static_cast<size_t>(index)]];
}

std::wstring ZylScaleNoteTable::getNoteName(int note, const ZylScaleValue* scale,
                                            const ZylKeyValue* key, bool withOctave) const
{
    if (static_cast<unsigned int>(note) > static_cast<unsigned int>(kHighestNote))
        return {};
    std::wstring name = getPitchName(note, scale, key);
    if (!name.empty() && withOctave)
        name += std::to_wstring(note / kNotesPerOctave - 1);
    return name;
}

int fifthsIndexOfNoteName(const std::wstring& name)
{
    int place = 0;
    for (const wchar_t* entry : kLineOfFifths)
    {
        if (name == entry)
            return place;
        ++place;
    }
    return -1;
}

int getDegreeIndex(int pitchClass, const ZylScaleValue* scale, const ZylKeyValue* key)
{
    const int p = pitchClassOf(pitchClass);
    if (scale == nullptr || key == nullptr)
        return p + 1;
    const int root = key->rootPitchClass();
    int degree = 1;
    for (const int interval : scale->intervals)
    {
        if (pitchClassOf(root + interval) == p)
            return degree;
        ++degree;
    }
    return 0;
}

std::wstring getPitchClassDegreeName(int pitchClass, const ZylScaleValue* scale,
                                     const ZylKeyValue* key)
{
    const int degree = getDegreeIndex(pitchClass, scale, key);
    if (degree < 1 || degree > kChromaticScaleSize)
        return {};
    return kDegreeNumerals[degree - 1];
}

std::wstring getDegreeName(int pitch, const ZylScaleValue* scale, const ZylKeyValue* key)
{
    return getPitchClassDegreeName(pitchClassOf(pitch), scale, key);
}
