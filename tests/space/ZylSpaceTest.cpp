#include "framework/ZylDebug.h"
#include "space/ZylCellFilter.h"
#include "space/ZylSpace.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr int kNoLimit = ZylSpace::kNoLimit;

struct Row
{
    double y;
    std::vector<int> notes;
};

// Visible cells grouped by row (their y), in cell order; checks that each row runs from column 0
// at one cell pitch and that rows follow one another in the list.
std::vector<Row> visibleRows(const ZylSpace& space, double pitch)
{
    std::vector<Row> rows;
    for (const auto& cell : space.getCells())
    {
        if (cell->isHidden())
            continue;
        const ZylRect& b = cell->getBounds();
        if (rows.empty() || rows.back().y != b.y1)
            rows.push_back({ b.y1, {} });
        EXPECT_EQ(b.x1, double(rows.back().notes.size()) * pitch);
        rows.back().notes.push_back(cell->getNote());
    }
    return rows;
}

std::vector<const ZylCell*> hiddenCells(const ZylSpace& space)
{
    std::vector<const ZylCell*> result;
    for (const auto& cell : space.getCells())
        if (cell->isHidden())
            result.push_back(cell.get());
    return result;
}

std::vector<int> stepped(int from, int to, int step)
{
    std::vector<int> v;
    for (int n = from; n <= to; n += step)
        v.push_back(n);
    return v;
}

class RejectNote : public ZylCellFilter
{
public:
    explicit RejectNote(int n) : note(n) {}
    const std::string& getFilterKey() override { return key; }
    bool rejects(const ZylCell* cell, const ZylSpace*) override { return cell->getNote() == note; }

private:
    int note;
    std::string key = "reject";
};

class RejectHidden : public ZylCellFilter
{
public:
    const std::string& getFilterKey() override { return key; }
    bool rejects(const ZylCell* cell, const ZylSpace*) override { return cell->isHidden(); }

private:
    std::string key = "hidden";
};
} // namespace

// Spaces laid out as the Space vocabulary lays its values out: tiles 3 units smaller than the
// cell, so a 30 x 30 cell is a 27 x 27 tile every 28 units.
class ZylSpaceLayouts : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        longuetHiggins = new ZylSpace();
        longuetHiggins->buildGrid(21, 108, 4, 7, kNoLimit, kNoLimit, 27, 27);
        balzano = new ZylSpace();
        balzano->buildGrid(21, 108, 4, 3, kNoLimit, kNoLimit, 27, 27);
        octaves = new ZylSpace();
        octaves->buildGrid(12, 118, 1, 12, 12, 12, 55, 45);
        piano = new ZylSpace();
        piano->buildPiano();
    }
    static void TearDownTestSuite()
    {
        for (ZylSpace** s : { &longuetHiggins, &balzano, &octaves, &piano })
        {
            delete *s;
            *s = nullptr;
        }
    }

    static ZylSpace* longuetHiggins;
    static ZylSpace* balzano;
    static ZylSpace* octaves;
    static ZylSpace* piano;
};

ZylSpace* ZylSpaceLayouts::longuetHiggins = nullptr;
ZylSpace* ZylSpaceLayouts::balzano = nullptr;
ZylSpace* ZylSpaceLayouts::octaves = nullptr;
ZylSpace* ZylSpaceLayouts::piano = nullptr;

