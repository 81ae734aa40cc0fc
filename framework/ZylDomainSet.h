#pragma once

#include "framework/ZylDomain.h"

#include <juce_core/juce_core.h>

#include <memory>
#include <vector>

using ZylDomainList = std::vector<ZylDomain*>;

// An ordered list of owned domains. Subclasses build their domains in their constructors (with
// this set as the owning set) and add typed getters. The destructor deletes the domains in list
// order.
class ZylDomainSet
{
public:
    ZylDomainSet() = default;
    virtual ~ZylDomainSet();

    virtual const ZylDomainList& getDomains() const;

    // Appends a domain; the set owns it from now on.
    template <class DomainType>
    DomainType* addDomain(std::unique_ptr<DomainType> domain)
    {
        auto* raw = domain.get();
        ownedDomains.push_back(std::move(domain));
        domains.push_back(raw);
        return raw;
    }

private:
    std::vector<std::unique_ptr<ZylDomain>> ownedDomains;
    ZylDomainList domains; // the same domains in the same order, for getDomains

    JUCE_DECLARE_NON_COPYABLE(ZylDomainSet)
};
