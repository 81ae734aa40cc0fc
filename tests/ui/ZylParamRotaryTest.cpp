#include "framework/ZylDebug.h"
#include "modules/ZylGainDomain.h"
#include "ui/ZylDrawableButton.h"
#include "ui/ZylLabel.h"
#include "ui/ZylParamRotary.h"
#include "ui/ZylSlider.h"
#include "tests/ui/ZylWidgetTestSupport.h"

#include <gtest/gtest.h>

using namespace zyltest;

namespace
{
const int kUserChange = zylMessageCode(kValueChanged, kCauseUser);
const int kGesture = zylMessageCode(kGestureChanged, kCauseState);

struct RotaryParts
{
    explicit RotaryParts(ZylParamRotary& control)
        : label(findChild<ZylLabel>(control, "")),
          wheel(findChild<ZylDrawableButton>(control, "wheelButton")),
          modulation(findChild<ZylDrawableButton>(control, "modulationButton")),
          valueBox(findChild<ZylLabel>(control, "valueBox")),
          knob(findChild<ZylSlider>(control, "knob"))
    {
    }

    ZylLabel* label;
    ZylDrawableButton* wheel;
    ZylDrawableButton* modulation;
    ZylLabel* valueBox;
    ZylSlider* knob;
};

// Drags the knob vertically by dy pixels (negative is up) in one movement.
void dragKnob(ZylSlider& knob, float dy)
{
    knob.mouseDown(mouseAt(knob, 18.0f, 15.0f));
    knob.mouseDrag(mouseAt(knob, 18.0f, 15.0f + dy));
    knob.mouseUp(mouseAt(knob, 18.0f, 15.0f + dy));
    drainMessageQueue();
}

// The synth's gain: 78 values from "-oo dB" over "-38.0 dB" to "0.0 dB", at "-4.0 dB".
struct GainRotary : ::testing::Test
{
    GainRotary()
    {
        parameter.get()->setValueObject(domain.getDefaultValue(), kCauseState, false, true);
        control.setParameter(parameter.get());
        drainMessageQueue();
        parameter.codes();
    }

    juce::String current() const
    {
        return juce::String(parameter.get()->getValueObject()->getName().c_str());
    }

    ZylGainDomain domain { nullptr };
    BoundParameter parameter { domain, L"" };
    ZylParamRotary control { nullptr };
    RotaryParts parts { control };
};
} // namespace

TEST_F(GainRotary, ShowsTheParameterOnKnobAndValueBox)
{
    EXPECT_EQ(parts.label->getText(), "gain");
    EXPECT_EQ(parts.valueBox->getText(), "-4.0 dB");
    EXPECT_EQ(parts.knob->getValue(), 69.0);
    EXPECT_EQ(parts.knob->getMaximum(), 77.0);
    for (auto* tipped : { static_cast<juce::SettableTooltipClient*>(&control),
                          static_cast<juce::SettableTooltipClient*>(parts.knob),
                          static_cast<juce::SettableTooltipClient*>(parts.label),
                          static_cast<juce::SettableTooltipClient*>(parts.valueBox) })
        EXPECT_EQ(tipped->getTooltip(), "Output volume level of built-in test synth");
    EXPECT_FALSE(parts.knob->isScrollWheelEnabled());
    EXPECT_TRUE(parts.valueBox->isEditableOnSingleClick());
    EXPECT_FALSE(parts.valueBox->isEditableOnDoubleClick());

    parameter.get()->setValueObject(domain.getValues()[10], kCauseHost, false, true);
    drainMessageQueue();
    EXPECT_EQ(parts.valueBox->getText(), "-33.5 dB");
    EXPECT_EQ(parts.knob->getValue(), 10.0);

    parameter.get()->setEnabled(false, true);
    drainMessageQueue();
    EXPECT_FALSE(control.isEnabled());
}

TEST_F(GainRotary, TypedTextSelectsAValueAndNeverMutesByAccident)
{
    struct Case
    {
        const char* typed;
        const char* selected; // the current value's name afterwards
    };
    const Case cases[] = {
        { "-6", "-6.0 dB" },      { "-6.5 dB", "-6.5 dB" }, { "  -12.0", "-12.0 dB" },
        { "-7,5", "-7.5 dB" },    { "0", "0.0 dB" },        { "-0", "0.0 dB" },
        { ".0", "0.0 dB" },       { "-50", "-38.0 dB" },    { "+6", "0.0 dB" },
        { "1e9", "0.0 dB" },      { "abc", "-4.0 dB" },     { "", "-4.0 dB" },
        { "-oo dB", "-4.0 dB" },  { "inf", "-4.0 dB" },     { "- 5", "-4.0 dB" },
        { "-4.25", "-4.0 dB" },   { "-4.0", "-4.0 dB" },    { "-1.", "-1.0 dB" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.typed);
        parameter.get()->setValueObject(domain.getDefaultValue(), kCauseState, false, true);
        parts.valueBox->setText("-4.0 dB", juce::dontSendNotification);
        drainMessageQueue();
        parameter.codes();

        parts.valueBox->setText(c.typed, juce::sendNotificationSync);
        drainMessageQueue();
        EXPECT_EQ(current(), c.selected);
        EXPECT_EQ(parts.valueBox->getText(), c.selected) << "the box shows the value again";
        const bool changed = juce::String(c.selected) != "-4.0 dB";
        EXPECT_EQ(parameter.codes(), changed ? std::vector<int> { kUserChange } : std::vector<int> {});
    }
}

