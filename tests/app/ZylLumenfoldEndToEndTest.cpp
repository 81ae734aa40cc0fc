// The whole instrument, headless, through the test processor's prepareToPlay and processBlock
// with buffers of our own: a pressed cell becomes a chord that sounds, the demo track plays
// from Start and stops, every factory program plays, and restarts of the audio keep it so.
#include "framework/ZylDomain.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylProgramModule.h"
#include "framework/ZylValue.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylTransportModule.h"
#include "space/ZylCell.h"
#include "space/ZylCellStates.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylSpace.h"
#include "space/ZylSpaceModule.h"
#include "tests/TestHelpers.h"
#include "tests/app/ZylLumenfoldTestFilter.h"
#include "modules/ZylMidiOutputGroupModule.h"
#include "modules/ZylMidiOutputModule.h"
#include "modules/ZylSynthModule.h"
#include "tests/framework/ZylParameterTestSupport.h"
#include "tests/space/ZylSpaceTestSupport.h"

#include <gtest/gtest.h>
#include <kiss_fftr.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
constexpr int kFftSize = 16384;

// The frequencies of the strongest spectral peaks of a mono signal, strongest first: power
// spectra of Hann-windowed frames (half overlapping) averaged, so that the random phases of
// the synth's spread partials do not decide; peaks closer than minSpacing Hz to a stronger one
// are skipped.
std::vector<double> strongestPeaks(const std::vector<float>& signal, double rate, int count,
                                   double minSpacing = 20.0)
{
    std::vector<double> power(kFftSize / 2 + 1, 0.0);
    std::vector<float> frame(kFftSize);
    std::vector<kiss_fft_cpx> bins(kFftSize / 2 + 1);
    auto* fft = kiss_fftr_alloc(kFftSize, 0, nullptr, nullptr);
    for (size_t start = 0; start + kFftSize <= signal.size(); start += kFftSize / 2)
    {
        for (int i = 0; i < kFftSize; ++i)
            frame[static_cast<size_t>(i)] =
                signal[start + static_cast<size_t>(i)]
                * static_cast<float>(0.5 - 0.5 * std::cos(2.0 * juce::MathConstants<double>::pi * i / (kFftSize - 1)));
        kiss_fftr(fft, frame.data(), bins.data());
        for (size_t k = 0; k < bins.size(); ++k)
            power[k] += bins[k].r * bins[k].r + bins[k].i * bins[k].i;
    }
    kiss_fftr_free(fft);

    std::vector<std::pair<double, int>> maxima;
    for (int k = 2; k + 1 < static_cast<int>(power.size()); ++k)
    {
        const auto at = [&](int i) { return power[static_cast<size_t>(i)]; };
        if (at(k) > at(k - 1) && at(k) >= at(k + 1))
            maxima.emplace_back(at(k), k);
    }
    std::sort(maxima.rbegin(), maxima.rend());
    std::vector<double> peaks;
    for (const auto& [magnitude, k] : maxima)
    {
        const double hz = k * rate / kFftSize;
        if (std::none_of(peaks.begin(), peaks.end(),
                         [&](double p) { return std::abs(p - hz) < minSpacing; }))
            peaks.push_back(hz);
        if (static_cast<int>(peaks.size()) == count)
            break;
    }
    return peaks;
}

// Whether hz lies within tolerance (relative) of a whole multiple of one of the fundamentals.
bool isPartialOf(double hz, const std::vector<double>& fundamentals, double tolerance = 0.012)
{
    for (const double f : fundamentals)
    {
        const double multiple = std::round(hz / f);
        if (multiple >= 1.0 && std::abs(hz - multiple * f) <= tolerance * multiple * f)
            return true;
    }
    return false;
}

// Checks that the spectrum's strongest peaks are the chord's fundamentals and their partials:
// each fundamental stands among the strongest six peaks, and none of the six belongs to
// anything else. (The synth's octave partial is nearly as loud as the fundamental, so a
// fundamental need not beat every other note's octave.)
void expectChordSpectrum(const std::vector<float>& sound, double rate,
                         const std::vector<double>& fundamentals)
{
    const auto peaks = strongestPeaks(sound, rate, 6);
    ASSERT_EQ(peaks.size(), 6u);

    for (const double f : fundamentals)
        EXPECT_TRUE(std::any_of(peaks.begin(), peaks.end(),
                                [&](double p) { return std::abs(p - f) < 4.0; }))
            << "no peak at " << f << " Hz";
    for (const double p : peaks)
        EXPECT_TRUE(isPartialOf(p, fundamentals)) << "a peak at " << p << " Hz";
}

// "M" on note 60: C4, E4 and G4.
const std::vector<double> kTriadOn60 { 261.63, 329.63, 392.00 };

