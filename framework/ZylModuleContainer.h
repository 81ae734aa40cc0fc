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

class ZylCachedDrawables;
class ZylGeneralDomainSet;
class ZylHostLink;
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
// The tree reaches whatever hosts it (the processor in the program) only through the host link
// given to setFilter: the callback lock, suspension and host notifications. Until one is given,
// and in a tree built without a host, the container's own lock stands in, so that modules can
// be driven the same way with or without one.
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
    // The host link (the processor), not owned; null until set.
    virtual void setFilter(ZylHostLink* host);
    virtual ZylHostLink* getFilter() const;
    virtual ZylGeneralDomainSet* getGeneralDomains() const;
    // The container's own set, holding only the reset parameter; never added to the host map.
    virtual ZylParameterSet* getParameters() const;
    // The sender of the reset command; every module listens to it.
    virtual ZylParameter* getResetParameter() const;
    // Module 1000 as the program module; null when it is missing or of another class.
    virtual ZylProgramModule* getProgramModule() const;

    // The drawable cache shared by every editor and panel of the tree. It belongs to the interface
    // layer, which creates it on first use and hands it over with setDrawables; the core only
    // keeps it. Null until then.
    virtual ZylCachedDrawables* getDrawables() const;
    // Takes the cache over; deleter (supplied by the layer that knows the type) frees it when the
    // container goes, after everything else. A second cache replaces and frees the first.
    using DrawablesDeleter = void (*)(ZylCachedDrawables*);
    void setDrawables(ZylCachedDrawables* cache, DrawablesDeleter deleter);

    // Taken first in the lock order by every module handler that changes the tree, and held by
    // the audio thread for the whole block: the host link's, else the container's own.
    const juce::CriticalSection& getCallbackLock() const;

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
    ZylHostLink* filter = nullptr;
    std::unique_ptr<ZylGeneralDomainSet> generalDomains;
    std::unique_ptr<ZylParameterSet> containerParameters;
    juce::CriticalSection ownCallbackLock;
    std::atomic<juce::AudioPlayHead*> playHead { nullptr };
    ZylCachedDrawables* drawables = nullptr;
    DrawablesDeleter drawablesDeleter = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylModuleContainer)
};
