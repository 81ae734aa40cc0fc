#include "framework/ZylParameterSet.h"

#include "framework/ZylDebug.h"
#include "framework/ZylMessageSink.h"
#include "framework/ZylRealParameter.h"
#include "framework/ZylStateXml.h"

#include <algorithm>

namespace
{
// Default for a missing "i" in "ps" and "pv": no set or parameter has this id.
constexpr int kMissingId = -9999999;
} // namespace

ZylParameterSet::ZylParameterSet() = default;

ZylParameterSet::~ZylParameterSet()
{
    idIndex.clear();
    parameters.clear();
    for (auto& parameter : ownedParameters)
        parameter.reset();
    childSets.clear();
    for (auto& childSet : ownedChildSets)
        childSet.reset();
}

const ZylParameterList& ZylParameterSet::getParameters() const
{
    return parameters;
}

const std::vector<ZylParameterSet*>& ZylParameterSet::getChildSets() const
{
    return childSets;
}

void ZylParameterSet::addSinkToAll(ZylMessageSink* sink)
{
    for (auto* parameter : parameters)
        parameter->addSink(sink);
    for (auto* childSet : childSets)
        childSet->addSinkToAll(sink);
}

void ZylParameterSet::removeSinkFromAll(ZylMessageSink* sink)
{
    for (auto* parameter : parameters)
        parameter->removeSink(sink);
    for (auto* childSet : childSets)
        childSet->removeSinkFromAll(sink);
}

void ZylParameterSet::resendAll()
{
    for (auto* parameter : parameters)
        parameter->resendValue();
    for (auto* childSet : childSets)
        childSet->resendAll();
}

std::unique_ptr<juce::XmlElement> ZylParameterSet::createXml() const
{
    auto element = std::make_unique<juce::XmlElement>("ps");
    if (id != 0)
        element->setAttribute("i", id);
    for (auto* parameter : parameters)
        if (auto child = parameter->createXml())
            element->addChildElement(child.release());
    if (!childSets.empty())
    {
        auto* children = element->createNewChildElement("cs");
        for (auto* childSet : childSets)
            children->addChildElement(childSet->createXml().release());
    }
    return element;
}

void ZylParameterSet::restoreFromXml(const juce::XmlElement& element, bool notify)
{
    const int storedId = readIntAttribute(element, "i", kMissingId, kMissingId);
    if (storedId != kMissingId)
        setId(storedId);

    for (auto* child : element.getChildIterator())
    {
        if (child->hasTagName("pv"))
        {
            const int parameterId = readIntAttribute(*child, "i", kMissingId, kMissingId);
            if (auto* parameter = getParameterById(parameterId))
                parameter->restoreFromXml(*child, false, notify);
            else
                zylDebugLine("unknown parameter id=" + child->getStringAttribute("i"));
        }
        else if (child->hasTagName("cs"))
        {
            size_t place = 0;
            for (auto* childState : child->getChildIterator())
            {
                if (place >= childSets.size())
                    break;
                if (childState->hasTagName("ps"))
                    childSets[place++]->restoreFromXml(*childState, notify);
            }
        }
    }
}

std::wstring ZylParameterSet::getName() const
{
    return name;
}

void ZylParameterSet::setName(const std::wstring& text)
{
    name = text;
}

ZylParameter* ZylParameterSet::findByAutomationIndex(int automationIndex) const
{
    for (auto* parameter : parameters)
        if (parameter->getAutomationIndex() == automationIndex)
            return parameter;
    for (auto* childSet : childSets)
        if (auto* found = childSet->findByAutomationIndex(automationIndex))
            return found;
    return nullptr;
}

ZylParameter* ZylParameterSet::getParameterById(int parameterId) const
{
    if (parameterId < 0 || parameterId >= static_cast<int>(idIndex.size()))
        return nullptr;
    return idIndex[static_cast<size_t>(parameterId)];
}

std::wstring ZylParameterSet::getNamePrefix() const
{
    return namePrefix;
}

void ZylParameterSet::setNamePrefixForAll(const std::wstring& text)
{
    if (text.empty())
        return;
    for (auto* parameter : parameters)
        parameter->setNamePrefix(text);
    for (auto* childSet : childSets)
        childSet->setNamePrefixForAll(text);
}

std::wstring ZylParameterSet::getNameSuffix() const
{
    return nameSuffix;
}

void ZylParameterSet::setNameSuffixForAll(const std::wstring& text)
{
    if (text.empty())
        return;
    for (auto* parameter : parameters)
        parameter->setNameSuffix(text);
    for (auto* childSet : childSets)
        childSet->setNameSuffixForAll(text);
}

void ZylParameterSet::setId(int newId)
{
    id = newId;
}

int ZylParameterSet::getId() const
{
    return id;
}

ZylParameterSet* ZylParameterSet::findChildSet(int childId) const
{
    for (auto* childSet : childSets)
        if (childSet->getId() == childId)
            return childSet;
    return nullptr;
}

void ZylParameterSet::buildIndex()
{
    idIndex.clear();
    int largest = -1;
    for (auto* parameter : parameters)
        largest = std::max(largest, parameter->getId());
    if (largest < 0)
        return;
    idIndex.assign(static_cast<size_t>(largest) + 1, nullptr);
    for (auto* parameter : parameters)
        if (parameter->getId() >= 0)
            idIndex[static_cast<size_t>(parameter->getId())] = parameter;
}

ZylParameter* ZylParameterSet::addParameter(std::unique_ptr<ZylParameter> parameter)
{
    auto* raw = parameter.get();
    if (raw == nullptr)
        return nullptr;
    ownedParameters.push_back(std::move(parameter));
    parameters.push_back(raw);
    return raw;
}

ZylParameterSet* ZylParameterSet::addChildSet(std::unique_ptr<ZylParameterSet> childSet)
{
    auto* raw = childSet.get();
    if (raw == nullptr)
        return nullptr;
    ownedChildSets.push_back(std::move(childSet));
    childSets.push_back(raw);
    return raw;
}

ZylRealParameter* ZylParameterSet::createParameter(int parameterId, int automationIndex,
                                                   ZylDomain* domain, bool ownsDomain,
                                                   const std::wstring& parameterName)
{
    auto parameter = std::make_unique<ZylRealParameter>(this, parameterId, automationIndex, domain,
                                                        ownsDomain, parameterName);
    auto* raw = parameter.get();
    addParameter(std::move(parameter));
    buildIndex();
    return raw;
}
