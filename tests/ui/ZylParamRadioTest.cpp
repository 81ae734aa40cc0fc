#include "framework/ZylDebug.h"
#include "ui/ZylDrawableButton.h"
#include "ui/ZylLabel.h"
#include "ui/ZylParamRadio.h"
#include "tests/ui/ZylWidgetTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zyltest;

namespace
{
std::vector<bool> states(const std::vector<ZylDrawableButton*>& buttons)
{
    std::vector<bool> on;
    for (auto* button : buttons)
        on.push_back(button->getToggleState());
    return on;
}
} // namespace

TEST(RadioControl, OneButtonPerValueExactlyOneOn)
{
    WidgetDomain domain(kControlRadio, { L"Low", L"Mid", L"High" }, L"Pick a band");
    BoundParameter parameter(domain, L"Band");
    ZylParamRadio control(nullptr);
    control.setParameter(parameter.get());

    const auto buttons = childrenOfType<ZylDrawableButton>(control);
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(control.getPreferredWidth(), 57);
    EXPECT_EQ(control.getPreferredHeight(), 38);
    control.setSize(57, 38);
    for (size_t i = 0; i < buttons.size(); ++i)
    {
        EXPECT_EQ(buttons[i]->getBounds(), juce::Rectangle<int>(19 * static_cast<int>(i), 0, 19, 19));
        EXPECT_EQ(buttons[i]->getName(), juce::String(domain.value(i)->getName().c_str()));
    }
    auto* label = findChild<ZylLabel>(control, "");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getText(), "Band") << "the radio label keeps the name's case";
    EXPECT_EQ(label->getBounds(), juce::Rectangle<int>(0, 19, 57, 19));
    EXPECT_EQ(states(buttons), (std::vector<bool> { true, false, false }));

    const int userChange = zylMessageCode(kValueChanged, kCauseUser);
    for (const size_t chosen : { size_t { 2 }, size_t { 1 }, size_t { 1 } })
    {
        click(*buttons[chosen]);
        EXPECT_EQ(parameter.get()->getIndex(), static_cast<int>(chosen));
        std::vector<bool> expected(3, false);
        expected[chosen] = true;
        EXPECT_EQ(states(buttons), expected);
    }
    EXPECT_EQ(parameter.codes(), (std::vector<int> { userChange, userChange }))
        << "clicking the button that is on changes nothing";

    parameter.get()->setValueObject(domain.value(0), kCauseHost, false, true);
    parameter.get()->setEnabled(false, true);
    drainMessageQueue();
    EXPECT_EQ(states(buttons), (std::vector<bool> { true, false, false }));
    EXPECT_TRUE(std::none_of(buttons.begin(), buttons.end(),
                             [](auto* button) { return button->isEnabled(); }));
}

TEST(RadioControl, ARebuiltListReplacesTheButtonsAndAStaleClickChangesNothing)
{
    WidgetDomain domain(kControlRadio, WidgetDomain::numbered(4));
    BoundParameter parameter(domain);
    ZylParamRadio control(nullptr);
    control.setParameter(parameter.get());
    const auto before = childrenOfType<ZylDrawableButton>(control);

    domain.rebuildWith(WidgetDomain::numbered(2));
    ZylDebugCapture capture;
    // The fourth button is turned on before the control hears of the rebuild.
    before[3]->setToggleState(true, juce::dontSendNotification);
    control.buttonClicked(before[3]);
    EXPECT_TRUE(capture.contains("ZylParamRadio parameter index overflow - change message too old?"));
    EXPECT_EQ(parameter.userChanges(), 0u);

    drainMessageQueue();
    EXPECT_EQ(childrenOfType<ZylDrawableButton>(control).size(), 2u);
    EXPECT_EQ(control.getPreferredWidth(), 38);

    // More values than radio icons: every value still gets its button.
    domain.rebuildWith(WidgetDomain::numbered(7));
    drainMessageQueue();
    EXPECT_EQ(childrenOfType<ZylDrawableButton>(control).size(), 7u);
}
