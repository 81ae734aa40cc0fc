#include "app/ZylLumenfoldModule.h"

#include "framework/ZylDebug.h"
#include "framework/ZylFxFiles.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylProgramModule.h"
#include "modules/ZylMidiFromFileDomain.h"
#include "modules/ZylMidiInputDomainSet.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylMidiOutputGroupModule.h"
#include "modules/ZylMidiOutputModule.h"
#include "modules/ZylSynthModule.h"
#include "modules/ZylTransportModule.h"
#include "resources/ZylEmbeddedArchive.h"
#include "space/ZylSpaceModule.h"
#include "ui/ZylHelpModule.h"

#include <array>
#include <memory>

namespace
{
// The MIDI output module's pins, by position: events in, host route, synth route.
constexpr int kOutputEventsPin = 0;
constexpr int kOutputHostPin = 1;
constexpr int kOutputSynthPin = 2;
} // namespace

ZylLumenfoldModule::ZylLumenfoldModule(ZylModuleContainer* owner, ZylMidiPortBackend* ports)
    : ZylModule(owner, kModuleId, L""), backend(ports)
{
    setVersion(kVersionMajor, kVersionMinor, kVersionBuild);
    keyboardCable.setBuffer(std::make_unique<juce::MidiKeyboardState>());
    hostMidiCable.setBuffer(std::make_unique<juce::MidiBuffer>());
    thruCable.setBuffer(std::make_unique<juce::MidiBuffer>());
    spaceOutCable.setBuffer(std::make_unique<juce::MidiBuffer>());
    synthInCable.setBuffer(std::make_unique<juce::MidiBuffer>());
    audioCable.setBuffer(
        std::make_unique<juce::AudioSampleBuffer>(kInitialAudioChannels, kInitialAudioSamples));
}

ZylLumenfoldModule::~ZylLumenfoldModule()
{
    // The children go after the cables (members die before the base): no pin may still point
    // at a cable, and the MIDI input module stops listening to the keyboard state while it
    // still exists.
    for (auto* module : audioPathModules())
        if (module != nullptr && module->isActive())
            module->deactivate();
    unwire();
}

void ZylLumenfoldModule::initialise()
{
    ZylModule::initialise();
    registerInModuleMap();

    auto* owner = getContainer();
    addChild(std::make_unique<ZylProgramModule>(owner));
    addChild(std::make_unique<ZylTransportModule>(owner));
    addChild(std::make_unique<ZylMidiInputGroupModule>(owner, backend));
    addChild(std::make_unique<ZylMidiOutputGroupModule>(owner, backend));
    addChild(std::make_unique<ZylSynthModule>(owner));
    addChild(std::make_unique<ZylHelpModule>(owner));
    addChild(std::make_unique<ZylSpaceModule>(owner));
    for (auto* child : getChildren())
        child->initialise();

    clock = getTransportModule();
    blockOrder = { getMidiInputModule(), clock, getSpaceModule(), getMidiOutputModule(),
                   getSynthModule() };

    loadDemoMidiFiles();
    setCurrentProgram(0);
}

const std::vector<std::wstring>& ZylLumenfoldModule::getDemoTrackNames()
{
    static const std::vector<std::wstring> names {
        L"Gymnop\u00e9die no. 1", L"Greensleeves", L"Praeambulum no. 3", L"The Entertainer",
        L"CMajor scale",          L"Pulses 8 x 1/16."
    };
    return names;
}

const std::vector<std::wstring>& ZylLumenfoldModule::getDemoTrackDescriptions()
{
    static const std::vector<std::wstring> descriptions {
        L"Satie E., Gymnop\u00e9die no. 1, D major, G major",
        L"Anonymous, Greensleeves, A minor",
        L"Anonymous, Praeambulum no. 3, D minor",
        L"Joplin S., The Entertainer, C major, F major",
        L"Plays C Major scale",
        L"8 x 1/16. note pulses per bar, looped"
    };
    return descriptions;
}

