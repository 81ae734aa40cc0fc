// The real chord vocabulary ranked on real grids of the Space vocabulary, with results worked
// out by hand. These pin the arithmetic itself: exact ties stay exact and close scores keep
// their order, whatever the compiler, the target (the Windows builds run these too) or the
// order in which shapes are summed.

#include "ZylSpaceVocabularyFixture.h"

#include "space/ZylCell.h"
#include "space/ZylCellFilter.h"
#include "space/ZylCellSet.h"
#include "space/ZylChordAssistDomain.h"
#include "space/ZylChordDomain.h"
#include "space/ZylChordEnumerator.h"
#include "space/ZylChordFilterDomain.h"
#include "space/ZylKeyDomain.h"
#include "space/ZylScaleDomain.h"
#include "space/ZylScaleNoteTable.h"
#include "space/ZylSpace.h"
#include "space/ZylSpaceDomain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace
{
// The fit assists' cell filter: playable cells of the scale and key, keyed as the space module
// keys it.
class ScaleFilter : public ZylCellFilter
{
public:
    ScaleFilter(const ZylScaleNoteTable& t, const ZylScaleValue* s, const ZylKeyValue* k)
        : table(t), scale(s), key(k)
    {
        char text[16];
        std::snprintf(text, sizeof(text), "S%02xK%02x", unsigned(s->getId()), unsigned(k->getId()));
        filterKey = text;
    }
    const std::string& getFilterKey() override { return filterKey; }
    bool rejects(const ZylCell* cell, const ZylSpace*) override
    {
        return cell == nullptr || !cell->isPlayable() || !table.contains(cell->getNote(), scale, key);
    }

private:
    const ZylScaleNoteTable& table;
    const ZylScaleValue* scale;
    const ZylKeyValue* key;
    std::string filterKey;
};

// The chords of one chord group in vocabulary order, keyed by the assist and the group as the
// space module keys its chord list.
class GroupChords : public ZylChordEnumerator
{
public:
    GroupChords(ZylSpaceDomainSet& set, const ZylValue& assist, int groupTag)
    {
        int groupId = -1;
        for (ZylValue* v : set.getChordFilterDomain()->getValues())
            if (v->getCode() == groupTag)
                groupId = v->getId();
        for (ZylValue* v : set.getChordDomain()->getValues())
            if (groupTag == ZylChordFilterDomain::kAll || v->hasTag(groupTag))
                chords.push_back(dynamic_cast<ZylChordValue*>(v));
        char text[16];
        std::snprintf(text, sizeof(text), "A%02xF%02x", unsigned(assist.getId()), unsigned(groupId));
        key = text;
    }
    int getNumChords() override { return int(chords.size()); }
    ZylChordValue* getChord(int index) override
    {
        return index >= 0 && index < getNumChords() ? chords[size_t(index)] : nullptr;
    }
    const std::string& getEnumeratorKey() override { return key; }

private:
    std::vector<ZylChordValue*> chords;
    std::string key;
};

std::vector<std::wstring> chordNames(const std::vector<ZylCellSet*>& shapes)
{
    std::vector<std::wstring> names;
    for (const ZylCellSet* s : shapes)
        names.push_back(s->getChord()->getName());
    return names;
}

class ZylChordRankingVocabulary : public ZylSpaceVocabularyFixture
{
protected:
    void SetUp() override
    {
        table = std::make_unique<ZylScaleNoteTable>(set().getScaleDomain(), set().getKeyDomain());
        // Chromatic scale in C: every playable cell is accepted.
        chromatic = std::make_unique<ScaleFilter>(*table, at<ZylScaleValue>(*set().getScaleDomain(), 0),
                                                  at<ZylKeyValue>(*set().getKeyDomain(), 0));
    }

    // The grid of the Space vocabulary value with this label, its caches emptied so that every
    // test ranks from scratch.
    ZylSpace& grid(const std::wstring& label)
    {
        for (ZylValue* v : set().getSpaceDomain()->getValues())
            if (v->getLabel() == label)
            {
                ZylSpace* space = dynamic_cast<ZylSpaceValue*>(v)->getSpace();
                space->flushCaches();
                return *space;
            }
        ADD_FAILURE() << "no grid " << juce::String(label.c_str());
        static ZylSpace none;
        return none;
    }

    ZylChordAssistDomain& assists() { return *set().getChordAssistDomain(); }

    std::unique_ptr<ZylScaleNoteTable> table;
    std::unique_ptr<ScaleFilter> chromatic;
};

// "Balzano [4:3]": columns step 4 semitones, rows 3, every cell 28 units from its neighbours.
// Note 60 is first laid at column 9 of row 1 (21 + 4 * 9 + 3 * 1). An interval i goes to the
// cell (dc, dr) with 4 dc + 3 dr = i nearest the root:
//   3 -> (0, 1) 28          4 -> (1, 0) 28          7 -> (1, 1) 28 sqrt 2
//   2 -> (-1, 2) 28 sqrt 5  (not (2, -2), 28 sqrt 8)
//   10 -> (1, 2) 28 sqrt 5  11 -> (2, 1) 28 sqrt 5
// So M7 (0 4 7 11), m7 (0 3 7 10), 7 (0 4 7 10), m/M7 (0 3 7 11), Madd9 (0 2 4 7) and madd9
// (0 2 3 7) each sum the distances 28, 28 sqrt 2 and 28 sqrt 5: a six-way tie at
// 28 (1 + sqrt 2 + sqrt 5) / 4 = 32.55197... The add9 chords add them in another order (sqrt 5
// first); in double arithmetic every order gives the same bits, so the tie is exact. Every
// other chord sums more: the next sevenths are m7b5, aug7, M7#5, m7#5 and 7b5 at 28 (3 + sqrt 5)
// / 4, and three-note chords carry the 10000 penalty.
// By rank ("Fit Best", "Fit Cycl") M7 comes first (rank 102), then m7 (103), 7 (104), dim7 (105).
TEST_F(ZylChordRankingVocabulary, BalzanoSeventhsTieExactlyAndKeepTheirScoresAcrossAssists)
{
    ZylSpace& space = grid(L"Balzano [4:3]");
    const ZylCell* root = space.getCellForNote(60);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->getBounds().x1, 252.0);
    ASSERT_EQ(root->getBounds().y1, 28.0);

    GroupChords fitComp(set(), *assists().getFitCompValue(), ZylChordFilterDomain::kAll);
    GroupChords fitBest(set(), *assists().getFitBestValue(), ZylChordFilterDomain::kAll);
    GroupChords fitCycl(set(), *assists().getFitCyclValue(), ZylChordFilterDomain::kAll);
    const std::vector<std::wstring> tie { L"M7", L"m7", L"7", L"m/M7", L"Madd9", L"madd9" };
    const double tieScore = 28.0 * (1.0 + std::sqrt(2.0) + std::sqrt(5.0)) / 4.0;

    std::vector<ZylCellSet*> comp;
    space.findChordShapes(root, comp, ZylSpace::kScoreByDistance, true, chromatic.get(), &fitComp);
    ASSERT_EQ(chordNames(comp), tie);
    for (const ZylCellSet* s : comp)
    {
        EXPECT_EQ(s->getScore(), comp.front()->getScore()) << "an exact tie";
        EXPECT_DOUBLE_EQ(s->getScore(), tieScore);
        EXPECT_EQ(s->getCells().size(), 4u);
    }

    std::vector<ZylCellSet*> best;
    space.findChordShapes(root, best, ZylSpace::kScoreByRank, true, chromatic.get(), &fitBest);
    ASSERT_EQ(chordNames(best), std::vector<std::wstring> { L"M7" });
    EXPECT_EQ(best.front()->getScore(), 102.0);

    std::vector<ZylCellSet*> cycle;
    space.findChordShapes(root, cycle, ZylSpace::kScoreByRank, false, chromatic.get(), &fitCycl);
    ASSERT_EQ(cycle.size(), 39u) << "every chord fits";
    EXPECT_EQ(chordNames({ cycle.begin(), cycle.begin() + 4 }),
              (std::vector<std::wstring> { L"M7", L"m7", L"7", L"dim7" }));
    EXPECT_EQ(cycle.back()->getChord()->getName(), L"U");
    EXPECT_EQ(cycle.front(), best.front()) << "both assists rank by rank: one list of entries";

    // The list kept from the first call still reads its own chords and scores.
    ASSERT_EQ(chordNames(comp), tie);
    for (const ZylCellSet* s : comp)
        EXPECT_EQ(s->getScore(), comp.front()->getScore());
    EXPECT_DOUBLE_EQ(comp.front()->getScore(), tieScore);

    // And "Fit Comp" asked again finds the same tie.
    std::vector<ZylCellSet*> again;
    space.findChordShapes(root, again, ZylSpace::kScoreByDistance, true, chromatic.get(), &fitComp);
    EXPECT_EQ(chordNames(again), tie);
    for (const ZylCellSet* s : again)
        EXPECT_EQ(s->getScore(), again.front()->getScore());
}

