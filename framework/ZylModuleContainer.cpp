#include "framework/ZylModuleContainer.h"

#include "framework/ZylGeneralDomainSet.h"
#include "framework/ZylHostLink.h"
#include "framework/ZylModuleMap.h"
#include "framework/ZylParameterMap.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylProgramModule.h"
#include "framework/ZylRealParameter.h"

namespace
{
constexpr int kResetParameterId = 0;
constexpr int kResetParameterAutomationIndex = 0;
} // namespace

ZylModuleContainer::ZylModuleContainer()
    : parameterMap(std::make_unique<ZylParameterMap>()),
      moduleMap(std::make_unique<ZylModuleMap>()),
      hostCounter(std::make_unique<ZylParameterCounter>(0, 1)),
      internalCounter(std::make_unique<ZylParameterCounter>(-1, -1)),
      generalDomains(std::make_unique<ZylGeneralDomainSet>()),
      containerParameters(std::make_unique<ZylParameterSet>())
{
    containerParameters->createParameter(
        kResetParameterId, kResetParameterAutomationIndex,
        generalDomains->getDomains()[ZylGeneralDomainSet::kNullPlace]);
}

ZylModuleContainer::~ZylModuleContainer()
{
    // The reset parameter lies on the Null domain: it goes before the general domains.
    parameterMap.reset();
    moduleMap.reset();
    hostCounter.reset();
    internalCounter.reset();
    containerParameters.reset();
    generalDomains.reset();
    setDrawables(nullptr, nullptr);
}

ZylCachedDrawables* ZylModuleContainer::getDrawables() const
{
    return drawables;
}

void ZylModuleContainer::setDrawables(ZylCachedDrawables* cache, DrawablesDeleter deleter)
{
    if (cache == drawables)
    {
        drawablesDeleter = deleter;
        return;
    }
    auto* previous = drawables;
    auto previousDeleter = drawablesDeleter;
    drawables = cache;
    drawablesDeleter = deleter;
    if (previous != nullptr && previousDeleter != nullptr)
        previousDeleter(previous);
}

ZylParameterMap* ZylModuleContainer::getParameterMap() const
{
    return parameterMap.get();
}

ZylModuleMap* ZylModuleContainer::getModuleMap() const
{
    return moduleMap.get();
}

ZylModule* ZylModuleContainer::getRootModule() const
{
    return rootModule;
}

ZylModule* ZylModuleContainer::getModule(std::int32_t id) const
{
    return moduleMap->getModule(id);
}

void ZylModuleContainer::setRootModule(ZylModule* module)
{
    rootModule = module;
}

ZylParameterCounter& ZylModuleContainer::getHostParameterCounter()
{
    return *hostCounter;
}

ZylParameterCounter& ZylModuleContainer::getInternalParameterCounter()
{
    return *internalCounter;
}

void ZylModuleContainer::setFilter(ZylHostLink* host)
{
    filter = host;
}

ZylHostLink* ZylModuleContainer::getFilter() const
{
    return filter;
}

ZylGeneralDomainSet* ZylModuleContainer::getGeneralDomains() const
{
    return generalDomains.get();
}

ZylParameterSet* ZylModuleContainer::getParameters() const
{
    return containerParameters.get();
}

ZylParameter* ZylModuleContainer::getResetParameter() const
{
    const auto& parameters = containerParameters->getParameters();
    return parameters.empty() ? nullptr : parameters.front();
}

const juce::CriticalSection& ZylModuleContainer::getCallbackLock() const
{
    return filter != nullptr ? filter->getHostCallbackLock() : ownCallbackLock;
}

ZylProgramModule* ZylModuleContainer::getProgramModule() const
{
    return dynamic_cast<ZylProgramModule*>(getModule(ZylProgramModule::kModuleId));
}

juce::AudioPlayHead* ZylModuleContainer::getPlayHead() const noexcept
{
    return playHead.load();
}

void ZylModuleContainer::setPlayHead(juce::AudioPlayHead* head) noexcept
{
    playHead.store(head);
}
