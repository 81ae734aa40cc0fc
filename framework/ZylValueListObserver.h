#pragma once

class ZylDomain;

// Told at once that a domain rebuilt its value list: on the rebuilding thread, with the
// domain's lock held, before the domain posts kDomainListRebuilt. Parameters bound to a domain
// re-select their value here, so that no reader ever sees the value that now stands at the old
// place. An observer must not add or remove observers of the same domain from here.
class ZylValueListObserver
{
public:
    virtual ~ZylValueListObserver() = default;

    virtual void valueListRebuilt(ZylDomain& domain) = 0;
};
