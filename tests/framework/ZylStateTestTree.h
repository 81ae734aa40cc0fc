#pragma once

#include "framework/ZylAudioCable.h"
#include "framework/ZylDomainSet.h"
#include "framework/ZylFxFiles.h"
#include "framework/ZylGeneralDomainSet.h"
#include "framework/ZylHostLink.h"
#include "framework/ZylLinkParameterSet.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylModule.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylProgramModule.h"
#include "framework/ZylPropertySet.h"
#include "framework/ZylRealDomain.h"
#include "framework/ZylStateXml.h"

#include <memory>
#include <string>
#include <vector>

// A tiny module tree shaped like the product's, for the state, file and processor tests:
//
//   root 2 ("lumenfold" 2.5.544, plug-in id "QV02")
//     program module 1000
//     leaf 2000: global "power" (On/Off, host 0); per program "level" (unit scale, host 1),
//                "tempo" (typed number 20..999, internal), "port" (names, host 2)
//       inner 300100: global "mix" (percentage, host 3); an "ext" element holding its device name
//     bare 9000: no parameters, no properties
//
// The root wires the leaf's audio and MIDI pins to the host's buffers for each block; the leaf
// writes its level into every output sample and one note-on per block.
namespace zyltest
{
// Tempo-like: the parameter holds a number; the list holds only the default.
class NumberDomain : public ZylRealDomain
{
public:
    explicit NumberDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
    {
        setDefaultValue(addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 120.0, L"120", L"",
                                                            L"", nullptr, 0)));
        renumberIndexes();
    }
    std::wstring getShortName() const override { return L"Tempo"; }
    bool hasFixedValues() const override { return false; }
    bool hasDynamicValues() const override { return false; }
    int getControlType() const override { return kControlNone; }
    bool isValidNumber(float x) const override { return x >= 20.0f && x <= 999.0f; }
};

// Device-like: values saved by name.
class NameDomain : public ZylRealDomain
{
public:
    explicit NameDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
    {
        for (const auto* name : { L"Port A", L"Port B", L"Gymnop\u00e9die no. 1" })
            addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 0.0, name, L"", L"", nullptr, 0));
        distributePositions();
        renumberIds();
        renumberIndexes();
        setDefaultValue(getValues().front());
    }
    std::wstring getShortName() const override { return L"Port"; }
    bool hasFixedValues() const override { return false; }
    bool hasDynamicValues() const override { return true; }
};

class InnerModule : public ZylModule
{
public:
    static constexpr std::int32_t kId = 300100;

    explicit InnerModule(ZylModuleContainer* owner) : ZylModule(owner, kId, L"") {}
    ~InnerModule() override
    {
        if (isInitialised())
            removeParameterSink(this, false);
    }

    void initialise() override
    {
        ZylModule::initialise();
        registerInModuleMap();
        getGlobalParameters()->createParameter(
            0, takeHostAutomationIndex(),
            getGeneralDomains()->getDomains()[ZylGeneralDomainSet::kPercentagePlace]);
        setCurrentProgram(0);
        registerParameters(getContainer()->getParameterMap());
        addParameterSink(this, false);
    }

    std::unique_ptr<juce::XmlElement> createExtXml(bool, int) const override
    {
        auto element = std::make_unique<juce::XmlElement>("dev");
        element->setAttribute("n", deviceName);
        return element;
    }

    void restoreExtXml(const juce::XmlElement& element, bool, int, bool) override
    {
        if (auto* own = element.getFirstChildElement(); own != nullptr && own->getTagName() == "dev")
            deviceName = own->getStringAttribute("n", deviceName);
    }

    ZylParameter* mix() const { return getGlobalParameters()->getParameters()[0]; }

    juce::String deviceName { "none" };
};

class LeafModule : public ZylModule
{
public:
    static constexpr std::int32_t kId = 2000;

    explicit LeafModule(ZylModuleContainer* owner) : ZylModule(owner, kId, L"") {}
    ~LeafModule() override
    {
        if (isInitialised())
            removeParameterSink(this, false);
    }

    void initialise() override
    {
        ZylModule::initialise();
        registerInModuleMap();
        auto* domains = adoptDomainSet(std::make_unique<ZylDomainSet>());
        auto* numbers = domains->addDomain(std::make_unique<NumberDomain>(domains));
        auto* names = domains->addDomain(std::make_unique<NameDomain>(domains));
        const auto& general = getGeneralDomains()->getDomains();

        getGlobalParameters()->createParameter(
            0, takeHostAutomationIndex(), general[ZylGeneralDomainSet::kOnOffSwitchPlace], false,
            L"Power");
        createProgramParameter(0, takeHostAutomationIndex(),
                               general[ZylGeneralDomainSet::kUnitScalePlace], L"Level");
        createProgramParameter(1, takeInternalAutomationIndex(), numbers, L"Tempo");
        createProgramParameter(2, takeHostAutomationIndex(), names);

        addPin(std::make_unique<ZylPin<ZylAudioCable>>(false, true));
        addPin(std::make_unique<ZylPin<ZylMidiCable>>(false, true));

        inner = static_cast<InnerModule*>(addChild(std::make_unique<InnerModule>(getContainer())));
        inner->initialise();

        setCurrentProgram(0);
        registerParameters(getContainer()->getParameterMap());
        addParameterSink(this, false);
    }

    void prepareToPlay(double rate, int blockSize) override
    {
        preparedRate = rate;
        preparedBlockSize = blockSize;
        ZylModule::prepareToPlay(rate, blockSize);
    }

