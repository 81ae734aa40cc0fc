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

    // Points every link at the parameter in the same place of source, and every child link set
    // at the child set in the same place, recursively. Only a source of this set's shape is
    // taken: as many parameters, with the ids the links report, and as many child sets, with
    // the same ids and each of its link set's shape. Any other source is refused as a whole:
    // false, and every link keeps its target. The links themselves are never replaced, since
    // the parameter map, the processor and the widgets hold them; a caller that needs another
    // shape builds a new link set.
    virtual bool relink(const ZylParameterSet& source);
    // Whether relink would take source.
    bool hasShapeOf(const ZylParameterSet& source) const;

    const std::vector<ZylLinkParameter*>& getLinks() const noexcept { return links; }

private:
    std::wstring linkName;
    std::vector<ZylLinkParameter*> links;
    std::vector<ZylLinkParameterSet*> linkChildSets;
};
