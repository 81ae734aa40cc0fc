#pragma once

#include "framework/ZylParameterSet.h"

class ZylLinkParameter;

// A mirror of a parameter set whose parameters are links to the source's parameters, with
// child link sets mirroring the source's child sets. relink points the whole tree at another
// set of the same shape (another program of the same module).
class ZylLinkParameterSet : public ZylParameterSet
{
public:
    // Links to every parameter of source in order, then child link sets carrying the child
    // sets' ids; named after the source with "Links" appended.
    explicit ZylLinkParameterSet(const ZylParameterSet& source);
    ~ZylLinkParameterSet() override;

    std::wstring getName() const override;

    // source must have the shape of the set this one was built from; parameters and child sets
    // beyond that shape are left out.
    virtual void relink(const ZylParameterSet& source);

    const std::vector<ZylLinkParameter*>& getLinks() const noexcept { return links; }

private:
    std::wstring linkName;
    std::vector<ZylLinkParameter*> links;
    std::vector<ZylLinkParameterSet*> linkChildSets;
};
