#include "modules/ZylSynth.h"

#include "framework/ZylDebug.h"
#include "modules/ZylRandomSequence.h"
#include "modules/ZylSamplerSound.h"
#include "modules/ZylSamplerVoice.h"
#include "modules/ZylWavetable.h"
#include "resources/ZylEmbeddedArchive.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <system_error>
#include <thread>
#include <vector>

namespace
{
constexpr const char* kRootTag = "soundBank";

// A finite attribute brought into [low, high]; the default when missing or not finite.
double readClamped(const juce::XmlElement& element, const char* attribute, double fallback,
                   double low, double high)
{
    const double value = element.getDoubleAttribute(attribute, fallback);
    if (!std::isfinite(value))
        return fallback;
    return juce::jlimit(low, high, value);
}

int readNote(const juce::XmlElement& element, const char* attribute, int fallback)
{
    return juce::jlimit(0, 127, element.getIntAttribute(attribute, fallback));
}

int baseFunctionOf(const juce::String& text)
{
    const auto lower = text.toLowerCase();
    if (lower == "triangle")
        return ZylWavetable::kTriangle;
    if (lower == "sawtooth")
        return ZylWavetable::kSawtooth;
    if (lower == "square")
        return ZylWavetable::kSquare;
    return ZylWavetable::kSine;
}
} // namespace

ZylSynth::ZylSynth()
{
    setCurrentPlaybackSampleRate(kDefaultSampleRate);
    const auto bank = ZylEmbeddedArchive::find("soundbank");
    auto stream = bank.createStream();
    loadSoundBank(*stream);
    addVoices();
}

ZylSynth::ZylSynth(juce::InputStream& soundBankArchive)
{
    setCurrentPlaybackSampleRate(kDefaultSampleRate);
    loadSoundBank(soundBankArchive);
    addVoices();
}

ZylSynth::~ZylSynth() = default;

bool ZylSynth::isSilent() const noexcept
{
    return silent.load();
}

void ZylSynth::noteOn(int midiChannel, int midiNoteNumber, float velocity)
{
    // Under the lock that rendering holds, and before a voice starts: a render never sees the
    // new voice while the flag still says silent.
    const juce::ScopedLock sl(lock);
    silent = false;
    juce::Synthesiser::noteOn(midiChannel, midiNoteNumber, velocity);
}

void ZylSynth::renderVoices(juce::AudioBuffer<float>& buffer, int startSample, int numSamples)
{
    bool sounding = false;
    for (auto* voice : voices)
    {
        voice->renderNextBlock(buffer, startSample, numSamples);
        sounding = sounding || voice->getCurrentlyPlayingSound() != nullptr;
    }
    silent = !sounding;
}

void ZylSynth::addVoices()
{
    for (int i = 0; i < kNumVoices; ++i)
        addVoice(new ZylSamplerVoice());
}

namespace
{
void keepOldest(juce::SynthesiserVoice*& kept, juce::SynthesiserVoice* voice) noexcept
{
    if (kept == nullptr || voice->wasStartedBefore(*kept))
        kept = voice;
}

// The three voices started first among those offered, oldest first. At most two voices are
// spared, so the oldest voice that is not spared is always one of the three.
class OldestThree
{
public:
    void offer(juce::SynthesiserVoice* voice) noexcept
    {
        // Started at the same moment as one kept, a voice comes after it.
        for (auto& slot : slots)
        {
            if (slot == nullptr)
            {
                slot = voice;
                return;
            }
            if (voice->wasStartedBefore(*slot))
                std::swap(slot, voice);
        }
    }

    juce::SynthesiserVoice* oldestExcept(const juce::SynthesiserVoice* spared,
                                         const juce::SynthesiserVoice* alsoSpared) const noexcept
    {
        for (auto* voice : slots)
            if (voice != nullptr && voice != spared && voice != alsoSpared)
                return voice;
        return nullptr;
    }

private:
    std::array<juce::SynthesiserVoice*, 3> slots {};
};
} // namespace

