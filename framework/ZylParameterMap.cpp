#include "framework/ZylParameterMap.h"

#include "framework/ZylParameter.h"
#include "framework/ZylParameterSet.h"

ZylParameter* ZylParameterMap::getParameter(int automationIndex) const
{
    const auto found = parameters.find(automationIndex);
    return found != parameters.end() ? found->second : nullptr;
}

int ZylParameterMap::getNumHostParameters() const
{
    return numHostParameters;
}

int ZylParameterMap::size() const
{
    return static_cast<int>(parameters.size());
}

void ZylParameterMap::add(const ZylParameterSet* set)
{
    if (set == nullptr)
        return;
    for (auto* parameter : set->getParameters())
    {
        const int key = parameter->getAutomationIndex();
        // Counting only new keys: a set added twice must not announce phantom parameters to the
        // host, which would list them as reserved slots.
        if (parameters.emplace(key, parameter).second && key >= 0)
            ++numHostParameters;
    }
    for (auto* childSet : set->getChildSets())
        add(childSet);
}
