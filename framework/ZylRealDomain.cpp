#include "framework/ZylRealDomain.h"

#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameterEpoch.h"

#include <limits>

namespace
{
const char* const kDomainTag = "dom";
} // namespace

ZylRealDomain::ZylRealDomain(ZylDomainSet* owningSet) : domainSet(owningSet) {}

ZylRealDomain::~ZylRealDomain()
{
    clearValues();
    clearCommands();
}

ZylDomainSet* ZylRealDomain::getDomainSet() const { return domainSet; }

std::wstring ZylRealDomain::getName() const { return getShortName(); }

std::wstring ZylRealDomain::getDescription() const { return getName(); }

const ZylValueList& ZylRealDomain::getValues() const { return values; }

bool ZylRealDomain::hasFixedValues() const { return true; }

bool ZylRealDomain::hasDynamicValues() const { return false; }

void ZylRealDomain::distributePositions()
{
    if (values.empty())
        return;
    assignPositions(0.0f, 1.0f / static_cast<float>(values.size()));
}

void ZylRealDomain::assignPositions(float start, float step)
{
    float position = start;
    for (auto* value : values)
    {
        value->setPosition(position);
        position += step;
    }
}

void ZylRealDomain::assignSequentialData()
{
    for (size_t i = 0; i < values.size(); ++i)
        values[i]->setData(static_cast<double>(i));
}

void ZylRealDomain::renumberIndexes()
{
    for (size_t i = 0; i < values.size(); ++i)
        values[i]->setIndex(static_cast<int>(i));
}

void ZylRealDomain::renumberIds()
{
    for (size_t i = 0; i < values.size(); ++i)
        values[i]->setId(static_cast<int>(i));
}

ZylValue* ZylRealDomain::stepThrough(const ZylValueList& list, int fromIndex, int n)
{
    if (fromIndex < 0 || static_cast<size_t>(fromIndex) >= list.size())
        return nullptr;
    const auto target = static_cast<long long>(fromIndex) + n;
    if (target < 0 || target >= static_cast<long long>(list.size()))
        return nullptr;
    return list[static_cast<size_t>(target)];
}

ZylValue* ZylRealDomain::getNext(ZylValue* value, int n) const
{
    if (value == nullptr)
        return nullptr;
    const int index = value->getIndex();
    if (index < 0 || static_cast<size_t>(index) >= values.size()
        || values[static_cast<size_t>(index)] != value)
        return nullptr;
    return stepThrough(values, index, n);
}

ZylValue* ZylRealDomain::getPrevious(ZylValue* value, int n) const
{
    if (n == std::numeric_limits<int>::min())
        return nullptr;
    return getNext(value, -n);
}

ZylValue* ZylRealDomain::findById(int id) const
{
    for (auto* value : values)
        if (value->getId() == id)
            return value;
    return nullptr;
}

ZylValue* ZylRealDomain::findByPositionIn(const ZylValueList& list, float x)
{
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if ((*it)->getPosition() <= x)
            return *it;
    return nullptr;
}

ZylValue* ZylRealDomain::findByPosition(float x) const { return findByPositionIn(values, x); }

ZylValue* ZylRealDomain::findByData(double x) const
{
    for (auto* value : values)
        if (value->getData() == x)
            return value;
    return nullptr;
}

ZylValue* ZylRealDomain::findByNameIn(const ZylValueList& list, const std::wstring& text)
{
    for (auto* value : list)
        if (value->getName() == text)
            return value;
    return nullptr;
}

ZylValue* ZylRealDomain::findByName(const std::wstring& text) const
{
    return findByNameIn(values, text);
}

ZylValue* ZylRealDomain::findByNumericNameIn(const ZylValueList& list, double x)
{
    for (auto* value : list)
        if (zylParseLeadingNumber(value->getName()) == x)
            return value;
    return nullptr;
}

ZylValue* ZylRealDomain::findByNumericName(double x) const
{
    return findByNumericNameIn(values, x);
}

ZylValue* ZylRealDomain::getDefaultValue() const { return defaultValue; }

juce::CriticalSection& ZylRealDomain::getLock() const { return lock; }

ZylDomainCommand* ZylRealDomain::findCommand(int id) const
{
    for (auto* command : commands)
        if (command->getId() == id)
            return command;
    return nullptr;
}

void ZylRealDomain::postCommand(ZylDomainCommand* command)
{
    if (command == nullptr || command->getId() == 0)
        return;
    postMessage(static_cast<ZylDomain*>(this), zylCommandCode(command->getId()));
}

int ZylRealDomain::getControlType() const { return kControlCombo; }

bool ZylRealDomain::isValidNumber(float) const { return true; }

void ZylRealDomain::clearValues()
{
    defaultValue = nullptr;
    values.clear();
    ownedValues.clear();
    ZylParameterEpoch::advance();
}

void ZylRealDomain::clearCommands()
{
    commands.clear();
    ownedCommands.clear();
}

std::unique_ptr<juce::XmlElement> ZylRealDomain::createXml() const
{
    auto element = std::make_unique<juce::XmlElement>(kDomainTag);
    element->setAttribute("n", juce::String(getShortName().c_str()));
    for (auto* value : values)
        element->addChildElement(value->createXml().release());
    return element;
}

void ZylRealDomain::restoreFromXml(const juce::XmlElement* element, bool notify)
{
    if (element == nullptr)
        return;
    size_t place = 0;
    for (auto* child : element->getChildIterator())
    {
        if (place >= values.size())
            break;
        if (child->isTextElement())
            continue;
        values[place++]->restoreFromXml(child, notify);
    }
}

const ZylDomainCommandList& ZylRealDomain::getCommands() const { return commands; }

int ZylRealDomain::getIndexOf(const ZylValue* value, bool) const
{
    return value != nullptr ? value->getIndex() : -1;
}

float ZylRealDomain::getPositionOf(const ZylValue* value, bool) const
{
    return value != nullptr ? value->getPosition() : 0.0f;
}

ZylDomainCommand* ZylRealDomain::addCommand(std::unique_ptr<ZylDomainCommand> command)
{
    auto* raw = command.get();
    ownedCommands.push_back(std::move(command));
    commands.push_back(raw);
    return raw;
}