juce::SynthesiserVoice* ZylSynth::findVoiceToSteal(juce::SynthesiserSound* soundToPlay,
                                                   int /*midiChannel*/, int midiNoteNumber) const
{
    // One walk over the voices that can play the sound, remembering the oldest of each kind the
    // choice may fall on; a voice's start time orders them, and no list is built or sorted.
    juce::SynthesiserVoice* onSameNote = nullptr;
    juce::SynthesiserVoice* released = nullptr;
    // The held voices (not in their release) with the lowest and the highest note, the first
    // such voice in voice order when several share the note: spared while others remain.
    juce::SynthesiserVoice* low = nullptr;
    juce::SynthesiserVoice* top = nullptr;
    OldestThree held;
    OldestThree heldByPedalOnly;

    for (auto* voice : voices)
    {
        if (!voice->canPlaySound(soundToPlay))
            continue;
        const int note = voice->getCurrentlyPlayingNote();
        if (note == midiNoteNumber)
            keepOldest(onSameNote, voice);
        if (voice->isPlayingButReleased())
        {
            keepOldest(released, voice);
            continue;
        }
        if (low == nullptr || note < low->getCurrentlyPlayingNote())
            low = voice;
        if (top == nullptr || note > top->getCurrentlyPlayingNote())
            top = voice;
        held.offer(voice);
        if (!voice->isKeyDown())
            heldByPedalOnly.offer(voice);
    }

    if (onSameNote != nullptr)
        return onSameNote;
    // A released voice is never spared.
    if (released != nullptr)
        return released;
    if (auto* voice = heldByPedalOnly.oldestExcept(low, top))
        return voice;
    if (auto* voice = held.oldestExcept(low, top))
        return voice;
    // Only the spared voices are left: the higher one goes, the bass note stays. With every held
    // voice on one note, low and top are the same voice.
    return top;
}

void ZylSynth::loadSoundBank(juce::InputStream& archive)
{
    juce::ZipFile zip(archive);
    juce::MemoryBlock text;
    if (zip.getNumEntries() == 0
        || !ZylEmbeddedArchive::readZipEntry(zip, 0, text, "sound bank description"))
    {
        zylDebugLine("sound bank: no description, no sounds loaded");
        return;
    }

    const auto document = juce::parseXML(text.toString());
    if (document == nullptr || !document->getTagName().equalsIgnoreCase(kRootTag))
    {
        zylDebugLine("sound bank: the description is not a soundBank document");
        return;
    }

    const auto type = document->getStringAttribute("type", "sampler");
    if (type == "sampler")
        loadSamplerBank(*document, zip);
    else if (type == "wavetable")
        loadWavetableBank(*document);
    else
        zylDebugLine("sound bank: unknown type " + type);
}

void ZylSynth::loadSamplerBank(const juce::XmlElement& root, juce::ZipFile& archive)
{
    if (!root.getTagName().equalsIgnoreCase(kRootTag))
        return;
    const double attackTime = readClamped(root, "attackTime", 0.01, 0.0, kMaxSamplerSeconds);
    const double releaseTime = readClamped(root, "releaseTime", 0.1, 0.0, kMaxSamplerSeconds);
    const double maxDuration = readClamped(root, "maxDuration", 10.0, 0.0, kMaxSamplerSeconds);

    const auto* soundList = root.getChildByName("sounds");
    if (soundList == nullptr)
        return;

    juce::WavAudioFormat wav;
    int entry = 0;
    for (const auto* sound : soundList->getChildIterator())
    {
        if (sound->getTagName() != "sound")
            continue;
        ++entry;
        const auto name = sound->getStringAttribute("name", "untitled");
        const int rootNote = readNote(*sound, "rootMidiNote", 0);
        const int first = std::max(0, sound->getIntAttribute("firstMidiNote", rootNote));
        const int last = std::min(127, sound->getIntAttribute("lastMidiNote", rootNote));
        juce::BigInteger notes;
        if (first <= last)
            notes.setRange(first, last - first + 1, true);

        auto* stream = entry < archive.getNumEntries() ? archive.createStreamForEntry(entry) : nullptr;
        if (stream == nullptr)
        {
            zylDebugLine("sound bank: no sample for sound " + name);
            continue;
        }
        std::unique_ptr<juce::AudioFormatReader> reader(wav.createReaderFor(stream, true));
        if (reader == nullptr)
        {
            zylDebugLine("sound bank: unreadable sample for sound " + name);
            continue;
        }
        ZylSamplerSound::Ptr made = new ZylSamplerSound(name, *reader, notes, rootNote, attackTime,
                                                        releaseTime, maxDuration, false);
        if (made->isEmpty())
        {
            zylDebugLine("sound bank: empty sample for sound " + name);
            continue;
        }
        addSound(made.get());
    }
}

