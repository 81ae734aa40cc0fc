#include "framework/ZylDomainSet.h"

ZylDomainSet::~ZylDomainSet()
{
    domains.clear();
    for (auto& domain : ownedDomains)
        domain.reset();
}

const ZylDomainList& ZylDomainSet::getDomains() const { return domains; }
