#include "framework/ZylFilteredLinkDomain.h"

#include "framework/ZylMessageCodes.h"
#include "framework/ZylRealDomain.h"
#include "framework/ZylValue.h"

#include <algorithm>
#include <limits>

ZylFilteredLinkDomain::ZylFilteredLinkDomain(ZylDomain* linked) : linkedDomain(linked)
{
    jassert(linkedDomain != nullptr);
    linkedDomain->addSink(this);
    linkedDomain->addListObserver(this);
}

ZylFilteredLinkDomain::~ZylFilteredLinkDomain()
{
    linkedDomain->removeListObserver(this);
    linkedDomain->removeSink(this);
    linkedDomain = nullptr;
}

ZylDomainSet* ZylFilteredLinkDomain::getDomainSet() const { return linkedDomain->getDomainSet(); }

std::wstring ZylFilteredLinkDomain::getShortName() const { return linkedDomain->getShortName(); }

std::wstring ZylFilteredLinkDomain::getName() const { return linkedDomain->getName(); }

std::wstring ZylFilteredLinkDomain::getDescription() const
{
    return linkedDomain->getDescription();
}

const ZylValueList& ZylFilteredLinkDomain::getValues() const
{
    return isFiltering() ? filteredValues : linkedDomain->getValues();
}

bool ZylFilteredLinkDomain::hasFixedValues() const { return linkedDomain->hasFixedValues(); }

bool ZylFilteredLinkDomain::hasDynamicValues() const { return linkedDomain->hasDynamicValues(); }

void ZylFilteredLinkDomain::distributePositions()
{
    if (!isFiltering())
    {
        linkedDomain->distributePositions();
        return;
    }
    if (filteredValues.empty())
        return;
    assignPositions(0.0f, 1.0f / static_cast<float>(filteredValues.size()));
}

void ZylFilteredLinkDomain::assignPositions(float start, float step)
{
    if (!isFiltering())
    {
        linkedDomain->assignPositions(start, step);
        return;
    }
    filteredPositions.assign(filteredValues.size(), 0.0f);
    float position = start;
    for (auto& entry : filteredPositions)
    {
        entry = position;
        position += step;
    }
}

void ZylFilteredLinkDomain::assignSequentialData() { linkedDomain->assignSequentialData(); }

void ZylFilteredLinkDomain::renumberIndexes() { linkedDomain->renumberIndexes(); }

void ZylFilteredLinkDomain::renumberIds() { linkedDomain->renumberIds(); }

int ZylFilteredLinkDomain::placeOf(const ZylValue* value) const
{
    const auto it = std::find(filteredValues.begin(), filteredValues.end(), value);
    return it != filteredValues.end() ? static_cast<int>(it - filteredValues.begin()) : -1;
}

ZylValue* ZylFilteredLinkDomain::getNext(ZylValue* value, int n) const
{
    if (!isFiltering())
        return linkedDomain->getNext(value, n);
    if (value == nullptr)
        return nullptr;
    return ZylRealDomain::stepThrough(filteredValues, placeOf(value), n);
}

ZylValue* ZylFilteredLinkDomain::getPrevious(ZylValue* value, int n) const
{
    if (!isFiltering())
        return linkedDomain->getPrevious(value, n);
    if (n == std::numeric_limits<int>::min())
        return nullptr;
    return getNext(value, -n);
}

ZylValue* ZylFilteredLinkDomain::findById(int id) const { return linkedDomain->findById(id); }

ZylValue* ZylFilteredLinkDomain::findByPosition(float x) const
{
    if (!isFiltering())
        return linkedDomain->findByPosition(x);
    for (size_t i = filteredValues.size(); i-- > 0;)
        if (i < filteredPositions.size() && filteredPositions[i] <= x)
            return filteredValues[i];
    return nullptr;
}

ZylValue* ZylFilteredLinkDomain::findByData(double x) const { return linkedDomain->findByData(x); }