void ZylLumenfoldModule::loadDemoMidiFiles()
{
    auto* group = getMidiInputGroupModule();
    if (group == nullptr)
        return;
    if (auto* domains = group->getDomainSet())
        if (auto* tracks = domains->getTrackDomain())
            tracks->setTrackNames(getDemoTrackNames(), getDemoTrackDescriptions());

    auto* input = group->getInputModule(0);
    const auto archive = ZylEmbeddedArchive::find(kDemoArchiveName);
    if (input == nullptr || archive.isEmpty())
        return;
    if (auto stream = archive.createStream())
        if (!input->getSequencer().addMidiFilesFromZip(*stream))
            zylDebugLine("ZylLumenfoldModule: the demo tracks could not all be read");
}

bool ZylLumenfoldModule::loadBankFromFxb(const void* data, std::size_t size)
{
    juce::MemoryBlock chunk;
    std::uint32_t pluginId = 0, pluginVersion = 0;
    if (!readFxbChunk(data, size, chunk, pluginId, pluginVersion))
        return false;
    return loadBankFromMemory(chunk.getData(), static_cast<juce::int64>(chunk.getSize()));
}

void ZylLumenfoldModule::loadFactoryBank()
{
    loadFactoryBankFrom(ZylEmbeddedArchive::find(kFactoryBankArchiveName));
}

bool ZylLumenfoldModule::loadFactoryBankFrom(const ZylEmbeddedArchive& archive)
{
    juce::MemoryBlock file;
    const bool loaded = archive.readEntry(0, file) && loadBankFromFxb(file.getData(), file.getSize());
    if (!loaded)
    {
        // A successful load sends every value again; without one the modules would never hear
        // the values the tree starts with (the clock would keep its own 90 bpm while 120 shows).
        zylDebugLine("ZylLumenfoldModule: the factory bank could not be loaded");
        updateParameters();
    }
    return loaded;
}

juce::String ZylLumenfoldModule::getPluginName() const
{
    return "lumenfold";
}

int ZylLumenfoldModule::getPluginId() const
{
    return static_cast<int>(ZylFx::makeFourCC('Q', 'V', '0', '2'));
}

template <class ModuleType>
ModuleType* ZylLumenfoldModule::findModule(std::int32_t moduleId) const
{
    return dynamic_cast<ModuleType*>(getContainer()->getModule(moduleId));
}

ZylTransportModule* ZylLumenfoldModule::getTransportModule() const
{
    return findModule<ZylTransportModule>(ZylTransportModule::kModuleId);
}

ZylProgramModule* ZylLumenfoldModule::getProgramModule() const
{
    return findModule<ZylProgramModule>(ZylProgramModule::kModuleId);
}

ZylMidiInputGroupModule* ZylLumenfoldModule::getMidiInputGroupModule() const
{
    return findModule<ZylMidiInputGroupModule>(ZylMidiInputGroupModule::kModuleId);
}

ZylMidiOutputGroupModule* ZylLumenfoldModule::getMidiOutputGroupModule() const
{
    return findModule<ZylMidiOutputGroupModule>(ZylMidiOutputGroupModule::kModuleId);
}

ZylSynthModule* ZylLumenfoldModule::getSynthModule() const
{
    return findModule<ZylSynthModule>(ZylSynthModule::kModuleId);
}

ZylHelpModule* ZylLumenfoldModule::getHelpModule() const
{
    return findModule<ZylHelpModule>(ZylHelpModule::kModuleId);
}

ZylSpaceModule* ZylLumenfoldModule::getSpaceModule() const
{
    return findModule<ZylSpaceModule>(ZylSpaceModule::kModuleId);
}

ZylMidiInputModule* ZylLumenfoldModule::getMidiInputModule() const
{
    return findModule<ZylMidiInputModule>(ZylMidiInputModule::kModuleId);
}

ZylMidiOutputModule* ZylLumenfoldModule::getMidiOutputModule() const
{
    return findModule<ZylMidiOutputModule>(ZylMidiOutputModule::kModuleId);
}

std::array<ZylModule*, 4> ZylLumenfoldModule::audioPathModules() const
{
    return { getMidiInputModule(), getSpaceModule(), getMidiOutputModule(), getSynthModule() };
}

