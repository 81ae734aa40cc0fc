#pragma once

#include "framework/ZylParameterCounter.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <cstdint>
#include <memory>

namespace juce
{
class AudioPlayHead;
}

class ZylFilter;
class ZylGeneralDomainSet;
class ZylModule;
class ZylModuleMap;
class ZylParameter;
class ZylParameterMap;
class ZylParameterSet;
class ZylProgramModule;

// The hub of one module tree: root module (not owned: the processor owns it and deletes it
// before the container), module id map, host parameter map, general domains, reset parameter
// and the counters handing out host automation indexes.
//
// The callback lock is the processor's (juce::AudioProcessor::getCallbackLock), handed over
// with setCallbackLock. Until then, and in a tree built without a processor, the container's
// own lock stands in, so that modules can be driven the same way with or without one.
class ZylModuleContainer
{
public:
    ZylModuleContainer();
    virtual ~ZylModuleContainer();

    virtual ZylParameterMap* getParameterMap() const;
    virtual ZylModuleMap* getModuleMap() const;
    virtual ZylModule* getRootModule() const;
    // Null when no module registered the id.
    virtual ZylModule* getModule(std::int32_t id) const;
    virtual void setRootModule(ZylModule* module);
    virtual ZylParameterCounter& getHostParameterCounter();
    virtual ZylParameterCounter& getInternalParameterCounter();
    virtual void setFilter(ZylFilter* processor);
    virtual ZylFilter* getFilter() const;
    virtual ZylGeneralDomainSet* getGeneralDomains() const;
    // The container's own set, holding only the reset parameter; never added to the host map.
    virtual ZylParameterSet* getParameters() const;
    // The sender of the reset command; every module listens to it.
    virtual ZylParameter* getResetParameter() const;
    // Module 1000 as the program module; null when it is missing or of another class.
    virtual ZylProgramModule* getProgramModule() const;

    // Taken first in the lock order by every module handler that changes the tree, and held by
    // the audio thread for the whole block. Set on the message thread before audio starts; null
    // goes back to the container's own lock.
    const juce::CriticalSection& getCallbackLock() const;
    void setCallbackLock(const juce::CriticalSection* processorLock);

    // The host's play head for the block that runs now, or null. The processor hands over its
    // own at the start of every block; a tree built without a processor has none until set.
    juce::AudioPlayHead* getPlayHead() const noexcept;
    void setPlayHead(juce::AudioPlayHead* head) noexcept;

private:
    std::unique_ptr<ZylParameterMap> parameterMap;
    std::unique_ptr<ZylModuleMap> moduleMap;
    ZylModule* rootModule = nullptr;
    std::unique_ptr<ZylParameterCounter> hostCounter;
    std::unique_ptr<ZylParameterCounter> internalCounter;
    ZylFilter* filter = nullptr;
    std::unique_ptr<ZylGeneralDomainSet> generalDomains;
    std::unique_ptr<ZylParameterSet> containerParameters;
    const juce::CriticalSection* callbackLock = nullptr;
    juce::CriticalSection ownCallbackLock;
    std::atomic<juce::AudioPlayHead*> playHead { nullptr };

    JUCE_DECLARE_NON_COPYABLE(ZylModuleContainer)
};
