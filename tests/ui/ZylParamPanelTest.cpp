#include "tests/ui/ZylUiTestSupport.h"
#include "ui/ZylLookAndFeel.h"
#include "ui/ZylParamCombo.h"
#include "ui/ZylParamPanel.h"
#include "ui/ZylParamRadio.h"
#include "ui/ZylParamRotary.h"
#include "ui/ZylParamToggle.h"
#include "ui/ZylSpacer.h"
#include "tests/ui/ZylWidgetTestSupport.h"

#include <gtest/gtest.h>

#include <typeinfo>

using namespace zyltest;

namespace
{
using Rect = juce::Rectangle<int>;

// One parameter of each control type, the typed-number type and an unknown type among them.
struct Parameters
{
    WidgetDomain list { kControlCombo, { L"A", L"B", L"C" } };
    WidgetDomain knob { kControlRotary, WidgetDomain::numbered(11) };
    WidgetDomain typed { kControlNone, { L"120" } };
    WidgetDomain radio { kControlRadio, { L"1", L"2", L"3" } };
    WidgetDomain toggle { kControlToggle, { L"Off", L"On" } };
    WidgetDomain unknown { 7, { L"X" } };
    BoundParameter combo1 { list, L"One" }, combo2 { list, L"Two" }, combo3 { list, L"Three" };
    BoundParameter rotary { knob, L"Level" }, tempo { typed, L"Tempo" };
    BoundParameter radios { radio, L"Band" }, power { toggle, L"Power" }, odd { unknown };
};
} // namespace

TEST(ParamPanel, FlowsItsItemsInRowsThatWrapAtTheWidth)
{
    Parameters p;
    // 'S' a 250 x 10 spacer ending its row, 'c' a combo control (label 45, box 140: 246 x 19,
    // margin -2), 'k' a knob (91 x 44), 't' a toggle (label width 45), 'r' a three-value radio
    // control (57 x 38), 'n' a typed-number parameter (no control).
    struct Case
    {
        const char* items;
        int width;
        std::vector<Rect> bounds;
        int height;
    };
    const Case cases[] = {
        { "", 600, {}, 20 },
        { "Sccc", 600, { { 42, 0, 250, 10 }, { 42, 8, 246, 19 }, { 286, 8, 246, 19 }, { 42, 23, 246, 19 } }, 52 },
        { "Sccc", 300, { { 42, 0, 250, 10 }, { 42, 8, 246, 19 }, { 42, 23, 246, 19 }, { 42, 38, 246, 19 } }, 67 },
        { "Sccc", 900, { { 42, 0, 250, 10 }, { 42, 8, 246, 19 }, { 286, 8, 246, 19 }, { 530, 8, 246, 19 } }, 37 },
        { "cc", 600, { { 42, -2, 246, 19 }, { 286, -2, 246, 19 } }, 27 },
        { "ktcr", 400, { { 42, 0, 91, 44 }, { 133, 0, 45, 19 }, { 42, 17, 246, 19 }, { 286, 17, 57, 38 } }, 65 },
        { "nknt", 100, { { 42, 0, 91, 44 }, { 42, 44, 45, 19 } }, 73 },
        { "c", 100, { { 42, -2, 246, 19 } }, 27 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.items) + " in " + std::to_string(c.width));
        ZylParamPanel panel(nullptr, "Test", c.width);
        int combos = 0;
        for (const char* item = c.items; *item != 0; ++item)
        {
            switch (*item)
            {
            case 'S': panel.addPanel(new ZylSpacer(250, 10, true)); break;
            case 'c':
                panel.addParameterControl((combos++ % 2 == 0 ? p.combo1 : p.combo2).get(), 45, 140);
                break;
            case 'k': panel.addParameterControl(p.rotary.get(), 45, 140); break;
            case 't': panel.addParameterControl(p.power.get(), 45, 140); break;
            case 'r': panel.addParameterControl(p.radios.get(), 45, 140); break;
            case 'n': panel.addParameterControl(p.tempo.get(), 45, 140); break;
            default: FAIL() << "unknown item";
            }
        }
        EXPECT_EQ(panel.getPreferredHeight(), c.height);
        panel.setSize(c.width, 100);
        std::vector<Rect> placed;
        for (auto* item : panel.getItems())
            placed.push_back(item->getBounds());
        EXPECT_EQ(placed, c.bounds);
    }
}

