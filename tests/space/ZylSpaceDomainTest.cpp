#include "space/ZylCellLabelDomain.h"
#include "space/ZylSpaceDomain.h"
#include "tests/space/ZylSpaceVocabularyFixture.h"

namespace
{
class ZylSpaceDomainTest : public ZylSpaceVocabularyFixture
{
protected:
    static const ZylSpaceDomain& spaces() { return *set().getSpaceDomain(); }
    static ZylSpace& grid(size_t i) { return *at<ZylSpaceValue>(spaces(), i)->getSpace(); }

    static int firstVisibleNote(const ZylSpace& space)
    {
        for (const auto& cell : space.getCells())
            if (!cell->isHidden())
                return cell->getNote();
        return -1;
    }

    static size_t visibleCount(const ZylSpace& space)
    {
        size_t n = 0;
        for (const auto& cell : space.getCells())
            n += cell->isHidden() ? 0 : 1;
        return n;
    }
};

class ZylCellLabelDomainTest : public ZylSpaceVocabularyFixture
{
};
} // namespace

TEST_F(ZylSpaceDomainTest, ListsTheNamedGridsThenEveryCoprimeStepPair)
{
    const std::vector<std::wstring> expected = {
        L"Octaves", L"2 x Oct", L"3 x Oct", L"LH",     L"Balzano", L"[1:2]",  L"[1:3]",
        L"[1:4]",   L"[1:5]",   L"[1:6]",   L"[1:7]",  L"[1:8]",   L"[1:9]",  L"[1:10]",
        L"[1:11]",  L"[1:12]",  L"[2:3]",   L"[2:5]",  L"[2:7]",   L"[2:9]",  L"[2:11]",
        L"[3:4]",   L"[3:5]",   L"[3:7]",   L"[3:8]",  L"[3:10]",  L"[3:11]", L"[4:5]",
        L"[4:7]",   L"[4:9]",   L"[4:11]",  L"[5:6]",  L"[5:7]",   L"[5:8]",  L"[5:9]",
        L"[5:11]",  L"[5:12]",  L"[6:7]",   L"[6:11]", L"[7:8]",   L"[7:9]",  L"[7:10]",
        L"[7:11]",  L"[7:12]",  L"[8:9]",   L"[8:11]", L"[9:10]",  L"[9:11]", L"[10:11]",
        L"[11:12]",
    };
    EXPECT_EQ(namesOf(spaces().getValues()), expected);
    for (const wchar_t* missing : { L"[2:4]", L"[3:6]", L"[4:6]", L"[6:8]", L"[10:12]" })
        EXPECT_EQ(spaces().findByName(missing), nullptr) << missing;
}

TEST_F(ZylSpaceDomainTest, ValuesCarryTheirLabelsAndDescriptions)
{
    struct Case
    {
        size_t id;
        const wchar_t* name;
        const wchar_t* label;
        const wchar_t* description;
    };
    const Case cases[] = {
        { 0, L"Octaves", L"Octaves  [1:12]", L"A grid with one octave per row" },
        { 1, L"2 x Oct", L"Double octaves [1:24]", L"A grid with two octaves per row" },
        { 2, L"3 x Oct", L"Triple octaves [1:36]", L"A grid with three octaves per row" },
        { 3, L"LH", L"Longuet-Higgins [4:7]",
          L"A 2-D space where notes increase by 4 semitones on the horizontal axis  and by 7 "
          L"semitones on the vertical axis, as described by Longuet-Higgins." },
        { 4, L"Balzano", L"Balzano [4:3]",
          L"A 2-D space where notes increase by 4 semitones on the horizontal axis  and by 3 "
          L"semitones on the vertical axis, as desribed by Balzano." },
        { 5, L"[1:2]", L"m2-M2 [1:2]",
          L"A 2-D space where notes increase by 1 semitones on the horizontal axis  and by 2 "
          L"semitones on the vertical axis." },
        { 15, L"[1:12]", L"m2-P8 [1:12]",
          L"A 2-D space where notes increase by 1 semitones on the horizontal axis  and by 12 "
          L"semitones on the vertical axis." },
        { 28, L"[4:7]", L"M3-P5 [4:7]",
          L"A 2-D space where notes increase by 4 semitones on the horizontal axis  and by 7 "
          L"semitones on the vertical axis." },
        { 37, L"[6:7]", L"o5-P5 [6:7]",
          L"A 2-D space where notes increase by 6 semitones on the horizontal axis  and by 7 "
          L"semitones on the vertical axis." },
        { 49, L"[11:12]", L"M7-P8 [11:12]",
          L"A 2-D space where notes increase by 11 semitones on the horizontal axis  and by 12 "
          L"semitones on the vertical axis." },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.id);
        const ZylValue* value = at<ZylSpaceValue>(spaces(), c.id);
        EXPECT_EQ(value->getId(), static_cast<int>(c.id));
        EXPECT_EQ(value->getName(), c.name);
        EXPECT_EQ(value->getLabel(), c.label);
        EXPECT_EQ(value->getDescription(), c.description);
    }
}

