#include "framework/ZylLinkParameterSet.h"

#include "framework/ZylLinkParameter.h"

ZylLinkParameterSet::ZylLinkParameterSet(const ZylParameterSet& source)
    : linkName(source.getName() + L"Links")
{
    for (auto* parameter : source.getParameters())
    {
        auto link = std::make_unique<ZylLinkParameter>(this, parameter);
        links.push_back(link.get());
        addParameter(std::move(link));
    }
    for (auto* childSet : source.getChildSets())
    {
        auto linkChild = std::make_unique<ZylLinkParameterSet>(*childSet);
        linkChild->setId(childSet->getId());
        linkChildSets.push_back(linkChild.get());
        addChildSet(std::move(linkChild));
    }
    buildIndex();
}

ZylLinkParameterSet::~ZylLinkParameterSet() = default;

std::wstring ZylLinkParameterSet::getName() const
{
    return linkName;
}

void ZylLinkParameterSet::relink(const ZylParameterSet& source)
{
    const auto& sourceParameters = source.getParameters();
    jassert(sourceParameters.size() <= links.size());
    for (size_t i = 0; i < sourceParameters.size() && i < links.size(); ++i)
        links[i]->setTarget(sourceParameters[i]);

    const auto& sourceChildSets = source.getChildSets();
    jassert(sourceChildSets.size() <= linkChildSets.size());
    for (size_t i = 0; i < sourceChildSets.size() && i < linkChildSets.size(); ++i)
        linkChildSets[i]->relink(*sourceChildSets[i]);
}
