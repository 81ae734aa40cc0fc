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

bool ZylLinkParameterSet::hasShapeOf(const ZylParameterSet& source) const
{
    const auto& sourceParameters = source.getParameters();
    const auto& sourceChildSets = source.getChildSets();
    if (sourceParameters.size() != links.size() || sourceChildSets.size() != linkChildSets.size())
        return false;
    for (size_t i = 0; i < links.size(); ++i)
        if (sourceParameters[i] == nullptr || sourceParameters[i]->getId() != links[i]->getId())
            return false;
    for (size_t i = 0; i < linkChildSets.size(); ++i)
        if (sourceChildSets[i] == nullptr || sourceChildSets[i]->getId() != linkChildSets[i]->getId()
            || !linkChildSets[i]->hasShapeOf(*sourceChildSets[i]))
            return false;
    return true;
}

bool ZylLinkParameterSet::relink(const ZylParameterSet& source)
{
    if (!hasShapeOf(source))
        return false;

    const auto& sourceParameters = source.getParameters();
    for (size_t i = 0; i < links.size(); ++i)
        links[i]->setTarget(sourceParameters[i]);

    const auto& sourceChildSets = source.getChildSets();
    for (size_t i = 0; i < linkChildSets.size(); ++i)
        linkChildSets[i]->relink(*sourceChildSets[i]);
    return true;
}