struct Instrument : ::testing::Test
{
    static constexpr int kBlock = 512;

    Instrument()
    {
        filter.initialise();
        zyltest::drainMessageQueue();
        filter.prepareToPlay(rate, kBlock);
        zyltest::drainMessageQueue();
    }

    ~Instrument() override
    {
        filter.releaseResources();
        zyltest::drainMessageQueue();
    }

    ZylLumenfoldModule& root() { return filter.root(); }
    ZylSpaceModule& space() { return *root().getSpaceModule(); }
    ZylTransportModule& transport() { return *root().getTransportModule(); }
    ZylMidiInputModule& input() { return *root().getMidiInputGroupModule()->getInputModule(0); }
    ZylLiveSpace& grid() { return *space().getGridSpace(); }


    // Runs blocks of kBlock samples for about the given seconds; appends the left channel to
    // recorded and returns the largest magnitude. Every sample must be finite.
    float run(double seconds, std::vector<float>* recorded = nullptr,
              juce::MidiBuffer hostMidi = {})
    {
        float largest = 0.0f;
        const int blocks = juce::jmax(1, static_cast<int>(seconds * rate / blockSize));
        juce::AudioBuffer<float> audio(2, blockSize);
        for (int b = 0; b < blocks; ++b)
        {
            audio.clear();
            juce::MidiBuffer midi;
            if (b == 0)
                midi = hostMidi;
            filter.processBlock(audio, midi);
            for (const auto event : *root().getSynthInCable().getBuffer())
                notesToSynth += event.getMessage().isNoteOn() ? 1 : 0;
            for (int c = 0; c < 2; ++c)
                for (int i = 0; i < blockSize; ++i)
                {
                    const float x = audio.getSample(c, i);
                    EXPECT_TRUE(std::isfinite(x));
                    largest = std::max(largest, std::abs(x));
                }
            if (recorded != nullptr)
                recorded->insert(recorded->end(), audio.getReadPointer(0),
                                 audio.getReadPointer(0) + blockSize);
            if (b % 16 == 15)
                zyltest::drainMessageQueue();
        }
        return largest;
    }

    // The visible note of the grid nearest to note with the same pitch class (some grids leave
    // notes out); -1 when there is none.
    int nearestGridNote(int note)
    {
        int best = -1;
        for (const auto& cell : grid().getSpace()->getCells())
            if (!cell->isHidden() && (cell->getNote() - note) % 12 == 0
                && (best < 0 || std::abs(cell->getNote() - note) < std::abs(best - note)))
                best = cell->getNote();
        return best;
    }

    // What a grid view does when the pointer presses a cell: select and trigger it.
    void press(int note)
    {
        ASSERT_TRUE(zyltest::pressNote(grid(), note)) << note;
    }

    void release()
    {
        const juce::ScopedLock lock(grid().getLock());
        grid().getPrimaryStates()->releaseAll();
    }

    // Nothing but the synth's keep-alive sample (1e-4 in an otherwise silent block).
    static constexpr float kSilence = 2.0e-4f;

    double rate = 44100.0;
    int blockSize = kBlock;
    // Note-ons that reached the synth's input so far.
    int notesToSynth = 0;
    zyltest::LumenfoldTestFilter filter;
};

TEST_F(Instrument, PressingCell60PlaysTheMajorTriadAndReleasingItFallsSilent)
{
    zyltest::selectByName(space().getAssistParameter(), L"Ch Anywh");
    zyltest::selectByName(space().getChordParameter(), L"M");
    zyltest::selectByName(space().getVoicingParameter(), L"Root");
    zyltest::selectByName(input().getDeviceParameter(), L"Not connected");
    ASSERT_LT(run(0.3), kSilence);

    press(60);
    std::vector<float> sound;
    run(0.2); // past the attack
    EXPECT_GT(run(1.0, &sound), 0.01f);
    expectChordSpectrum(sound, rate, kTriadOn60);

    release();
    run(2.0);
    EXPECT_LT(run(0.2), kSilence);
}

TEST_F(Instrument, StoppedAudioLeavesNothingLitAndTheNextPressPlaysAfterTheRestart)
{
    zyltest::selectByName(space().getAssistParameter(), L"Ch Anywh");
    zyltest::selectByName(space().getChordParameter(), L"M");
    zyltest::selectByName(input().getDeviceParameter(), L"Not connected");
    run(0.3);
    press(60);
    run(0.2);
    EXPECT_GT(run(0.5), 0.01f);
    const auto litCount = [this] {
        const juce::ScopedLock lock(grid().getLock());
        auto* cells = grid().getPrimaryStates();
        return cells->getActiveSounding().getCells().size() + cells->getActiveSelected().getCells().size();
    };
    ASSERT_GT(litCount(), 0u);

    // The device stops (its player releases the processor): nothing stays lit.
    filter.releaseResources();
    EXPECT_EQ(litCount(), 0u);

    // Brought back, it plays the next press.
    filter.prepareToPlay(rate, kBlock);
    zyltest::drainMessageQueue();
    release();
    run(2.0);
    EXPECT_LT(run(0.2), kSilence);
    press(60);
    run(0.2);
    EXPECT_GT(run(0.5), 0.01f);
    EXPECT_GT(litCount(), 0u);
}

