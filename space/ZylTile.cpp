#include "space/ZylTile.h"

bool ZylTile::contains(double x, double y) const
{
    const ZylRect& b = getBounds();
    return b.x1 <= x && x <= b.x2 && b.y1 <= y && y <= b.y2;
}
