#pragma once

#include "space/ZylTile.h"

class ZylRectangleTile : public ZylTile
{
public:
    ZylRectangleTile(double x1, double y1, double x2, double y2);

    const ZylRect& getBounds() const override;

private:
    ZylRect bounds;
};