ZylValue* ZylFilteredLinkDomain::findByName(const std::wstring& text) const
{
    if (!isFiltering())
        return linkedDomain->findByName(text);
    return ZylRealDomain::findByNameIn(filteredValues, text);
}

ZylValue* ZylFilteredLinkDomain::findByNumericName(double x) const
{
    if (!isFiltering())
        return linkedDomain->findByNumericName(x);
    return ZylRealDomain::findByNumericNameIn(filteredValues, x);
}

ZylValue* ZylFilteredLinkDomain::getDefaultValue() const
{
    return isFiltering() ? filteredDefault : linkedDomain->getDefaultValue();
}

juce::CriticalSection& ZylFilteredLinkDomain::getLock() const { return linkedDomain->getLock(); }

ZylDomainCommand* ZylFilteredLinkDomain::findCommand(int id) const
{
    return linkedDomain->findCommand(id);
}

void ZylFilteredLinkDomain::postCommand(ZylDomainCommand* command)
{
    linkedDomain->postCommand(command);
}

int ZylFilteredLinkDomain::getControlType() const { return linkedDomain->getControlType(); }

bool ZylFilteredLinkDomain::isValidNumber(float x) const { return linkedDomain->isValidNumber(x); }

void ZylFilteredLinkDomain::clearValues()
{
    // The view points into the linked list: forget it before the values go.
    filteredValues.clear();
    filteredPositions.clear();
    filteredDefault = nullptr;
    linkedDomain->clearValues();
}

void ZylFilteredLinkDomain::clearCommands() { linkedDomain->clearCommands(); }

std::unique_ptr<juce::XmlElement> ZylFilteredLinkDomain::createXml() const
{
    return linkedDomain->createXml();
}

void ZylFilteredLinkDomain::restoreFromXml(const juce::XmlElement* element, bool notify)
{
    linkedDomain->restoreFromXml(element, notify);
}

const ZylDomainCommandList& ZylFilteredLinkDomain::getCommands() const
{
    return linkedDomain->getCommands();
}

int ZylFilteredLinkDomain::getIndexOf(const ZylValue* value, bool linked) const
{
    if (value == nullptr)
        return -1;
    if (linked || !isFiltering())
        return value->getIndex();
    return placeOf(value);
}

float ZylFilteredLinkDomain::getPositionOf(const ZylValue* value, bool linked) const
{
    if (value == nullptr)
        return 0.0f;
    if (linked || !isFiltering())
        return value->getPosition();
    const int place = placeOf(value);
    if (place < 0 || static_cast<size_t>(place) >= filteredPositions.size())
        return 0.0f;
    return filteredPositions[static_cast<size_t>(place)];
}

void ZylFilteredLinkDomain::setFilterTag(int tag)
{
    const juce::ScopedLock sl(getLock());
    filterTag = tag;
    refilter();
    listRebuilt();
}

void ZylFilteredLinkDomain::refilter()
{
    filteredValues.clear();
    filteredPositions.clear();
    filteredDefault = nullptr;

    if (filterTag != 0)
    {
        for (auto* value : linkedDomain->getValues())
            if (value->hasTag(filterTag))
                filteredValues.push_back(value);
        if (!filteredValues.empty())
            filteredDefault = filteredValues.front();
        distributePositions();
    }
}

void ZylFilteredLinkDomain::valueListRebuilt(ZylDomain& rebuilt)
{
    jassert(&rebuilt == linkedDomain);
    juce::ignoreUnused(rebuilt);
    const juce::ScopedLock sl(getLock());
    refilter();
    tellListObservers();
}

int ZylFilteredLinkDomain::getFilterTag() const { return filterTag; }

bool ZylFilteredLinkDomain::isFiltering() const { return filterTag != 0; }

void ZylFilteredLinkDomain::receiveMessage(void* sender, int code, int timeMs)
{
    void* forwardedSender = sender == static_cast<void*>(linkedDomain)
                                ? static_cast<void*>(static_cast<ZylDomain*>(this))
                                : sender;
    postTimedMessage(forwardedSender, code, timeMs);
}