TEST_F(GainRotary, TypedDecimalsDoNotDependOnTheProcessLocale)
{
    CommaDecimalLocale locale;
    if (!locale.active)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    for (const auto* typed : { "-2.5", "-2,5" })
    {
        parameter.get()->setValueObject(domain.getDefaultValue(), kCauseState, false, true);
        parts.valueBox->setText(typed, juce::sendNotificationSync);
        drainMessageQueue();
        EXPECT_EQ(current(), "-2.5 dB") << typed;
    }
}

TEST_F(GainRotary, DraggingSendsOneGestureAroundTheChanges)
{
    dragKnob(*parts.knob, -8.0f); // up by 8 of 77 pixels over the whole range: 8 steps
    EXPECT_EQ(current(), "0.0 dB");
    const auto codes = parameter.codes();
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes.front(), kGesture);
    EXPECT_EQ(codes.back(), kGesture);
    for (size_t i = 1; i + 1 < codes.size(); ++i)
        EXPECT_EQ(codes[i], kUserChange);
    EXPECT_FALSE(parameter.get()->isGestureActive());
}

TEST_F(GainRotary, WhileDraggingMessagesUpdateTheBoxButNotTheKnob)
{
    parts.knob->mouseDown(mouseAt(*parts.knob, 18.0f, 15.0f));
    parts.knob->mouseDrag(mouseAt(*parts.knob, 18.0f, 17.0f));
    EXPECT_EQ(parts.knob->getValue(), 67.0);
    parameter.get()->setValueObject(domain.getValues()[30], kCauseHost, false, true);
    drainMessageQueue();
    EXPECT_EQ(parts.valueBox->getText(), "-23.5 dB");
    EXPECT_EQ(parts.knob->getValue(), 67.0);
    parts.knob->mouseUp(mouseAt(*parts.knob, 18.0f, 17.0f));
    drainMessageQueue();

    parameter.get()->setValueObject(domain.getValues()[40], kCauseHost, false, true);
    drainMessageQueue();
    EXPECT_EQ(parts.knob->getValue(), 40.0) << "after the release the knob follows again";
}

namespace
{
// The blob behind the value box and the knob, drawn by the control itself (children left out).
juce::Image paintRotaryBackground(ZylParamRotary& control)
{
    juce::Image image(juce::Image::ARGB, control.getWidth(), control.getHeight(), true);
    juce::Graphics g(image);
    control.paint(g);
    return image;
}
} // namespace

TEST_F(GainRotary, BindingAgainDrawsTheSameBackground)
{
    control.setSize(control.getPreferredWidth(), control.getPreferredHeight());
    const auto once = paintRotaryBackground(control);
    for (int i = 0; i < 20; ++i)
    {
        control.setParameter(nullptr);
        control.setParameter(parameter.get());
    }
    const auto again = paintRotaryBackground(control);
    int differing = 0;
    for (int y = 0; y < once.getHeight(); ++y)
        for (int x = 0; x < once.getWidth(); ++x)
            differing += once.getPixelAt(x, y) != again.getPixelAt(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0);
}

TEST(RotaryControl, KnobRangeAndDragLengthFollowTheListSize)
{
    struct Case
    {
        int values;
        int dragPixels;
    };
    for (const auto& c : { Case { 5, 50 }, Case { 26, 50 }, Case { 78, 77 }, Case { 101, 100 } })
    {
        SCOPED_TRACE(c.values);
        WidgetDomain domain(kControlRotary, WidgetDomain::numbered(c.values));
        BoundParameter parameter(domain);
        ZylParamRotary control(nullptr);
        control.setParameter(parameter.get());
        RotaryParts parts(control);
        EXPECT_EQ(parts.knob->getMinimum(), 0.0);
        EXPECT_EQ(parts.knob->getMaximum(), c.values - 1.0);
        EXPECT_EQ(parts.knob->getInterval(), 1.0);

        dragKnob(*parts.knob, static_cast<float>(-c.dragPixels));
        EXPECT_EQ(parameter.get()->getIndex(), c.values - 1) << "the whole range in one drag";
        dragKnob(*parts.knob, static_cast<float>(c.dragPixels) / 2.0f);
        EXPECT_NEAR(parameter.get()->getIndex(), (c.values - 1) / 2, 1);
    }
}

