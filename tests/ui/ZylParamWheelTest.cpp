#include "framework/ZylEditor.h"
#include "ui/ZylComboBox.h"
#include "ui/ZylDrawableButton.h"
#include "ui/ZylParamCombo.h"
#include "ui/ZylParamRadio.h"
#include "ui/ZylParamRotary.h"
#include "ui/ZylParamToggle.h"
#include "ui/ZylSlider.h"
#include "ui/ZylTextButton.h"
#include "tests/framework/ZylStateTestFilter.h"
#include "tests/ui/ZylWidgetTestSupport.h"

#include <gtest/gtest.h>

using namespace zyltest;

namespace
{
// Controls inside an editor whose processor keeps the wheel-assigned parameter.
struct WheelOverControls : ::testing::Test
{
    WheelOverControls()
    {
        filter.initialise();
        drainMessageQueue();
    }

    // Lets the processor's focus controller hear the parameter, as it hears every parameter of
    // the tree.
    void watch(BoundParameter& parameter)
    {
        parameter.get()->addSink(&filter.getFocusController());
        watched.push_back(parameter.get());
    }

    ~WheelOverControls() override { forget(); }

    // Drops the controls and stops the focus controller hearing the parameters, before the
    // parameters go.
    void forget()
    {
        controls.clear();
        for (auto* parameter : watched)
            parameter->removeSink(&filter.getFocusController());
        watched.clear();
    }

    // The control stays the test's: it is cleared before the parameters it shows go.
    template <class Control>
    Control& place(std::unique_ptr<Control> control, BoundParameter& parameter)
    {
        control->setParameter(parameter.get());
        control->setBounds(0, 0, control->getPreferredWidth(), control->getPreferredHeight());
        editor.addAndMakeVisible(*control);
        auto& placed = *control;
        controls.push_back(std::move(control));
        return placed;
    }

    StateTestFilter filter;
    ZylEditor editor { filter };
    std::vector<ZylParameter*> watched;
    std::vector<std::unique_ptr<ZylParamControl>> controls;
};
} // namespace

TEST_F(WheelOverControls, RotaryStepsByATwentyFifthOfItsList)
{
    struct Case
    {
        int values;
        int step;
    };
    for (const auto& c : { Case { 26, 1 }, Case { 50, 2 }, Case { 101, 4 } })
    {
        SCOPED_TRACE(c.values);
        WidgetDomain domain(kControlRotary, WidgetDomain::numbered(c.values));
        BoundParameter parameter(domain);
        watch(parameter);
        auto& control = place(std::make_unique<ZylParamRotary>(nullptr), parameter);
        auto* knob = findChild<ZylSlider>(control, "knob");

        click(*findChild<ZylDrawableButton>(control, "wheelButton"));
        ASSERT_EQ(filter.getFocusedObject(), parameter.get());
        turnWheel(*knob, -1.0f);
        turnWheel(*knob, -1.0f);
        EXPECT_EQ(parameter.get()->getIndex(), 2 * c.step);
        EXPECT_EQ(knob->getValue(), 2.0 * c.step) << "the knob follows";
        turnWheel(*knob, 1.0f);
        EXPECT_EQ(parameter.get()->getIndex(), c.step);
        EXPECT_EQ(parameter.userChanges(), 3u);

        parameter.get()->setWheelAssigned(false);
        drainMessageQueue();
        forget();
    }
}

TEST_F(WheelOverControls, EveryControlHandsTheWheelToTheEditor)
{
    WidgetDomain list(kControlCombo, { L"A", L"B", L"C" });
    WidgetDomain radio(kControlRadio, { L"1", L"2", L"3" });
    WidgetDomain toggle(kControlToggle, { L"Off", L"On" });
    BoundParameter listParameter(list), radioParameter(radio), toggleParameter(toggle);
    for (auto* parameter : { &listParameter, &radioParameter, &toggleParameter })
        watch(*parameter);

    auto& combo = place(std::make_unique<ZylParamCombo>(nullptr, 0, 0), listParameter);
    auto& radios = place(std::make_unique<ZylParamRadio>(nullptr), radioParameter);
    auto& onOff = place(std::make_unique<ZylParamToggle>(nullptr, 0), toggleParameter);
    auto* comboWheel = findChild<ZylDrawableButton>(combo, "wheelButton");

    // The toggle and radio controls have no wheel button: their parameters are assigned in code.
    struct Case
    {
        BoundParameter* parameter;
        juce::Component* widget;
    };
    const Case cases[] = {
        { &listParameter, findChild<ZylComboBox>(combo, "combo") },
        { &radioParameter, childrenOfType<ZylDrawableButton>(radios)[0] },
        { &toggleParameter, childrenOfType<ZylTextButton>(onOff)[0] },
    };
    for (const auto& c : cases)
    {
        c.parameter->get()->setWheelAssigned(true);
        drainMessageQueue();
        turnWheel(*c.widget, -1.0f);
        EXPECT_EQ(c.parameter->get()->getIndex(), 1) << c.widget->getName();
        EXPECT_EQ(c.parameter->userChanges(), 1u) << c.widget->getName();
    }
    EXPECT_FALSE(comboWheel->getToggleState()) << "the wheel went to another parameter";

    click(*comboWheel);
    EXPECT_TRUE(listParameter.get()->isWheelAssigned());
    EXPECT_FALSE(toggleParameter.get()->isWheelAssigned());
    EXPECT_EQ(filter.getFocusedObject(), listParameter.get());
    listParameter.get()->setWheelAssigned(false);
    drainMessageQueue();
    forget();
}
