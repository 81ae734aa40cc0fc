#include "space/ZylRectangleTile.h"

ZylRectangleTile::ZylRectangleTile(double x1, double y1, double x2, double y2)
    : bounds { x1, y1, x2, y2 }
{
}

const ZylRect& ZylRectangleTile::getBounds() const
{
    return bounds;
}