TEST(RotaryControl, LayoutByStyleAndModulation)
{
    struct Case
    {
        int style;
        bool modulated;
        juce::Rectangle<int> label, wheel, valueBox, knob;
        int width;
    };
    const Case cases[] = {
        { 1, false, { -5, 26, 65, 19 }, { 0, 7, 19, 19 }, { 19, 7, 40, 19 }, { 54, 9, 37, 31 }, 91 },
        { 1, true, { -5, 26, 65, 19 }, { 0, 7, 19, 19 }, { 37, 7, 40, 19 }, { 72, 9, 37, 31 }, 109 },
        { 2, false, { 0, 7, 65, 19 }, { 71, 7, 19, 19 }, { 90, 7, 40, 19 }, { 125, 9, 37, 31 }, 162 },
        { 4, false, { -5, 26, 65, 19 }, { 0, 7, 19, 19 }, { 19, 7, 40, 19 }, { 54, 9, 37, 31 }, 91 },
    };
    WidgetDomain domain(kControlRotary, WidgetDomain::numbered(5));
    WidgetDomain sources(kControlCombo, { L"Off", L"LFO" });
    BoundParameter plain(domain), modulated(domain), source(sources);
    modulated.get()->setModulationParameter(source.get());
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.width);
        ZylParamRotary control(nullptr);
        control.setLayoutStyle(c.style);
        control.setParameter(c.modulated ? modulated.get() : plain.get());
        EXPECT_EQ(control.getPreferredWidth(), c.width);
        EXPECT_EQ(control.getPreferredHeight(), 44);
        control.setSize(c.width, 44);
        control.resized();
        RotaryParts parts(control);
        EXPECT_EQ(parts.label->getBounds(), c.label);
        EXPECT_EQ(parts.wheel->getBounds(), c.wheel);
        EXPECT_EQ(parts.valueBox->getBounds(), c.valueBox);
        EXPECT_EQ(parts.knob->getBounds(), c.knob);
        EXPECT_EQ(parts.modulation->isVisible(), c.modulated);
        if (c.modulated)
        {
            EXPECT_EQ(parts.modulation->getBounds(), juce::Rectangle<int>(19, 7, 19, 19));
        }
        const auto justification = c.style == 2 ? juce::Justification::right
                                                : juce::Justification::centred;
        EXPECT_TRUE(parts.label->getJustificationType() == justification);
    }
}

TEST(RotaryControl, ModulationDisablesHandEditingAndAStaleKnobChangesNothing)
{
    WidgetDomain domain(kControlRotary, WidgetDomain::numbered(5));
    WidgetDomain sources(kControlCombo, { L"Off", L"LFO" });
    BoundParameter parameter(domain), source(sources);
    parameter.get()->setModulationParameter(source.get());
    ZylParamRotary control(nullptr);
    control.setParameter(parameter.get());
    RotaryParts parts(control);

    source.get()->setValueObject(sources.value(1), kCauseUser, false, true);
    drainMessageQueue();
    EXPECT_TRUE(parts.modulation->getToggleState());
    for (juce::Component* widget : { static_cast<juce::Component*>(parts.wheel),
                                     static_cast<juce::Component*>(parts.valueBox),
                                     static_cast<juce::Component*>(parts.knob) })
        EXPECT_FALSE(widget->isEnabled()) << widget->getName();
    source.get()->setValueObject(sources.value(0), kCauseUser, false, true);
    drainMessageQueue();
    EXPECT_TRUE(parts.knob->isEnabled());

    // The knob stands on the last of five places when the list shrinks to three; its change
    // is handled before the control hears of the rebuild.
    parts.knob->setValue(4.0, juce::dontSendNotification);
    parameter.codes();
    domain.rebuildWith(WidgetDomain::numbered(3));
    ZylDebugCapture capture;
    control.sliderValueChanged(parts.knob);
    EXPECT_TRUE(capture.contains("ZylParamRotary parameter index overflow - change message too old?"));
    EXPECT_EQ(parameter.userChanges(), 0u);
    EXPECT_EQ(parameter.get()->getIndex(), 0);
    EXPECT_EQ(parts.knob->getMaximum(), 2.0);
}

TEST(RotaryControl, UnboundKnobDoesNothing)
{
    ZylParamRotary control(nullptr);
    RotaryParts parts(control);
    EXPECT_FALSE(parts.knob->isEnabled());
    EXPECT_EQ(control.getPreferredWidth(), 91);
    parts.valueBox->setText("3", juce::sendNotificationSync);
    control.sliderDragStarted(parts.knob);
    control.sliderValueChanged(parts.knob);
    click(*parts.wheel);
    EXPECT_EQ(control.getParameter(), nullptr);
}
