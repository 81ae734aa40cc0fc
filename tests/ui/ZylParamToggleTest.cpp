#include "framework/ZylDebug.h"
#include "ui/ZylParamToggle.h"
#include "ui/ZylTextButton.h"
#include "tests/ui/ZylWidgetTestSupport.h"

#include <gtest/gtest.h>

using namespace zyltest;

namespace
{
ZylTextButton* buttonOf(ZylParamToggle& control)
{
    const auto buttons = childrenOfType<ZylTextButton>(control);
    return buttons.size() == 1 ? buttons.front() : nullptr;
}
} // namespace

TEST(ToggleControl, ClicksSetTheSecondOrFirstValue)
{
    WidgetDomain domain(kControlToggle, { L"Off", L"On" }, L"Switches it");
    BoundParameter parameter(domain, L"Power");
    ZylParamToggle control(nullptr, 0);
    EXPECT_EQ(control.getPreferredWidth(), 0) << "no button before a parameter is bound";
    EXPECT_EQ(control.getPreferredHeight(), 19);
    control.setParameter(parameter.get());

    auto* button = buttonOf(control);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->getButtonText(), "power");
    EXPECT_EQ(button->getTooltip(), "Switches it");
    EXPECT_FALSE(button->getToggleState());
    EXPECT_EQ(control.getPreferredWidth(), 65);
    EXPECT_EQ(control.getPreferredHeight(), 19);
    control.setSize(65, 19);
    EXPECT_EQ(button->getBounds(), juce::Rectangle<int>(0, 0, 65, 19));

    const int userChange = zylMessageCode(kValueChanged, kCauseUser);
    for (const int expected : { 1, 0, 1 })
    {
        click(*button);
        EXPECT_EQ(parameter.get()->getIndex(), expected);
        EXPECT_EQ(button->getToggleState(), expected == 1);
        EXPECT_EQ(parameter.codes(), std::vector<int> { userChange });
    }

    parameter.get()->setValueObject(domain.value(0), kCauseHost, false, true);
    parameter.get()->setEnabled(false, true);
    drainMessageQueue();
    EXPECT_FALSE(button->getToggleState());
    EXPECT_FALSE(button->isEnabled());
    click(*button);
    EXPECT_EQ(parameter.get()->getIndex(), 0) << "a disabled button does not click";

    ZylParamToggle wide(nullptr, 120);
    wide.setParameter(parameter.get());
    EXPECT_EQ(wide.getPreferredWidth(), 120);
}

TEST(ToggleControl, AListWithoutASecondValueChangesNothing)
{
    WidgetDomain domain(kControlToggle, { L"Only" });
    BoundParameter parameter(domain);
    ZylParamToggle control(nullptr, 0);
    control.setParameter(parameter.get());
    ZylDebugCapture capture;
    click(*buttonOf(control));
    EXPECT_TRUE(capture.contains("ZylParamToggle parameter index overflow - change message too old?"));
    EXPECT_TRUE(parameter.codes().empty());
    EXPECT_FALSE(buttonOf(control)->getToggleState()) << "the button shows the parameter again";
}
