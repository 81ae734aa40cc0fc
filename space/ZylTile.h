#pragma once

#include "space/ZylRect.h"

#include <juce_core/juce_core.h>

// One shape of a cell, in the space's model units.
class ZylTile
{
public:
    ZylTile() = default;
    virtual ~ZylTile() = default;

    virtual const ZylRect& getBounds() const = 0;

    // Both edges count as inside.
    virtual bool contains(double x, double y) const;

private:
    JUCE_DECLARE_NON_COPYABLE(ZylTile)
};
