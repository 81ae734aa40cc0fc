#pragma once

#include "framework/ZylDomainSet.h"
#include "framework/ZylGeneralDomainSet.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylModule.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylParameterSet.h"
#include "tests/framework/ZylTestDomain.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A small module tree for tests, driven without a processor: a root (id 2) that owns a domain
// set and two leaf children (ids 10 and 20, initialised in that order) whose parameters lie on
// the general domains and on the root's domain.
//
// Each child: global parameter 0 on On/Off (host index), program parameter 0 on the unit scale
// (host index), program parameter 1 on the root's test domain (internal index); pin 0 a MIDI
// pin cleared each block, pin 1 a MIDI pin cleared on reset.
namespace zyltest
{
class TestChildModule : public ZylModule
{
public:
    TestChildModule(ZylModuleContainer* owner, std::int32_t moduleId, ZylDomain* sharedDomain,
                    std::vector<std::string>& eventLog)
        : ZylModule(owner, moduleId, L""), shared(sharedDomain), log(eventLog)
    {
    }

    ~TestChildModule() override
    {
        if (isInitialised())
            removeParameterSink(this, false);
        log.push_back("delete " + std::to_string(getId()));
    }

    void initialise() override
    {
        ZylModule::initialise();
        registerInModuleMap();
        auto& general = getGeneralDomains()->getDomains();
        getGlobalParameters()->createParameter(
            0, takeHostAutomationIndex(), general[ZylGeneralDomainSet::kOnOffSwitchPlace]);
        createProgramParameter(0, takeHostAutomationIndex(),
                               general[ZylGeneralDomainSet::kUnitScalePlace]);
        createProgramParameter(1, takeInternalAutomationIndex(), shared);

        addPin(std::make_unique<ZylPin<ZylMidiCable>>(true, false));
        addPin(std::make_unique<ZylPin<ZylMidiCable>>(false, true));

        setCurrentProgram(0);
        registerParameters(getContainer()->getParameterMap());
        addParameterSink(this, false);
    }

    bool handleMessage(void* sender, int code, int timeMs) override
    {
        handled.push_back({ sender, code });
        return ZylModule::handleMessage(sender, code, timeMs);
    }

    void process(int numSamples) override
    {
        log.push_back("process " + std::to_string(getId()) + " " + std::to_string(numSamples));
        changedSeen.push_back(isChanged());
        if (onProcess)
            onProcess();
    }

    void processPendingReset() override
    {
        if (isResetPending())
            ++resetsCarriedOut;
        ZylModule::processPendingReset();
    }

    ZylParameter* level() const { return getProgramParameters()->getParameters()[0]; }
    ZylParameter* shape() const { return getProgramParameters()->getParameters()[1]; }
    ZylParameter* toggle() const { return getGlobalParameters()->getParameters()[0]; }

    struct Handled
    {
        void* sender;
        int code;
    };
    std::vector<Handled> handled;
    std::vector<bool> changedSeen;
    std::function<void()> onProcess;
    std::atomic<int> resetsCarriedOut { 0 };

private:
    ZylDomain* shared;
    std::vector<std::string>& log;
};

class TestRootModule : public ZylModule
{
public:
    static constexpr std::int32_t kId = 2;
    static constexpr std::int32_t kFirstChildId = 10;
    static constexpr std::int32_t kSecondChildId = 20;

    TestRootModule(ZylModuleContainer* owner, std::vector<std::string>& eventLog)
        : ZylModule(owner, kId, L""), log(eventLog)
    {
    }

    ~TestRootModule() override { log.push_back("delete root"); }

    void initialise() override
    {
        ZylModule::initialise();
        registerInModuleMap();
        auto* domains = adoptDomainSet(std::make_unique<ZylDomainSet>());
        auto* shapes = domains->addDomain(std::make_unique<ZylTestDomain>(domains));
        for (const auto* shape : { L"sine", L"square", L"saw" })
            shapes->add(shape);

        getGlobalParameters()->createParameter(0, takeInternalAutomationIndex(), shapes);

        first = static_cast<TestChildModule*>(addChild(
            std::make_unique<TestChildModule>(getContainer(), kFirstChildId, shapes, log)));
        second = static_cast<TestChildModule*>(addChild(
            std::make_unique<TestChildModule>(getContainer(), kSecondChildId, shapes, log)));
        first->initialise();
        second->initialise();
        setCurrentProgram(0);
    }

    void process(int numSamples) override
    {
        log.push_back("process root " + std::to_string(numSamples));
        first->processBlock(numSamples);
        second->processBlock(numSamples);
    }

    TestChildModule* first = nullptr;
    TestChildModule* second = nullptr;

private:
    std::vector<std::string>& log;
};

// The container is declared first so that the root goes before it, as the processor orders it.
struct TestModuleTree
{
    TestModuleTree()
    {
        root = std::make_unique<TestRootModule>(&container, log);
        container.setRootModule(root.get());
        root->initialise();
    }

    ~TestModuleTree() { root.reset(); }

    std::vector<std::string> log;
    ZylModuleContainer container;
    std::unique_ptr<TestRootModule> root;
};
} // namespace zyltest
