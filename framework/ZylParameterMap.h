#pragma once

#include <juce_core/juce_core.h>

#include <map>

class ZylParameter;
class ZylParameterSet;

// The host's view of the parameters: host automation index to parameter. Filled on the message
// thread at start-up and only read afterwards (also by the audio and host threads), so reading
// never inserts. Internal parameters (negative indexes) are kept but not counted for the host.
class ZylParameterMap
{
public:
    ZylParameterMap() = default;
    virtual ~ZylParameterMap() = default;

    // Null for an index that no parameter was added under.
    virtual ZylParameter* getParameter(int automationIndex) const;
    // The number of distinct indexes 0 and above in the map.
    virtual int getNumHostParameters() const;
    virtual int size() const;
    // Adds every parameter of the set and of its child sets, depth first; the first parameter
    // added under an index keeps it. A null set adds nothing.
    virtual void add(const ZylParameterSet* set);

private:
    std::map<int, ZylParameter*> parameters;
    int numHostParameters = 0;

    JUCE_DECLARE_NON_COPYABLE(ZylParameterMap)
};