    void process(int numSamples) override
    {
        ++blocks;
        float level = 0.0f;
        {
            const juce::ScopedLock sl(this->level()->getLock());
            level = this->level()->getValue();
        }
        if (auto* cable = getPinOfKind<ZylAudioCable>(0)->getFirstCable())
            if (auto* buffer = cable->getBuffer())
                for (int channel = 0; channel < buffer->getNumChannels(); ++channel)
                    juce::FloatVectorOperations::fill(buffer->getWritePointer(channel), level,
                                                      numSamples);
        if (auto* cable = getPinOfKind<ZylMidiCable>(1)->getFirstCable())
            if (auto* midi = cable->getBuffer())
                midi->addEvent(juce::MidiMessage::noteOn(1, 60, level), 0);
    }

    ZylParameter* power() const { return getGlobalParameters()->getParameters()[0]; }
    ZylParameter* level() const { return getProgramParameters()->getParameters()[0]; }
    ZylParameter* tempo() const { return getProgramParameters()->getParameters()[1]; }
    ZylParameter* port() const { return getProgramParameters()->getParameters()[2]; }
    // The parameter of a program that is not necessarily current.
    ZylParameter* programParameter(int program, int place) const
    {
        return getProgramSet(program)->getParameters()[static_cast<size_t>(place)];
    }

    InnerModule* inner = nullptr;
    double preparedRate = 0.0;
    int preparedBlockSize = 0;
    int blocks = 0;
};

class BareModule : public ZylModule
{
public:
    static constexpr std::int32_t kId = 9000;
    explicit BareModule(ZylModuleContainer* owner) : ZylModule(owner, kId, L"") {}
    void initialise() override
    {
        ZylModule::initialise();
        registerInModuleMap();
        setCurrentProgram(0);
    }
};

class StateRootModule : public ZylModule
{
public:
    static constexpr std::int32_t kId = 2;

    explicit StateRootModule(ZylModuleContainer* owner) : ZylModule(owner, kId, L"")
    {
        setVersion(2, 5, 544);
    }

    ~StateRootModule() override
    {
        audioCable.setBuffer(nullptr, false);
        midiCable.setBuffer(nullptr, false);
    }

    void initialise() override
    {
        ZylModule::initialise();
        registerInModuleMap();
        programs = static_cast<ZylProgramModule*>(
            addChild(std::make_unique<ZylProgramModule>(getContainer())));
        leaf = static_cast<LeafModule*>(addChild(std::make_unique<LeafModule>(getContainer())));
        bare = static_cast<BareModule*>(addChild(std::make_unique<BareModule>(getContainer())));
        for (auto* child : getChildren())
            child->initialise();
        setCurrentProgram(0);
    }

    juce::String getPluginName() const override { return "lumenfold"; }
    int getPluginId() const override
    {
        return static_cast<int>(ZylFx::makeFourCC('Q', 'V', '0', '2'));
    }

    void prepareToPlay(double rate, int blockSize) override
    {
        leaf->getPinOfKind<ZylAudioCable>(0)->connect(&audioCable);
        leaf->getPinOfKind<ZylMidiCable>(1)->connect(&midiCable);
        ZylModule::prepareToPlay(rate, blockSize);
    }

    void releaseResources() override
    {
        ZylModule::releaseResources();
        leaf->getPinOfKind<ZylAudioCable>(0)->disconnect(&audioCable);
        leaf->getPinOfKind<ZylMidiCable>(1)->disconnect(&midiCable);
    }

    void renderAudioMidi(juce::AudioSampleBuffer&, juce::AudioSampleBuffer& output, bool,
                         juce::MidiBuffer& midi) override
    {
        audioCable.setBuffer(&output, false);
        midiCable.setBuffer(&midi, false);
        processBlock(output.getNumSamples());
        audioCable.setBuffer(nullptr, false);
        midiCable.setBuffer(nullptr, false);
    }

    void process(int numSamples) override
    {
        leaf->processBlock(numSamples);
        leaf->inner->processBlock(numSamples);
    }

    ZylProgramModule* programs = nullptr;
    LeafModule* leaf = nullptr;
    BareModule* bare = nullptr;

private:
    ZylAudioCable audioCable;
    ZylMidiCable midiCable;
};

// A tree without a processor, with an optional host link; the container goes after the root.
struct StateTree
{
    explicit StateTree(ZylHostLink* host = nullptr)
    {
        container.setFilter(host);
        root = std::make_unique<StateRootModule>(&container);
        container.setRootModule(root.get());
        root->initialise();
    }
    ~StateTree()
    {
        container.setRootModule(nullptr);
        root.reset();
    }

    LeafModule& leaf() const { return *root->leaf; }
    InnerModule& inner() const { return *root->leaf->inner; }
    ZylProgramModule& programs() const { return *root->programs; }

    juce::MemoryBlock bank() const
    {
        juce::MemoryBlock block;
        root->saveBankToMemory(block);
        return block;
    }

    juce::MemoryBlock program(int index) const
    {
        juce::MemoryBlock block;
        root->saveProgramToMemory(index, block);
        return block;
    }

    ZylModuleContainer container;
    std::unique_ptr<StateRootModule> root;
};

inline std::string toText(const juce::MemoryBlock& block)
{
    return std::string(static_cast<const char*>(block.getData()), block.getSize());
}
} // namespace zyltest