TEST_F(ZylSpaceLayouts, LonguetHigginsGridReachesPastHighByOneStep)
{
    const auto rows = visibleRows(*longuetHiggins, 28);
    ASSERT_EQ(rows.size(), 14u);
    EXPECT_EQ(rows[0].notes, stepped(21, 109, 4));
    EXPECT_EQ(rows[1].notes, stepped(28, 112, 4));
    EXPECT_EQ(rows[13].notes, (std::vector<int> { 112 }));
    for (size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(rows[r].y, double(r) * 28);

    size_t visible = 0;
    for (const auto& row : rows)
        visible += row.notes.size();
    EXPECT_EQ(visible, 168u);
    EXPECT_EQ(longuetHiggins->getBounds(), (ZylRect { 0, 0, 642, 390 }));

    const auto fillers = hiddenCells(*longuetHiggins);
    const std::vector<int> fillerNotes { 22, 23, 24, 26, 27, 30, 31, 34, 38 };
    ASSERT_EQ(fillers.size(), fillerNotes.size());
    for (size_t i = 0; i < fillers.size(); ++i)
    {
        EXPECT_EQ(fillers[i]->getNote(), fillerNotes[i]);
        const double x = 680.0 - 30.0 * double(i);
        EXPECT_EQ(fillers[i]->getBounds(), (ZylRect { x, 700, x + 28, 728 }));
        EXPECT_FALSE(fillers[i]->isPlayable());
    }
    // Fillers come after every visible cell.
    EXPECT_EQ(longuetHiggins->getCells().size(), 168u + fillers.size());
    EXPECT_TRUE(longuetHiggins->getCells()[168]->isHidden());
}

TEST_F(ZylSpaceLayouts, BalzanoAndOctavesGrids)
{
    const auto balzanoRows = visibleRows(*balzano, 28);
    size_t visible = 0;
    for (const auto& row : balzanoRows)
        visible += row.notes.size();
    EXPECT_EQ(visible, 376u);
    EXPECT_EQ(balzanoRows.size(), 31u);
    std::vector<int> fillerNotes;
    for (const ZylCell* c : hiddenCells(*balzano))
        fillerNotes.push_back(c->getNote());
    EXPECT_EQ(fillerNotes, (std::vector<int> { 22, 23, 26 }));
    EXPECT_EQ(balzano->getBounds(), (ZylRect { 0, 0, 642, 866 }));

    // 12 columns, 12 rows at most: nine rows of twelve; the row that would start at 120 is
    // counted but empty.
    const auto octaveRows = visibleRows(*octaves, 56);
    ASSERT_EQ(octaveRows.size(), 9u);
    for (size_t r = 0; r < octaveRows.size(); ++r)
    {
        EXPECT_EQ(octaveRows[r].notes, stepped(12 + 12 * int(r), 23 + 12 * int(r), 1));
        EXPECT_EQ(octaveRows[r].y, double(r) * 46);
    }
    EXPECT_TRUE(hiddenCells(*octaves).empty());
    EXPECT_EQ(octaves->getCells().size(), 108u);
    EXPECT_EQ(octaves->getBounds(), (ZylRect { 0, 0, 670, 412 }));
}

TEST_F(ZylSpaceLayouts, PianoHasEightyEightKeysInNoteOrder)
{
    const auto& cells = piano->getCells();
    ASSERT_EQ(cells.size(), 88u);
    for (size_t i = 0; i < cells.size(); ++i)
    {
        EXPECT_EQ(cells[i]->getNote(), 21 + int(i));
        EXPECT_FALSE(cells[i]->isHidden());
        EXPECT_EQ(cells[i]->getSpace(), piano);
    }
    EXPECT_EQ(piano->getBounds(), (ZylRect { 0, 0, 622, 54 }));

    struct Key
    {
        int note;
        std::vector<ZylRect> tiles;
    };
    const Key keys[] = {
        { 21, { { 0, 21, 7, 54 }, { 0, 0, 10, 20 } } },
        { 22, { { 9, 24, 15, 54 } } },
        { 23, { { 17, 21, 22, 54 }, { 12, 0, 22, 20 } } },
        { 60, { { 276, 21, 281, 54 }, { 276, 0, 286, 20 } } },
        { 61, { { 283, 24, 289, 54 } } },
        { 65, { { 312, 21, 317, 54 }, { 312, 0, 322, 20 } } },
        { 107, { { 605, 21, 610, 54 }, { 600, 0, 610, 20 } } },
        { 108, { { 612, 0, 622, 54 } } },
    };
    for (const auto& k : keys)
    {
        const ZylCell* cell = piano->getCellForNote(k.note);
        ASSERT_NE(cell, nullptr) << k.note;
        std::vector<ZylRect> tiles;
        for (const auto& t : cell->getTiles())
            tiles.push_back(t->getBounds());
        EXPECT_EQ(tiles, k.tiles) << k.note;
    }

    const ZylCell* middleC = piano->getCellForNote(60);
    EXPECT_EQ(middleC->getBounds(), (ZylRect { 276, 0, 286, 54 }));
    EXPECT_DOUBLE_EQ(middleC->getCentreX(), 281.5);
    EXPECT_DOUBLE_EQ(middleC->getCentreY(), 27.5);

    // Neighbouring keys never overlap: every point of a key hits that key only.
    for (const auto& cell : cells)
        for (const auto& tile : cell->getTiles())
        {
            const ZylRect& b = tile->getBounds();
            const double x = (b.x1 + b.x2) / 2, y = (b.y1 + b.y2) / 2;
            for (const auto& other : cells)
                EXPECT_EQ(other->hitTest(x, y), other == cell) << cell->getNote() << " " << other->getNote();
        }
}

TEST_F(ZylSpaceLayouts, NoteIndexHoldsEveryCellOfANoteInCellOrder)
{
    for (const ZylSpace* space : { longuetHiggins, balzano, octaves, piano })
    {
        std::map<int, std::vector<ZylCell*>> byNote;
        for (const auto& cell : space->getCells())
        {
            EXPECT_EQ(cell->getSpace(), space);
            byNote[cell->getNote()].push_back(cell.get());
        }
        for (int n = 0; n < 128; ++n)
        {
            std::vector<ZylCell*> found;
            space->getCellsForNote(n, found, false, nullptr);
            EXPECT_EQ(found, byNote[n]) << n;
            EXPECT_EQ(space->getCellForNote(n), found.empty() ? nullptr : found.front()) << n;
        }
    }

    // Note 60 lies in rows 1 and 5 of the Longuet-Higgins grid; the first row laid answers.
    const ZylCell* c60 = longuetHiggins->getCellForNote(60);
    ASSERT_NE(c60, nullptr);
    EXPECT_EQ(c60->getBounds(), (ZylRect { 224, 28, 250, 54 }));
    // A note without a visible cell finds its filler.
    ASSERT_NE(longuetHiggins->getCellForNote(22), nullptr);
    EXPECT_TRUE(longuetHiggins->getCellForNote(22)->isHidden());
    // Every lookup from 21 to 107 finds a cell of any grid.
    for (const ZylSpace* space : { longuetHiggins, balzano, octaves })
        for (int n = 21; n < 108; ++n)
            EXPECT_NE(space->getCellForNote(n), nullptr) << n;
}

TEST_F(ZylSpaceLayouts, CellsForNoteAppendsDistinctAcceptedCells)
{
    ZylCell* sentinel = piano->getCellForNote(40);
    std::vector<ZylCell*> out { sentinel };

    for (int note : { -1, 128, -2147483647 - 1 })
    {
        EXPECT_EQ(longuetHiggins->getCellForNote(note), nullptr) << note;
        longuetHiggins->getCellsForNote(note, out, true, nullptr);
        EXPECT_EQ(out, (std::vector<ZylCell*> { sentinel })) << note;
    }
    longuetHiggins->getCellsForNote(128, out, false, nullptr);
    EXPECT_TRUE(out.empty());

    std::vector<ZylCell*> c60;
    longuetHiggins->getCellsForNote(60, c60, false, nullptr);
    ASSERT_EQ(c60.size(), 2u);
    EXPECT_EQ(c60[1]->getBounds(), (ZylRect { 28, 140, 54, 166 }));

    out = { sentinel };
    longuetHiggins->getCellsForNote(60, out, true, nullptr);
    longuetHiggins->getCellsForNote(64, out, true, nullptr);
    longuetHiggins->getCellsForNote(60, out, true, nullptr);
    std::vector<ZylCell*> expected { sentinel, c60[0], c60[1] };
    std::vector<ZylCell*> c64;
    longuetHiggins->getCellsForNote(64, c64, false, nullptr);
    expected.insert(expected.end(), c64.begin(), c64.end());
    EXPECT_EQ(out, expected);

    // A list that already holds one of the note's cells gets only the other one.
    out = { c60[1] };
    longuetHiggins->getCellsForNote(60, out, true, nullptr);
    EXPECT_EQ(out, (std::vector<ZylCell*> { c60[1], c60[0] }));

    RejectNote rejectSixty(60);
    longuetHiggins->getCellsForNote(60, out, false, &rejectSixty);
    EXPECT_TRUE(out.empty());
    longuetHiggins->getCellsForNote(64, out, false, &rejectSixty);
    EXPECT_EQ(out, c64);

    RejectHidden rejectHidden;
    longuetHiggins->getCellsForNote(22, out, false, &rejectHidden);
    EXPECT_TRUE(out.empty());
}

TEST(ZylSpace, NewSpaceIsEmptyAndUnindexed)
{
    ZylSpace space;
    EXPECT_TRUE(space.getCells().empty());
    EXPECT_TRUE(space.getBounds().isEmpty());
    EXPECT_EQ(space.getCellForNote(60), nullptr);
    std::vector<ZylCell*> out;
    space.getCellsForNote(60, out, false, nullptr);
    EXPECT_TRUE(out.empty());
}

// Clearing and laying out again must not leave the index pointing at deleted cells (the
// sanitizer build turns any such read into a failure).
TEST(ZylSpace, ClearAndRelayoutEmptyTheNoteIndex)
{
    ZylSpace space;
    space.buildGrid(21, 108, 4, 7, kNoLimit, kNoLimit, 27, 27);
    ASSERT_NE(space.getCellForNote(60), nullptr);

    space.clearCells();
    EXPECT_TRUE(space.getCells().empty());
    for (int n = 0; n < 128; ++n)
    {
        EXPECT_EQ(space.getCellForNote(n), nullptr) << n;
        std::vector<ZylCell*> out;
        space.getCellsForNote(n, out, false, nullptr);
        EXPECT_TRUE(out.empty()) << n;
    }

    space.buildGrid(21, 108, 4, 7, kNoLimit, kNoLimit, 27, 27);
    space.buildPiano();
    std::set<const ZylCell*> current;
    for (const auto& cell : space.getCells())
        current.insert(cell.get());
    EXPECT_EQ(current.size(), 88u);
    for (int n = 0; n < 128; ++n)
    {
        std::vector<ZylCell*> out;
        space.getCellsForNote(n, out, false, nullptr);
        EXPECT_EQ(out.size(), (n >= 21 && n <= 108) ? 1u : 0u) << n;
        for (const ZylCell* c : out)
        {
            EXPECT_EQ(current.count(c), 1u) << n;
            EXPECT_EQ(c->getNote(), n);
        }
    }
    EXPECT_EQ(space.getBounds(), (ZylRect { 0, 0, 622, 54 }));
}

TEST(ZylSpace, GridEdgeCases)
{
    struct Case
    {
        const char* name;
        int low, high, xStep, yStep, columns, rows;
        size_t visible;
        size_t fillers;
        bool debugLine;
    };
    const Case cases[] = {
        // low above high + yStep: no row at all, only fillers
        { "no rows", 120, 100, 1, 12, kNoLimit, kNoLimit, 0, 87, false },
        // one column and one row: just the low note
        { "one cell", 60, 108, 4, 7, 1, 1, 1, 86, false },
        // zero rows allowed
        { "zero rows", 21, 108, 4, 7, kNoLimit, 0, 0, 87, false },
        // unlimited count with a step that never rises would never end
        { "flat row", 21, 108, 0, 7, kNoLimit, 3, 0, 87, true },
        { "flat column", 21, 108, 4, -7, 3, kNoLimit, 0, 87, true },
        // a non-rising step with a limit is laid as asked
        { "limited flat row", 60, 60, 0, 12, 3, 1, 3, 86, false },
    };
    for (const auto& k : cases)
    {
        ZylDebugCapture capture;
        ZylSpace space;
        space.buildGrid(k.low, k.high, k.xStep, k.yStep, k.columns, k.rows, 27, 27);
        EXPECT_EQ(space.getCells().size() - hiddenCells(space).size(), k.visible) << k.name;
        EXPECT_EQ(hiddenCells(space).size(), k.fillers) << k.name;
        EXPECT_EQ(!capture.getLines().empty(), k.debugLine) << k.name;
        if (k.visible == 0)
        {
            EXPECT_TRUE(space.getBounds().isEmpty()) << k.name;
        }
    }
}

TEST(ZylSpace, LockIsRecursiveAndTakenByLayouts)
{
    ZylSpace space;
    const juce::ScopedLock outer(space.getLock());
    const juce::ScopedLock inner(space.getLock());
    space.buildPiano(); // re-enters the held lock
    EXPECT_EQ(space.getCells().size(), 88u);

    bool entered = true;
    std::thread other([&] { entered = space.getLock().tryEnter(); if (entered) space.getLock().exit(); });
    other.join();
    EXPECT_FALSE(entered);
}