namespace
{
std::vector<ZylSamplerSound::Ptr> buildPlannedSounds(const std::vector<ZylWavetable::SoundPlan>& plans)
{
    // Each plan carries its own phases, so the sounds are built on as many threads as there are
    // cores and plans, each taking the next plan, and come out in plan order whatever the timing.
    std::vector<ZylSamplerSound::Ptr> sounds(plans.size());
    std::atomic<size_t> next { 0 };
    const auto work = [&] {
        ZylWavetable::SoundBuilder builder;
        for (auto i = next++; i < plans.size(); i = next++)
            sounds[i] = builder.build(plans[i]);
    };
    const auto cores = static_cast<size_t>(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::thread> helpers;
    for (size_t t = 1; t < std::min(cores, plans.size()); ++t)
    {
        // A thread the system refuses leaves its share to the others: this one always works.
        try
        {
            helpers.emplace_back(work);
        }
        catch (const std::system_error&)
        {
            break;
        }
    }
    work();
    for (auto& helper : helpers)
        helper.join();
    return sounds;
}
} // namespace

void ZylSynth::loadWavetableBank(const juce::XmlElement& root)
{
    if (!root.getTagName().equalsIgnoreCase(kRootTag))
        return;
    const auto* wavetables = root.getChildByName("wavetables");
    if (wavetables == nullptr)
        return;

    // One phase sequence for the whole bank, started afresh, so that every load of the same
    // description builds the same tables.
    ZylRandomSequence phases;
    std::vector<ZylWavetable::SoundPlan> plans;
    for (const auto* element : wavetables->getChildIterator())
    {
        if (element->getTagName() != "wavetable")
            continue;

        const int requested = element->getIntAttribute("numberOfHarmonics", 0);
        const int numHarmonics = juce::jlimit(0, kMaxHarmonics, requested);
        if (numHarmonics != requested)
            zylDebugLine("sound bank: numberOfHarmonics " + juce::String(requested) + " taken as "
                         + juce::String(numHarmonics));

        std::vector<float> spectrum(static_cast<size_t>(numHarmonics), 0.0f);
        if (const auto* list = numHarmonics > 0 ? element->getChildByName("harmonics") : nullptr)
            for (const auto* harmonic : list->getChildIterator())
            {
                if (harmonic->getTagName() != "harmonic")
                    continue;
                const int number = harmonic->getIntAttribute("number", 0);
                const double amplitude = harmonic->getDoubleAttribute("amplitude", 0.0);
                if (number >= 0 && number < numHarmonics && std::isfinite(amplitude))
                    spectrum[static_cast<size_t>(number)] = static_cast<float>(amplitude);
            }

        ZylWavetable wavetable(phases);
        wavetable.setRootMidiNote(readNote(*element, "rootMidiNote", 0));
        wavetable.setHarmonics(std::move(spectrum));
        wavetable.setBandwidth(
            readClamped(*element, "bandwidth", 50.0, kMinBandwidthCents, kMaxBandwidthCents));
        wavetable.setBandwidthScale(
            readClamped(*element, "bandwidthScale", 1.0, -kMaxBandwidthScale, kMaxBandwidthScale));
        wavetable.setRelativeFrequencyFactor(readClamped(
            *element, "relativeFrequencyFactor", 0.0, -kMaxFrequencyFactor, kMaxFrequencyFactor));
        wavetable.setBaseFunction(baseFunctionOf(element->getStringAttribute("baseFunction", "sine")));

        const auto planned = plans.size();
        wavetable.planSounds(plans);
        if (plans.size() == planned)
            zylDebugLine("sound bank: a wavetable yields no sound");
    }

    for (auto& sound : buildPlannedSounds(plans))
        if (sound != nullptr)
            addSound(sound.get());
}