// The grids are laid out with the value's own parameters and tiles 3 units smaller than the
// cells; the bounds and first notes give both away.
TEST_F(ZylSpaceDomainTest, EachValueOwnsItsLaidOutGrid)
{
    struct Case
    {
        size_t id;
        int firstNote;
        size_t visibleCells;
        ZylRect bounds;
    };
    const Case cases[] = {
        { 0, 12, 108, { 0, 0, 670, 412 } },  // 9 rows of 12, tiles 55 x 45
        { 3, 21, 168, { 0, 0, 642, 390 } },  // tiles 27 x 27, no row or column limit
        { 4, 21, 376, { 0, 0, 642, 866 } },
        { 5, 45, 605, { 0, 0, 698, 698 } },  // 25 x 25 from note 45 up to 109
        { 6, 45, 450, { 0, 0, 698, 614 } },  // the 23rd row would start above 109
        { 7, 9, 565, { 0, 0, 698, 698 } },   // [1:4] starts at 9
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.id);
        const ZylSpace& space = grid(c.id);
        EXPECT_EQ(firstVisibleNote(space), c.firstNote);
        EXPECT_EQ(visibleCount(space), c.visibleCells);
        EXPECT_EQ(space.getBounds().x1, c.bounds.x1);
        EXPECT_EQ(space.getBounds().y1, c.bounds.y1);
        EXPECT_EQ(space.getBounds().x2, c.bounds.x2);
        EXPECT_EQ(space.getBounds().y2, c.bounds.y2);
    }
    for (size_t i = 0; i < spaces().getValues().size(); ++i)
    {
        SCOPED_TRACE(i);
        const ZylSpace& space = grid(i);
        for (size_t j = 0; j < i; ++j)
            ASSERT_NE(&space, &grid(j));
        for (int note = 21; note < 108; ++note)
            ASSERT_NE(space.getCellForNote(note), nullptr) << "note " << note;
    }
}

TEST_F(ZylCellLabelDomainTest, PairsEveryLabelKindWithEachOtherSubscriptKind)
{
    struct Case
    {
        const wchar_t* name;
        const wchar_t* label;
        int labelKind;
        int subscriptKind;
    };
    const Case cases[] = {
        { L"Nte/Mid", L"Note name/Midi note#", 0, 1 },
        { L"Nte/Deg", L"Note name/Scale degree", 0, 2 },
        { L"Nte/Pc", L"Note name/Pitch class", 0, 3 },
        { L"Mid/Nte", L"Midi note#/Note name", 1, 0 },
        { L"Mid/Deg", L"Midi note#/Scale degree", 1, 2 },
        { L"Mid/Pc", L"Midi note#/Pitch class", 1, 3 },
        { L"Deg/Nte", L"Scale degree/Note name", 2, 0 },
        { L"Deg/Mid", L"Scale degree/Midi note#", 2, 1 },
        { L"Deg/Pc", L"Scale degree/Pitch class", 2, 3 },
        { L"Pc/Nte", L"Pitch class/Note name", 3, 0 },
        { L"Pc/Mid", L"Pitch class/Midi note#", 3, 1 },
        { L"Pc/Deg", L"Pitch class/Scale degree", 3, 2 },
    };
    const auto& labels = *set().getCellLabelDomain();
    ASSERT_EQ(labels.getValues().size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        SCOPED_TRACE(i);
        const auto* value = at<ZylCellLabelValue>(labels, i);
        EXPECT_EQ(value->getName(), cases[i].name);
        EXPECT_EQ(value->getLabel(), cases[i].label);
        EXPECT_EQ(value->getLabelKind(), cases[i].labelKind);
        EXPECT_EQ(value->getSubscriptKind(), cases[i].subscriptKind);
    }
    EXPECT_EQ(labels.getDefaultValue()->getId(), 0);
    EXPECT_EQ(at(labels, 7)->getDescription(),
              L"Displays cell label having a Scale degree with a Midi note# subscript");
}

TEST_F(ZylCellLabelDomainTest, TruncateNameKeepsTheFirstEightCharacters)
{
    EXPECT_EQ(truncateName(L"Nte/Mid"), L"Nte/Mid");
    EXPECT_EQ(truncateName(L"Note/Midi#"), L"Note/Mid");
    EXPECT_EQ(truncateName(L""), L"");
}