TEST_F(Instrument, TheDemoTrackPlaysFromStartAndStopSilencesIt)
{
    // The factory bank reads the first demo track and sends it to the built-in synth; the
    // transport starts Armed.
    ASSERT_EQ(input().getTrackParameter()->getValueText(), L"Gymnop\u00e9die no. 1");
    ASSERT_TRUE(transport().isArmed());
    EXPECT_LT(run(0.5), kSilence);

    transport().start();
    zyltest::drainMessageQueue();
    ASSERT_TRUE(transport().isPlaying());
    EXPECT_GT(run(4.0), 0.01f);
    EXPECT_GE(notesToSynth, 4);

    transport().stop();
    zyltest::drainMessageQueue();
    run(2.0);
    EXPECT_LT(run(0.5), kSilence);
}

// The pitch class of a Key value's name ("C", "F#", "Bb" ...).
int pitchClassOf(const std::wstring& key)
{
    static const int naturals[] = { 9, 11, 0, 2, 4, 5, 7 }; // A B C D E F G
    int pitch = naturals[key[0] - L'A'];
    if (key.size() > 1)
        pitch += key[1] == L'#' ? 1 : -1;
    return (pitch + 12) % 12;
}

TEST_F(Instrument, EveryFactoryProgramSelectsAndPlays)
{
    // A press alone plays where the mouse triggers; where MIDI triggers, a note from the host
    // plays the chord (on the pressed cell in "Midi Clk").
    zyltest::selectByName(input().getDeviceParameter(), L"VST/AU host");
    auto* programs = root().getProgramModule();
    for (int program = 0; program < ZylModule::kNumPrograms; ++program)
    {
        SCOPED_TRACE(programs->getProgramName(program));
        filter.setCurrentProgram(program);
        zyltest::drainMessageQueue();
        ASSERT_EQ(programs->getCurrentProgram(), program);
        // A switch resends the cell-trigger value, which resets every module in the next block.
        run(0.05);

        // The key's root is in every scale of its key.
        const int note = nearestGridNote(60 + pitchClassOf(space().getKeyParameter()->getValueText()));
        ASSERT_GE(note, 0);
        const bool mouseTriggers = space().getTriggerParameter()->getValueText() == L"Mouse Cl";
        press(note);
        juce::MidiBuffer host;
        if (!mouseTriggers)
            host.addEvent(juce::MidiMessage::noteOn(1, note, 0.8f), 0);
        EXPECT_GT(run(0.2, nullptr, host), 0.001f);
        release();
        juce::MidiBuffer off;
        off.addEvent(juce::MidiMessage::noteOff(1, note), 0);
        run(0.05, nullptr, off);
    }
}

TEST_F(Instrument, TenRestartsAtOtherRatesAndBlockSizesKeepItPlayingInTune)
{
    zyltest::selectByName(space().getAssistParameter(), L"Ch Anywh");
    zyltest::selectByName(space().getChordParameter(), L"M");
    zyltest::selectByName(space().getVoicingParameter(), L"Root");
    zyltest::selectByName(input().getDeviceParameter(), L"Not connected");
    run(0.1); // the reset that the input change asked for
    const std::pair<double, int> setups[] = { { 48000.0, 256 }, { 96000.0, 1024 }, { 44100.0, 64 },
                                              { 22050.0, 512 }, { 88200.0, 480 },  { 32000.0, 128 },
                                              { 48000.0, 2048 }, { 44100.0, 33 }, { 96000.0, 512 },
                                              { 44100.0, 512 } };
    for (const auto& [newRate, newBlock] : setups)
    {
        rate = newRate;
        blockSize = newBlock;
        SCOPED_TRACE(testing::Message() << rate << " Hz, " << blockSize << " samples");
        filter.releaseResources();
        filter.prepareToPlay(rate, blockSize);
        zyltest::drainMessageQueue();

        press(60);
        std::vector<float> sound;
        run(0.2);
        run(1.0, &sound);
        release();
        run(1.0);
        expectChordSpectrum(sound, rate, kTriadOn60);
        EXPECT_LT(run(0.2), kSilence);
    }
}
} // namespace
