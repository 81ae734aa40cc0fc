#pragma once

#include "framework/ZylAudioCable.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylMidiKeyboardCable.h"
#include "framework/ZylModule.h"

#include <array>
#include <cstdint>

class ZylMidiInputGroupModule;
class ZylMidiInputModule;
class ZylMidiOutputGroupModule;
class ZylMidiOutputModule;
class ZylMidiPortBackend;
class ZylProgramModule;
class ZylSpaceModule;
class ZylSynthModule;
class ZylTransportModule;
class ZylEmbeddedArchive;
class ZylHelpModule;

// The root of the module tree (id 2): it creates the children, owns the six cables that join
// them, wires the cables to the children's pins while audio runs, runs the children in a fixed
// order every block and loads the demo tracks and the factory bank.
//
// Block order: MIDI input 300100, transport 2000, space 10000, MIDI output 310100, synth 8000;
// then the transport's clock advances by the block length. The host's MIDI and audio buffers
// ride on their cables for the length of one block only.
//
// Threads: construction, initialise and the loads on the message thread before any audio
// device exists; prepareToPlay / releaseResources from the audio player; the block on the audio
// thread under the callback lock. The root takes no lock of its own.
class ZylLumenfoldModule : public ZylModule
{
public:
    static constexpr std::int32_t kModuleId = 2;
    static constexpr int kVersionMajor = 2;
    static constexpr int kVersionMinor = 5;
    static constexpr int kVersionBuild = 544;
    // The size of the audio cable's own buffer until prepareToPlay releases it.
    static constexpr int kInitialAudioChannels = 2;
    static constexpr int kInitialAudioSamples = 512;
    // Bytes reserved per block sample in the MIDI cables' own buffers, so that a block with a
    // usual number of events never grows them.
    static constexpr int kMidiBytesPerSample = 8;
    static constexpr int kMinMidiBytes = 4096;
    // The embedded archives the root reads.
    static constexpr const char* kDemoArchiveName = "demotracks";
    static constexpr const char* kFactoryBankArchiveName = "factorybank";

    // The MIDI groups reach the system's ports through backend, which must outlive the tree;
    // null gives a tree without ports.
    ZylLumenfoldModule(ZylModuleContainer* container, ZylMidiPortBackend* backend);
    ~ZylLumenfoldModule() override;

    void initialise() override;
    // Wires the cables (each pin holds each of its cables once, however often this runs),
    // activates the four audio-path modules, prepares every child, then releases the own
    // buffers of the host MIDI and audio cables.
    void prepareToPlay(double sampleRate, int blockSize) override;
    // Releases every child, then deactivates the audio-path modules and unwires the cables.
    void releaseResources() override;
    // Loads the embedded bank; when it is missing or damaged every parameter of the tree is
    // still sent again, so that the modules take the values they show.
    void loadFactoryBank() override;
    juce::String getPluginName() const override;
    int getPluginId() const override;
    void process(int numSamples) override;
    void renderAudioMidi(juce::AudioSampleBuffer& input, juce::AudioSampleBuffer& output,
                         bool flag, juce::MidiBuffer& midi) override;

    virtual ZylTransportModule* getTransportModule() const;
    virtual ZylProgramModule* getProgramModule() const;
    virtual ZylMidiInputGroupModule* getMidiInputGroupModule() const;
    virtual ZylMidiOutputGroupModule* getMidiOutputGroupModule() const;
    virtual ZylSynthModule* getSynthModule() const;
    virtual ZylHelpModule* getHelpModule() const;
    virtual ZylSpaceModule* getSpaceModule() const;
    // Hands the track names to the MIDI input's track vocabulary and the demo archive to its
    // sequencer; track value i plays archive member i.
    virtual void loadDemoMidiFiles();

    // Loads a bank file held in memory (the whole ".fxb"); false, with the tree unchanged, when
    // its header or its state is not usable.
    bool loadBankFromFxb(const void* data, std::size_t size);
    // loadFactoryBank's work on the first member of archive; returns whether the bank loaded.
    // Every parameter is sent again in either case.
    bool loadFactoryBankFrom(const ZylEmbeddedArchive& archive);

    // The cables, for tests and the benchmarks.
    ZylMidiKeyboardCable& getKeyboardCable() noexcept { return keyboardCable; }
    ZylMidiCable& getHostMidiCable() noexcept { return hostMidiCable; }
    ZylMidiCable& getThruCable() noexcept { return thruCable; }
    ZylMidiCable& getSpaceOutCable() noexcept { return spaceOutCable; }
    ZylMidiCable& getSynthInCable() noexcept { return synthInCable; }
    ZylAudioCable& getAudioCable() noexcept { return audioCable; }

    // The names of the built-in tracks and their descriptions, in archive order.
    static const std::vector<std::wstring>& getDemoTrackNames();
    static const std::vector<std::wstring>& getDemoTrackDescriptions();

private:
    template <class ModuleType>
    ModuleType* findModule(std::int32_t moduleId) const;
    ZylMidiInputModule* getMidiInputModule() const;
    // The modules that run per block and hold cables: MIDI input, space, MIDI output, synth
    // (null for a missing one).
    std::array<ZylModule*, 4> audioPathModules() const;
    ZylMidiOutputModule* getMidiOutputModule() const;
    // The connections of the audio path as (pin, cable) pairs, in wiring order; pins that a
    // missing module would give are left out.
    template <class Visitor>
    void forEachConnection(Visitor&& visit) const;
    void wire();
    void unwire();
    void reserveMidiCables(int blockSize);

    ZylMidiPortBackend* backend;
    // The per-block order, found once when the children exist: MIDI input, transport, space,
    // MIDI output, synth (null for a missing one).
    std::array<ZylModule*, 5> blockOrder {};
    ZylTransportModule* clock = nullptr;
    // Whether the cables are in the pins (between prepareToPlay and releaseResources).
    bool wired = false;
    ZylMidiKeyboardCable keyboardCable;
    ZylMidiCable hostMidiCable;
    ZylMidiCable thruCable;
    ZylMidiCable spaceOutCable;
    ZylMidiCable synthInCable;
    ZylAudioCable audioCable;
};
