#pragma once

#include "framework/ZylFilter.h"
#include "framework/ZylFxFiles.h"
#include "framework/ZylModule.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylProgramModule.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiOutputGroupModule.h"
#include "modules/ZylTransportModule.h"
#include "tests/modules/ZylFakeMidiPortBackend.h"
#include "ui/ZylHelpModule.h"

#include <memory>

// A processor over the modules the header and MIDI panels work on: program 1000, transport
// 2000, the MIDI input and output groups 3000 and 3100 on fake ports and help 9000, under a
// root 2 that
// saves and loads like the product's ("lumenfold" 2.5.544, plug-in id "QV02").
namespace zyltest
{
class PanelTestRoot : public ZylModule
{
public:
    PanelTestRoot(ZylModuleContainer* owner, ZylMidiPortBackend* ports)
        : ZylModule(owner, 2, L""), backend(ports)
    {
        setVersion(2, 5, 544);
    }

    void initialise() override
    {
        ZylModule::initialise();
        registerInModuleMap();
        auto* tree = getContainer();
        programs = static_cast<ZylProgramModule*>(
            addChild(std::make_unique<ZylProgramModule>(tree)));
        transport = static_cast<ZylTransportModule*>(
            addChild(std::make_unique<ZylTransportModule>(tree)));
        inputs = static_cast<ZylMidiInputGroupModule*>(
            addChild(std::make_unique<ZylMidiInputGroupModule>(tree, backend)));
        outputs = static_cast<ZylMidiOutputGroupModule*>(
            addChild(std::make_unique<ZylMidiOutputGroupModule>(tree, backend)));
        help = static_cast<ZylHelpModule*>(addChild(std::make_unique<ZylHelpModule>(tree)));
        for (auto* child : getChildren())
            child->initialise();
        setCurrentProgram(0);
    }

    // The transport runs on the processor's blocks, its clock advancing after each.
    void process(int numSamples) override
    {
        transport->processBlock(numSamples);
        transport->advanceSamplePosition(numSamples);
    }

    juce::String getPluginName() const override { return "lumenfold"; }
    int getPluginId() const override
    {
        return static_cast<int>(ZylFx::makeFourCC('Q', 'V', '0', '2'));
    }

    ZylProgramModule* programs = nullptr;
    ZylTransportModule* transport = nullptr;
    ZylMidiInputGroupModule* inputs = nullptr;
    ZylMidiOutputGroupModule* outputs = nullptr;
    ZylHelpModule* help = nullptr;

private:
    ZylMidiPortBackend* backend;
};

// Comes first among the processor's bases, so it goes after the tree, whose device managers
// close their ports into it.
struct FakePorts
{
    ZylFakeMidiPortBackend ports;
};

class PanelTestFilter : public FakePorts, public ZylFilter
{
public:
    PanelTestFilter() { initialise(); }

    std::unique_ptr<ZylModule> createRootModule() override
    {
        return std::make_unique<PanelTestRoot>(getModuleContainer(), &ports);
    }

    PanelTestRoot& root() const
    {
        return *static_cast<PanelTestRoot*>(getModuleContainer()->getRootModule());
    }
};
} // namespace zyltest