template <class Visitor>
void ZylLumenfoldModule::forEachConnection(Visitor&& visit) const
{
    auto* self = const_cast<ZylLumenfoldModule*>(this);
    if (auto* input = getMidiInputModule())
    {
        visit(input->getMidiOutPin(), &self->hostMidiCable);
        visit(input->getKeyboardPin(), &self->keyboardCable);
        visit(input->getMidiThruPin(), &self->thruCable);
    }
    if (auto* space = getSpaceModule())
    {
        visit(space->getKeyboardPin(), &self->keyboardCable);
        visit(space->getMidiInPin(), &self->thruCable);
        visit(space->getMidiOutPin(), &self->spaceOutCable);
    }
    if (auto* output = getMidiOutputModule())
    {
        visit(output->getPinOfKind<ZylMidiCable>(kOutputEventsPin), &self->spaceOutCable);
        visit(output->getPinOfKind<ZylMidiCable>(kOutputHostPin), &self->hostMidiCable);
        visit(output->getPinOfKind<ZylMidiCable>(kOutputSynthPin), &self->synthInCable);
    }
    if (auto* synth = getSynthModule())
    {
        visit(synth->getMidiInPin(), &self->synthInCable);
        visit(synth->getAudioOutPin(), &self->audioCable);
    }
}

void ZylLumenfoldModule::wire()
{
    // A host may prepare again without releasing first: a cable already in the pin is taken
    // out before it goes in, so that it is never read or cleared twice in a block.
    forEachConnection([](ZylPinBase* pin, ZylCableBase* cable) {
        if (pin == nullptr)
            return;
        pin->disconnect(cable);
        pin->connect(cable);
    });
    wired = true;
}

void ZylLumenfoldModule::unwire()
{
    forEachConnection([](ZylPinBase* pin, ZylCableBase* cable) {
        if (pin != nullptr)
            pin->disconnect(cable);
    });
    wired = false;
}

void ZylLumenfoldModule::reserveMidiCables(int blockSize)
{
    const auto bytes =
        static_cast<size_t>(juce::jmax(kMinMidiBytes, juce::jmax(1, blockSize) * kMidiBytesPerSample));
    for (auto* cable : { &thruCable, &spaceOutCable, &synthInCable })
        if (auto* buffer = cable->getBuffer())
            buffer->ensureSize(bytes);
}

void ZylLumenfoldModule::prepareToPlay(double sampleRate, int blockSize)
{
    wire();
    reserveMidiCables(blockSize);
    // The MIDI input module listens to the keyboard state once its pin holds the cable.
    for (auto* module : audioPathModules())
        if (module != nullptr && !module->isActive())
            module->activate();
    ZylModule::prepareToPlay(sampleRate, blockSize);
    // The host's buffers ride on these two cables during every block; their own buffers only
    // stood in until the audio starts, and go now rather than in the first block, where freeing
    // them would run on the audio thread.
    hostMidiCable.setBuffer(nullptr, false);
    audioCable.setBuffer(nullptr, false);
}

void ZylLumenfoldModule::releaseResources()
{
    ZylModule::releaseResources();
    for (auto* module : audioPathModules())
        if (module != nullptr)
            module->deactivate();
    unwire();
}

void ZylLumenfoldModule::process(int numSamples)
{
    // The transport's clock is a double: it counts whole samples exactly far beyond any
    // session, so the chain runs on however long the program plays.
    for (auto* module : blockOrder)
        if (module != nullptr)
            module->processBlock(numSamples);
    if (clock != nullptr)
        clock->advanceSamplePosition(numSamples);
}

void ZylLumenfoldModule::renderAudioMidi(juce::AudioSampleBuffer& /*input*/,
                                         juce::AudioSampleBuffer& output, bool /*flag*/,
                                         juce::MidiBuffer& midi)
{
    // Unprepared, no module writes the output: a host's stale samples must not pass through.
    if (!wired)
        output.clear();
    hostMidiCable.setBuffer(&midi, false);
    audioCable.setBuffer(&output, false);
    processBlock(output.getNumSamples());
    hostMidiCable.setBuffer(nullptr, false);
    audioCable.setBuffer(nullptr, false);
}
