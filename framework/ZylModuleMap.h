#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <map>

class ZylModule;

// Module id to module, not owning. Filled on the message thread while the tree initialises and
// only read afterwards.
class ZylModuleMap
{
public:
    ZylModuleMap() = default;
    virtual ~ZylModuleMap() = default;

    // Null for an id that no module registered (an id read from a stored state, say).
    virtual ZylModule* getModule(std::int32_t id) const;
    virtual int size() const;
    // The first module registered under an id keeps it; returns whether module was entered.
    virtual bool add(ZylModule* module, std::int32_t id);

private:
    std::map<std::int32_t, ZylModule*> modules;

    JUCE_DECLARE_NON_COPYABLE(ZylModuleMap)
};
