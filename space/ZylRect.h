#pragma once

#include <limits>

// An axis-aligned rectangle in model units, given by its two corners. Both edges are covered:
// a rectangle from 0 to 26 spans 27 units, so a drawing of it is x2 - x1 + 1 units wide.
struct ZylRect
{
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;

    // The start of a union: minima at the largest double, maxima at the lowest, so the first
    // rectangle taken in replaces it whole. A union over nothing stays in this state.
    static ZylRect emptyBox()
    {
        return { std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                 std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest() };
    }

    bool isEmpty() const { return x1 > x2 || y1 > y2; }

    void takeIn(const ZylRect& r)
    {
        if (r.x1 < x1) x1 = r.x1;
        if (r.y1 < y1) y1 = r.y1;
        if (r.x2 > x2) x2 = r.x2;
        if (r.y2 > y2) y2 = r.y2;
    }

    bool operator==(const ZylRect& o) const
    {
        return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2;
    }
    bool operator!=(const ZylRect& o) const { return !(*this == o); }
};
