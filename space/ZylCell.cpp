#include "space/ZylCell.h"

#include <cmath>
#include <cstdio>

ZylCell::ZylCell(std::unique_ptr<ZylTile> tile, int n) : note(n)
{
    jassert(tile != nullptr);
    if (tile != nullptr)
        tiles.push_back(std::move(tile));
    makeId();
    updateBounds();
}

ZylCell::ZylCell(TileList tileList, int n) : note(n)
{
    for (auto& t : tileList)
        if (t != nullptr)
            tiles.push_back(std::move(t));
    jassert(!tiles.empty());
    makeId();
    updateBounds();
}

ZylCell::~ZylCell() = default;

void ZylCell::makeId()
{
    char buffer[32] = {};
    std::snprintf(buffer, sizeof(buffer), "%p", static_cast<const void*>(this));
    const char* text = buffer;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text += 2;
    id = text;
}

bool ZylCell::hitTest(double x, double y) const
{
    for (const auto& t : tiles)
        if (t->contains(x, y))
            return true;
    return false;
}

double ZylCell::updateBounds()
{
    ZylRect box = ZylRect::emptyBox();
    for (const auto& t : tiles)
        box.takeIn(t->getBounds());
    bounds = box;
    centreX = bounds.x1 + (bounds.x2 - bounds.x1) * 0.5 + 0.5;
    centreY = bounds.y1 + (bounds.y2 - bounds.y1) * 0.5 + 0.5;
    return centreY;
}

double ZylCell::distanceTo(const ZylCell& other) const
{
    const double dx = centreX - other.centreX;
    const double dy = centreY - other.centreY;
    return std::sqrt(dx * dx + dy * dy);
}

const ZylCell::TileList& ZylCell::getTiles() const
{
    return tiles;
}

const ZylRect& ZylCell::getBounds() const
{
    return bounds;
}

double ZylCell::getCentreX() const
{
    return centreX;
}

double ZylCell::getCentreY() const
{
    return centreY;
}

int ZylCell::getNote() const
{
    return note;
}

int ZylCell::setNote(int n)
{
    note = (n >= 0 && n <= 127) ? n : kNoNote;
    return note;
}

bool ZylCell::isPlayable() const
{
    return hasNote() && !isHidden();
}

bool ZylCell::hasNote() const
{
    return note != kNoNote;
}

bool ZylCell::isHidden() const
{
    return hidden;
}

void ZylCell::setHidden(bool b)
{
    hidden = b;
}

ZylSpace* ZylCell::getSpace() const
{
    return space;
}

void ZylCell::setSpace(ZylSpace* s)
{
    space = s;
}

const std::string& ZylCell::getId() const
{
    return id;
}
