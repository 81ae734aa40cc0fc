#include "space/ZylCell.h"
#include "space/ZylCellLabelDomain.h"
#include "space/ZylKeyDomain.h"
#include "space/ZylRectangleTile.h"
#include "space/ZylScaleDomain.h"
#include "space/ZylScaleNoteTable.h"
#include "tests/space/ZylSpaceVocabularyFixture.h"
#include "ui/ZylGridView.h"
#include "ui/ZylPianoView.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
struct GridText : ZylSpaceVocabularyFixture
{
    static void SetUpTestSuite()
    {
        ZylSpaceVocabularyFixture::SetUpTestSuite();
        table = std::make_unique<ZylScaleNoteTable>(set().getScaleDomain(), set().getKeyDomain());
    }
    static void TearDownTestSuite()
    {
        table.reset();
        ZylSpaceVocabularyFixture::TearDownTestSuite();
    }

    template <class V>
    static const V* named(const ZylDomain& domain, const wchar_t* name)
    {
        for (auto* value : domain.getValues())
            if (value->getName() == name)
                return dynamic_cast<const V*>(value);
        ADD_FAILURE() << "no value " << juce::String(name);
        return nullptr;
    }

    static ZylCell cellOf(int note) { return ZylCell(std::make_unique<ZylRectangleTile>(0, 0, 26, 26), note); }

    static inline std::unique_ptr<ZylScaleNoteTable> table;
};

TEST_F(GridText, EachKindOfLabelByNoteAndPlayability)
{
    const auto* major = named<ZylScaleValue>(*set().getScaleDomain(), L"Major");
    const auto* d = named<ZylKeyValue>(*set().getKeyDomain(), L"D");
    const auto* db = named<ZylKeyValue>(*set().getKeyDomain(), L"Db");
    struct Case
    {
        int kind;
        int note;
        const ZylKeyValue* key;
        bool playable;
        const char* text;
    };
    const Case cases[] = {
        { ZylCellLabelValue::kNoteName, 66, d, true, "F#4" },
        { ZylCellLabelValue::kNoteName, 66, db, true, "Gb4" },
        { ZylCellLabelValue::kNoteName, 66, d, false, "" },
        { ZylCellLabelValue::kNoteName, 0, d, true, "" }, // C is not in D major
        { ZylCellLabelValue::kMidiNoteNumber, 61, d, true, "61" },
        { ZylCellLabelValue::kMidiNoteNumber, 61, d, false, "61" },
        { ZylCellLabelValue::kScaleDegree, 66, d, true, "III" },
        { ZylCellLabelValue::kScaleDegree, 62, d, true, "I" },
        { ZylCellLabelValue::kScaleDegree, 66, d, false, "" },
        { ZylCellLabelValue::kPitchClass, 61, d, true, "1" },
        { ZylCellLabelValue::kPitchClass, 127, d, false, "7" },
        { ZylCellLabelValue::kNumKinds, 61, d, true, "" },
        { -1, 61, d, true, "" },
    };
    for (const auto& c : cases)
    {
        const auto cell = cellOf(c.note);
        EXPECT_EQ(ZylGridView::makeCellText(c.kind, &cell, c.playable, table.get(), major, c.key),
                  juce::String(c.text))
            << "kind " << c.kind << " note " << c.note << (c.playable ? " playable" : "");
    }
    EXPECT_EQ(ZylGridView::makeCellText(ZylCellLabelValue::kMidiNoteNumber, nullptr, true, table.get(),
                                        major, d),
              juce::String());
}

TEST_F(GridText, CellColoursRunFromRedAtTheTopToBlueAtTheBottom)
{
    ZylGridView view(nullptr);
    const auto top = cellOf(127);
    const auto bottom = cellOf(0);
    const auto middle = cellOf(64);

    const auto bright = view.getCellColour(&top);
    EXPECT_NEAR(bright.getHue(), 0.0f, 1e-3f);
    EXPECT_NEAR(bright.getSaturation(), 0.7f, 0.01f);
    EXPECT_NEAR(bright.getBrightness(), 0.7f, 0.01f);
    EXPECT_NEAR(view.getCellColour(&bottom).getHue(), 0.6888889f * 127.0f / 128.0f, 2e-3f);

    const auto dark = view.getUnplayableCellColour(&middle);
    EXPECT_NEAR(dark.getHue(), view.getCellColour(&middle).getHue(), 0.01f);
    EXPECT_NEAR(dark.getSaturation(), 0.3f, 0.02f);
    EXPECT_NEAR(dark.getBrightness(), 0.27f, 0.01f);

    // Every note a cell can hold, and none, has a colour: no lookup outside the tables.
    auto noNote = cellOf(ZylCell::kNoNote);
    EXPECT_TRUE(view.getCellColour(&noNote).isOpaque());
    EXPECT_TRUE(view.getUnplayableCellColour(&noNote).isOpaque());
    EXPECT_TRUE(view.getCellColour(nullptr).isOpaque());
}

TEST(ZylPianoViewKeys, BlackKeysAreTheSharpsOfCDFGAndA)
{
    const char* pattern = "wbwbwwbwbwbw";
    ZylPianoView view(nullptr);
    for (int note = 21; note <= 108; ++note)
    {
        const bool black = pattern[note % 12] == 'b';
        EXPECT_EQ(ZylPianoView::isBlackKey(note), black) << note;
        ZylCell cell(std::make_unique<ZylRectangleTile>(0, 0, 10, 10), note);
        EXPECT_EQ(view.getCellColour(&cell),
                  black ? juce::Colours::black.brighter(0.2f) : juce::Colour(0xfffffff0))
            << note;
    }
    EXPECT_EQ(view.getViewIndex(), 9);
    EXPECT_FALSE(view.getDrawOutlines());
}
} // namespace
