#pragma once

#include <string>

class ZylCell;
class ZylSpace;

// Tells chord placement which cells it may use.
class ZylCellFilter
{
public:
    virtual ~ZylCellFilter() = default;

    // Identifies the filter's current rules; chord placement puts it in front of its cache keys,
    // so two filters that reject different cells must give different keys.
    virtual const std::string& getFilterKey() = 0;
    // True when the cell must not be used; the space is the one being searched.
    virtual bool rejects(const ZylCell* cell, const ZylSpace* space) = 0;
};
