#include "space/ZylCellTriggerDomain.h"
#include "space/ZylChordAssistDomain.h"
#include "space/ZylOnClickDomain.h"
#include "tests/space/ZylSpaceVocabularyFixture.h"

namespace
{
class ZylModeDomainsTest : public ZylSpaceVocabularyFixture
{
};

struct ModeCase
{
    const ZylValue* member;
    const wchar_t* name;
    const wchar_t* label;
};

void expectModes(const ZylDomain& domain, const std::vector<ModeCase>& cases)
{
    ASSERT_EQ(domain.getValues().size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i)
    {
        SCOPED_TRACE(cases[i].name);
        const ZylValue* value = domain.getValues()[i];
        EXPECT_EQ(cases[i].member, value);
        EXPECT_EQ(value->getId(), static_cast<int>(i));
        EXPECT_EQ(value->getName(), cases[i].name);
        EXPECT_EQ(value->getLabel(), cases[i].label);
    }
}
} // namespace

// Modes are recognised by value object, so each getter must hand out the value at its place.
TEST_F(ZylModeDomainsTest, AssistModesAreListedInOrderWithChRootAsDefault)
{
    const auto& assists = *set().getChordAssistDomain();
    expectModes(assists,
                {
                    { assists.getChAnywhValue(), L"Ch Anywh", L"Play chord anywhere" },
                    { assists.getChRootValue(), L"Ch Root", L"Play chord if root in key" },
                    { assists.getChFullValue(), L"Ch Full", L"Play chord if fully in key" },
                    { assists.getFitCompValue(), L"Fit Comp", L"Fit most compact shape" },
                    { assists.getFitBestValue(), L"Fit Best", L"Fit chord to scale (best)" },
                    { assists.getFitCyclValue(), L"Fit Cycl", L"Fit chord to scale (cycle)" },
                    { assists.getFitRandValue(), L"Fit Rand", L"Fit chord to scale (rand)" },
                });
    EXPECT_EQ(assists.getDefaultValue(), assists.getChRootValue());
    EXPECT_EQ(assists.getDefaultValue()->getId(), 1);
    EXPECT_EQ(assists.getChFullValue()->getDescription(),
              L"Plays the currently selected chord if it fully fits in the current scale/key.");
    EXPECT_EQ(assists.getFitRandValue()->getDescription(),
              L"Randomly select from all chords starting at current root cell and that fit the "
              L"currently selected scale/key. Disables manual use of the CHORD parameter.");
}

TEST_F(ZylModeDomainsTest, CellTriggersListMidiClkBeforeMidiHvr)
{
    const auto& triggers = *set().getCellTriggerDomain();
    expectModes(triggers,
                {
                    { triggers.getMouseClValue(), L"Mouse Cl", L"Mouse click triggers cell" },
                    { triggers.getMidiClkValue(), L"Midi Clk", L"Midi triggers clicked cell" },
                    { triggers.getMidiHvrValue(), L"Midi Hvr", L"Midi triggers hovered cell" },
                    { triggers.getMidiNteValue(), L"Midi Nte", L"Midi triggers note" },
                    { triggers.getMidiModValue(), L"Midi Mod", L"Midi triggers note (mod.)" },
                });
    EXPECT_EQ(triggers.getDefaultValue(), triggers.getMouseClValue());
    EXPECT_EQ(triggers.findById(2), triggers.getMidiHvrValue());
    EXPECT_EQ(triggers.getMouseClValue()->getDescription(),
              L"Cells are triggered by clicking the mouse and/or pressing the space bar. Incoming "
              L"midi notes are rendered in the grid (green cells) and then passed through to midi "
              L"output unaltered.  You can use this to analyze and vizualize existing midi parts.");
    EXPECT_EQ(triggers.getMidiModValue()->getDescription(),
              L"Like 'Midi triggers note', but the note is first modulated/transposed from the "
              L"C-Major scale/key into the currently selected scale/key. This allows you to play "
              L"just the white keys and still be in key.");
}

TEST_F(ZylModeDomainsTest, ClickModesTriggerOrHold)
{
    const auto& clicks = *set().getOnClickDomain();
    expectModes(clicks,
                {
                    { clicks.getTrClickValue(), L"Tr Click", L"Trigger cell" },
                    { clicks.getTrHoldValue(), L"Tr & Hold", L"Trigger & hold cell" },
                });
    EXPECT_EQ(clicks.getDefaultValue(), clicks.getTrClickValue());
    EXPECT_EQ(clicks.getTrHoldValue()->getDescription(),
              L"Trigger chord that has the currently clicked cell as root note and keep playing it "
              L"until until the user clicks again on a new cell.  Also applies to triggering by "
              L"space bar.");
}
