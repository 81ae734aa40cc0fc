#include "framework/ZylDomain.h"

#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameterEpoch.h"
#include "framework/ZylValueListObserver.h"

#include <algorithm>

void ZylDomain::addListObserver(ZylValueListObserver* observer)
{
    const juce::ScopedLock sl(getLock());
    if (observer != nullptr
        && std::find(listObservers.begin(), listObservers.end(), observer) == listObservers.end())
        listObservers.push_back(observer);
}

void ZylDomain::removeListObserver(ZylValueListObserver* observer)
{
    const juce::ScopedLock sl(getLock());
    listObservers.erase(std::remove(listObservers.begin(), listObservers.end(), observer),
                        listObservers.end());
}

void ZylDomain::listRebuilt()
{
    const juce::ScopedLock sl(getLock());
    tellListObservers();
    postMessage(static_cast<ZylDomain*>(this), kDomainListRebuilt);
}

void ZylDomain::tellListObservers()
{
    const juce::ScopedLock sl(getLock());
    ZylParameterEpoch::advance();
    for (auto* observer : listObservers)
        observer->valueListRebuilt(*this);
}