TEST(ParamPanel, PreferredHeightIsMeasuredAtThePreferredWidth)
{
    Parameters p;
    ZylParamPanel panel(nullptr, "Test", 600);
    for (auto* parameter : { p.combo1.get(), p.combo2.get(), p.combo3.get() })
        panel.addParameterControl(parameter, 45, 140);
    panel.setSize(300, 80);
    EXPECT_EQ(panel.getItems()[2]->getBounds(), Rect(42, 28, 246, 19)) << "placed at 300";
    EXPECT_EQ(panel.getPreferredHeight(), 42) << "measured at 600, not 57 as at 300";
    panel.setSize(600, 80);
    EXPECT_EQ(panel.getItems()[1]->getBounds(), Rect(286, -2, 246, 19));
}

TEST(ParamPanel, CreatesTheControlOfEachControlTypeAndRebindsOnlyControls)
{
    Parameters p;
    ZylParamPanel panel(nullptr, "Test", 600);
    struct Case
    {
        ZylParameter* parameter;
        const std::type_info* created; // null: nothing added
    };
    const Case cases[] = {
        { p.combo1.get(), &typeid(ZylParamCombo) }, { p.rotary.get(), &typeid(ZylParamRotary) },
        { p.tempo.get(), nullptr },                 { p.radios.get(), &typeid(ZylParamRadio) },
        { p.power.get(), &typeid(ZylParamToggle) }, { p.odd.get(), nullptr },
        { nullptr, nullptr },
    };
    for (const auto& c : cases)
    {
        const auto before = panel.getItems().size();
        panel.addParameterControl(c.parameter, 0, 0);
        if (c.created == nullptr)
        {
            EXPECT_EQ(panel.getItems().size(), before);
            continue;
        }
        ASSERT_EQ(panel.getItems().size(), before + 1);
        auto* control = panel.getItems().back();
        EXPECT_EQ(typeid(*control), *c.created);
        EXPECT_EQ(static_cast<ZylParamControl*>(control)->getParameter(), c.parameter);
        EXPECT_EQ(control->getParentComponent(), &panel);
        EXPECT_TRUE(control->isVisible());
    }
    EXPECT_EQ(panel.getItems()[3]->getPreferredWidth(), 65) << "a toggle of label width 0";

    auto* spacer = new ZylSpacer(15, 19, false);
    panel.addPanel(spacer);
    // Indexes count the items added: the tempo parameter took none.
    panel.setControlParameter(p.combo2.get(), 0);
    EXPECT_EQ(static_cast<ZylParamControl*>(panel.getItems()[0])->getParameter(), p.combo2.get());
    panel.setControlParameter(p.combo3.get(), 4);
    EXPECT_EQ(panel.getItems()[4], spacer);
    EXPECT_EQ(spacer->getBounds(), Rect());
}

TEST(ParamPanel, SnapshotOfOneControlOfEachKind)
{
    ZylLookAndFeel lookAndFeel;
    juce::LookAndFeel::setDefaultLookAndFeel(&lookAndFeel);
    {
        Parameters p;
        p.combo1.get()->setValueObject(p.list.value(1), kCauseState, false, false);
        p.rotary.get()->setValueObject(p.knob.value(7), kCauseState, false, false);
        p.power.get()->setValueObject(p.toggle.value(1), kCauseState, false, false);
        p.radios.get()->setValueObject(p.radio.value(2), kCauseState, false, false);
        p.combo1.get()->setWheelAssigned(true);

        ZylParamPanel panel(nullptr, "Kinds", 420);
        panel.addPanel(new ZylSpacer(250, 10, true));
        for (auto* parameter : { p.combo1.get(), p.rotary.get(), p.power.get(), p.radios.get() })
            panel.addParameterControl(parameter, 45, 140);
        const int height = panel.getPreferredHeight();
        EditorBackdrop backdrop(panel);
        const auto image = renderComponent(backdrop, 420 + 2 * EditorBackdrop::kMargin,
                                           height + 2 * EditorBackdrop::kMargin);
        maybeWriteSnapshots(backdrop, 420 + 2 * EditorBackdrop::kMargin,
                            height + 2 * EditorBackdrop::kMargin, "param-panel-kinds");

        // The rotary's rounded shape behind its knob, in the value box's colour, joins the box.
        auto* rotary = panel.getItems()[2];
        const auto origin = rotary->getBounds().getPosition() + juce::Point<int>(EditorBackdrop::kMargin,
                                                                                EditorBackdrop::kMargin);
        EXPECT_TRUE(coloursNear(image.getPixelAt(origin.x + 78, origin.y + 8),
                                lookAndFeel.findColour(juce::ComboBox::backgroundColourId), 8));
    }
    juce::LookAndFeel::setDefaultLookAndFeel(nullptr);
}
