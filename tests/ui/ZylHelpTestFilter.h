#pragma once

#include "framework/ZylFilter.h"
#include "framework/ZylFxFiles.h"
#include "framework/ZylModule.h"
#include "ui/ZylHelpModule.h"

#include <memory>

namespace zyltest
{
// A root module (id 2, version 2.5.544) whose only child is the help module.
class HelpRootModule : public ZylModule
{
public:
    explicit HelpRootModule(ZylModuleContainer* owner) : ZylModule(owner, 2, L"")
    {
        setVersion(2, 5, 544);
    }

    void initialise() override
    {
        ZylModule::initialise();
        registerInModuleMap();
        help = static_cast<ZylHelpModule*>(
            addChild(std::make_unique<ZylHelpModule>(getContainer())));
        help->initialise();
        setCurrentProgram(0);
    }

    juce::String getPluginName() const override { return "lumenfold"; }
    int getPluginId() const override
    {
        return static_cast<int>(ZylFx::makeFourCC('Q', 'V', '0', '2'));
    }

    ZylHelpModule* help = nullptr;
};

// The processor over that tree.
class HelpTestFilter : public ZylFilter
{
public:
    std::unique_ptr<ZylModule> createRootModule() override
    {
        return std::make_unique<HelpRootModule>(getModuleContainer());
    }

    HelpRootModule& root() const
    {
        return *static_cast<HelpRootModule*>(getModuleContainer()->getRootModule());
    }
};
} // namespace zyltest
