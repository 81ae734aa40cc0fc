#include "space/ZylCell.h"
#include "space/ZylRectangleTile.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
std::unique_ptr<ZylCell> makeCell(double x1, double y1, double x2, double y2, int note)
{
    return std::make_unique<ZylCell>(std::make_unique<ZylRectangleTile>(x1, y1, x2, y2), note);
}

// Shaped like a white piano key: a narrow part above a wide part (y points up).
std::unique_ptr<ZylCell> makeTwoTileCell()
{
    ZylCell::TileList tiles;
    tiles.push_back(std::make_unique<ZylRectangleTile>(276, 21, 281, 54));
    tiles.push_back(std::make_unique<ZylRectangleTile>(276, 0, 286, 20));
    return std::make_unique<ZylCell>(std::move(tiles), 60);
}
} // namespace

TEST(ZylRectangleTile, ContainsBothEdgesAndNothingBeyond)
{
    const ZylRectangleTile tile(0, 0, 26, 26);
    struct Case { double x, y; bool inside; };
    const Case cases[] = {
        { 0, 0, true }, { 26, 26, true }, { 26, 0, true }, { 13, 13, true },
        { 26.001, 0, false }, { -0.001, 10, false }, { 10, 26.001, false }, { 10, -0.001, false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(tile.contains(c.x, c.y), c.inside) << c.x << "," << c.y;
}

TEST(ZylCell, BoundsAndCentreCoverTheUnitsOfItsTiles)
{
    const auto single = makeCell(0, 0, 26, 26, 60);
    EXPECT_EQ(single->getBounds(), (ZylRect { 0, 0, 26, 26 }));
    EXPECT_DOUBLE_EQ(single->getCentreX(), 13.5);
    EXPECT_DOUBLE_EQ(single->getCentreY(), 13.5);

    const auto key = makeTwoTileCell();
    EXPECT_EQ(key->getTiles().size(), 2u);
    EXPECT_EQ(key->getBounds(), (ZylRect { 276, 0, 286, 54 }));
    EXPECT_DOUBLE_EQ(key->getCentreX(), 281.5);
    EXPECT_DOUBLE_EQ(key->getCentreY(), 27.5);
    EXPECT_DOUBLE_EQ(key->updateBounds(), 27.5);
}

TEST(ZylCell, HitTestAsksEveryTileButNotTheGapsOfTheBounds)
{
    const auto key = makeTwoTileCell();
    EXPECT_TRUE(key->hitTest(278, 40));  // narrow part
    EXPECT_TRUE(key->hitTest(285, 5));   // wide part
    EXPECT_FALSE(key->hitTest(285, 40)); // inside the bounds, beside the narrow part
    EXPECT_FALSE(key->hitTest(276, 20.5));
}

TEST(ZylCell, NoteRulesDecidePlayability)
{
    struct Case { int set; int stored; };
    const Case cases[] = { { 0, 0 }, { 127, 127 }, { 128, -1 }, { -5, -1 }, { -1, -1 }, { 60, 60 } };
    const auto cell = makeCell(0, 0, 26, 26, 60);
    for (const auto& c : cases)
    {
        EXPECT_EQ(cell->setNote(c.set), c.stored) << c.set;
        EXPECT_EQ(cell->getNote(), c.stored);
        EXPECT_EQ(cell->hasNote(), c.stored != -1);
        EXPECT_EQ(cell->isPlayable(), c.stored != -1);
    }

    cell->setNote(60);
    cell->setHidden(true);
    EXPECT_TRUE(cell->hasNote());
    EXPECT_FALSE(cell->isPlayable());
}

TEST(ZylCell, IdIsStablePerCellAndDistinctBetweenCells)
{
    const auto a = makeCell(0, 0, 26, 26, 60);
    const auto b = makeCell(0, 0, 26, 26, 60);
    const std::string first = a->getId();
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(a->getId(), first);
    EXPECT_NE(a->getId(), b->getId());
    EXPECT_NE(first.rfind("0x", 0), 0u);
    EXPECT_EQ(first.find_first_not_of("0123456789abcdefABCDEF"), std::string::npos) << first;
}

TEST(ZylCell, DistanceIsBetweenCentresSymmetricAndZeroToItself)
{
    const auto a = makeCell(0, 0, 26, 26, 60);
    const auto b = makeCell(28, 28, 54, 54, 64);
    const auto c = makeCell(84, 0, 110, 26, 67);
    EXPECT_DOUBLE_EQ(a->distanceTo(*a), 0.0);
    EXPECT_DOUBLE_EQ(a->distanceTo(*c), 84.0);
    EXPECT_DOUBLE_EQ(a->distanceTo(*b), b->distanceTo(*a));
    EXPECT_NEAR(a->distanceTo(*b), 39.598, 0.001);
}