// "Longuet-Higgins [4:7]": columns step 4, rows 7, 28 units apart. Note 60 is first laid at
// column 8 of row 1 (21 + 4 * 8 + 7). Nearest cell (dc, dr) with 4 dc + 7 dr = i, distance in
// units of 28:
//   4 (1, 0) 1      7 (0, 1) 1      3 (-1, 1) sqrt 2   11 (1, 1) sqrt 2   8 (2, 0) 2
//   10 (-1, 2) sqrt 5   6 (-2, 2) sqrt 8   5 (3, -1) sqrt 10   2 (-3, 2) sqrt 13
//   9 (4, -1) sqrt 17 (not (-3, 3), sqrt 18)
// Sevenths, distance sums: M7 2 + sqrt 2 = 3.414, m/M7 1 + 2 sqrt 2 = 3.828, 7 2 + sqrt 5 =
// 4.236, M7#5 3 + sqrt 2 = 4.414, m7 1 + sqrt 2 + sqrt 5 = 4.650, aug7 3 + sqrt 5 = 5.236,
// M7sus4 1 + sqrt 2 + sqrt 10 = 5.576, Madd9 2 + sqrt 13 = 5.606, m7#5 2 + sqrt 2 + sqrt 5 =
// 5.650, madd9 1 + sqrt 2 + sqrt 13 = 6.020, 7b5 1 + sqrt 8 + sqrt 5 = 6.064, M6 2 + sqrt 17 =
// 6.123, 7sus4 1 + sqrt 10 + sqrt 5 = 6.398, m7b5 sqrt 2 + sqrt 8 + sqrt 5 = 6.478, m6 1 +
// sqrt 2 + sqrt 17 = 6.537, 7add6 1 + sqrt 17 + sqrt 5 = 7.359, M6sus4 1 + sqrt 10 + sqrt 17 =
// 8.285, dim7 sqrt 2 + sqrt 8 + sqrt 17 = 8.365. The score is 28 times the sum over 4.
// Triads: M 2, m 1 + sqrt 2 = 2.414, aug 3, b5 1 + sqrt 8 = 3.828, sus4 1 + sqrt 10 = 4.162,
// dim sqrt 2 + sqrt 8 = 4.243, add4no5 sqrt 2 + sqrt 10 = 4.576, sus2 1 + sqrt 13 = 4.606,
// sus4#5 2 + sqrt 10 = 5.162; 28 times the sum over 3, plus 10000.
// The "Triads" group leaves out sus4#5 and add4no5, which only "Triads (more)" lists.
// Dyads: M3 and P5 tie at 1 (28 / 2 + 20000), ahead of m3 and _M7 at sqrt 2.
TEST_F(ZylChordRankingVocabulary, LonguetHigginsOrdersChordsByDistance)
{
    ZylSpace& space = grid(L"Longuet-Higgins [4:7]");
    const ZylCell* root = space.getCellForNote(60);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->getBounds().x1, 224.0);
    ASSERT_EQ(root->getBounds().y1, 28.0);

    struct Case
    {
        int group;
        bool bestOnly;
        std::vector<std::wstring> order;
        double firstScore;
    };
    const double r2 = std::sqrt(2.0);
    const Case cases[] = {
        { ZylChordFilterDomain::kSevenths, false,
          { L"M7", L"m/M7", L"7", L"M7#5", L"m7", L"aug7", L"M7sus4", L"Madd9", L"m7#5", L"madd9",
            L"7b5", L"M6", L"7sus4", L"m7b5", L"m6", L"7add6", L"M6sus4", L"dim7" },
          28.0 * (2.0 + r2) / 4.0 },
        { ZylChordFilterDomain::kTriads, false,
          { L"M", L"m", L"aug", L"b5", L"sus4", L"dim", L"sus2" },
          28.0 * 2.0 / 3.0 + 10000.0 },
        { ZylChordFilterDomain::kMoreTriads, false,
          { L"M", L"m", L"aug", L"b5", L"sus4", L"dim", L"add4no5", L"sus2", L"sus4#5" },
          28.0 * 2.0 / 3.0 + 10000.0 },
        { ZylChordFilterDomain::kDyads, true, { L"M3", L"P5" }, 14.0 + 20000.0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.group);
        GroupChords chords(set(), *assists().getFitCompValue(), c.group);
        std::vector<ZylCellSet*> shapes;
        space.findChordShapes(root, shapes, ZylSpace::kScoreByDistance, c.bestOnly, chromatic.get(), &chords);
        EXPECT_EQ(chordNames(shapes), c.order);
        ASSERT_FALSE(shapes.empty());
        EXPECT_DOUBLE_EQ(shapes.front()->getScore(), c.firstScore);
        for (size_t i = 1; i < shapes.size(); ++i)
            EXPECT_LE(shapes[i - 1]->getScore(), shapes[i]->getScore());
    }
}
} // namespace
