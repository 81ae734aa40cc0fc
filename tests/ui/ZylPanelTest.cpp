#include "tests/ui/ZylSnapshot.h"
#include "tests/ui/ZylUiTestSupport.h"
#include "ui/ZylComboBox.h"
#include "ui/ZylDrawableButton.h"
#include "ui/ZylLabel.h"
#include "ui/ZylLookAndFeel.h"
#include "ui/ZylPanel.h"
#include "ui/ZylSlider.h"
#include "ui/ZylSpacer.h"
#include "ui/ZylTextButton.h"
#include "ui/ZylViewport.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
// A red square filling its own 100 x 100 box, as a stand-in panel icon.
std::unique_ptr<juce::Drawable> makeSquareIcon()
{
    auto icon = std::make_unique<juce::DrawablePath>();
    juce::Path square;
    square.addRectangle(0.0f, 0.0f, 100.0f, 100.0f);
    icon->setPath(square);
    icon->setFill(juce::Colours::red);
    return icon;
}

// Sits behind a panel (which it takes over) so that its own colour shows where the panel draws
// nothing.
class Backdrop : public juce::Component
{
public:
    explicit Backdrop(juce::Component& child) { addAndMakeVisible(child); }
    ~Backdrop() override { deleteAllChildren(); }
    void paint(juce::Graphics& g) override { g.fillAll(juce::Colours::white); }
    void resized() override
    {
        if (auto* child = getChildComponent(0))
            child->setBounds(getLocalBounds());
    }
};

class WheelRecorder : public juce::Component
{
public:
    void mouseWheelMove(const juce::MouseEvent&, const juce::MouseWheelDetails& wheel) override
    {
        ++turns;
        lastDeltaY = wheel.deltaY;
    }
    int turns = 0;
    float lastDeltaY = 0.0f;
};

class ZylPanelTest : public ::testing::Test
{
protected:
    void SetUp() override { juce::LookAndFeel::setDefaultLookAndFeel(&lookAndFeel); }
    void TearDown() override { juce::LookAndFeel::setDefaultLookAndFeel(nullptr); }

    ZylLookAndFeel lookAndFeel;
};
} // namespace

TEST_F(ZylPanelTest, BackgroundIsTheRoundedPanelColourWithIconAndSeparatorOnlyWhenIconSet)
{
    const auto expectedBackground =
        juce::Colour(0xff434343).brighter(0.5f).withAlpha(0.5f);
    auto* panel = new ZylPanel(nullptr, "Midi", 200, 100);
    Backdrop backdrop(*panel);
    EXPECT_EQ(panel->getBackgroundColour(), expectedBackground);
    EXPECT_EQ(panel->getTitle(), "Midi");

    panel->setBackgroundColour(juce::Colours::blue);
    auto plain = zyltest::renderComponent(backdrop, 200, 100);
    // Inside: the panel colour. The very corner lies outside the 6-pixel rounding.
    EXPECT_TRUE(zyltest::coloursNear(plain.getPixelAt(100, 50), juce::Colours::blue));
    EXPECT_TRUE(zyltest::coloursNear(plain.getPixelAt(0, 0), juce::Colours::white));
    EXPECT_TRUE(zyltest::coloursNear(plain.getPixelAt(33, 50), juce::Colours::blue));
    EXPECT_TRUE(zyltest::coloursNear(plain.getPixelAt(10, 10), juce::Colours::blue));

    auto icon = makeSquareIcon();
    panel->setIcon(icon.get());
    auto withIcon = zyltest::renderComponent(backdrop, 200, 100);
    // The 100-unit icon at scale 0.09 from (6, 6): red over 6..15.
    EXPECT_TRUE(zyltest::coloursNear(withIcon.getPixelAt(10, 10), juce::Colours::red));
    EXPECT_TRUE(zyltest::coloursNear(withIcon.getPixelAt(17, 17), juce::Colours::blue));
    // The separator, 1 pixel wide centred on x = 33 (so half over each of the pixels 32 and
    // 33), from y = 7 to height - 7, in the light text colour darkened.
    const auto separator = juce::Colour(0xffd3d3d3).darker(0.2f);
    const auto halfLine = separator.interpolatedWith(juce::Colours::blue, 0.5f);
    EXPECT_TRUE(zyltest::coloursNear(withIcon.getPixelAt(33, 50), halfLine, 8));
    EXPECT_TRUE(zyltest::coloursNear(withIcon.getPixelAt(32, 50), halfLine, 8));
    EXPECT_TRUE(zyltest::coloursNear(withIcon.getPixelAt(33, 3), juce::Colours::blue));
    EXPECT_TRUE(zyltest::coloursNear(withIcon.getPixelAt(33, 96), juce::Colours::blue));
    panel->setIcon(nullptr);
}

TEST_F(ZylPanelTest, SpacerDrawsNothingButKeepsItsSize)
{
    auto* spacer = new ZylSpacer(250, 10, true);
    Backdrop backdrop(*spacer);
    auto image = zyltest::renderComponent(backdrop, 250, 10);
    for (auto point : { juce::Point<int>(0, 0), juce::Point<int>(125, 5), juce::Point<int>(249, 9) })
        EXPECT_TRUE(zyltest::coloursNear(image.getPixelAt(point.x, point.y), juce::Colours::white));
    EXPECT_EQ(spacer->getPreferredWidth(), 250);
    EXPECT_EQ(spacer->getPreferredHeight(), 10);
    EXPECT_TRUE(spacer->isLineBreakAfter());
    EXPECT_EQ(spacer->getModuleContainer(), nullptr);
}

TEST_F(ZylPanelTest, ContentFillsOrCentresAndAReplacedViewportIsDeleted)
{
    ZylPanel panel(nullptr, "Grid", 300, 200);
    panel.setBounds(0, 0, 300, 200);

    struct Case
    {
        bool fill;
        int viewWidth, viewHeight;
        juce::Rectangle<int> expected;
    };
    const Case cases[] = {
        { true, 1000, 1000, { 6, 6, 288, 188 } },
        // A view that fits keeps its size, centred.
        { false, 100, 50, { 100, 75, 100, 50 } },
        // Too large: the panel less 6 in each direction, centred.
        { false, 1000, 40, { 3, 80, 294, 40 } },
    };
    juce::Component::SafePointer<juce::Component> previousViewport;
    juce::Component::SafePointer<juce::Component> previousView;
    for (const auto& c : cases)
    {
        auto* viewport = new ZylViewport();
        auto* view = new juce::Component();
        view->setSize(c.viewWidth, c.viewHeight);
        viewport->setViewedComponent(view, true);
        panel.setContent(viewport, c.fill);
        EXPECT_EQ(panel.getContent(), viewport);
        EXPECT_EQ(viewport->getBounds(), c.expected) << "fill " << c.fill;
        EXPECT_EQ(panel.getNumChildComponents(), 1);
        // The viewport replaced by this one is gone, and its view with it.
        EXPECT_EQ(previousViewport.getComponent(), nullptr);
        EXPECT_EQ(previousView.getComponent(), nullptr);
        previousViewport = viewport;
        previousView = view;
    }
    panel.setContent(nullptr, false);
    EXPECT_EQ(panel.getContent(), nullptr);
    EXPECT_EQ(panel.getNumChildComponents(), 0);
    EXPECT_EQ(previousViewport.getComponent(), nullptr);
}

TEST_F(ZylPanelTest, DrawableButtonBlinksOnItsTimerAndStopsDark)
{
    ZylDrawableButton button("startButton");
    EXPECT_FALSE(button.isBlinking());

    // Off while not blinking leaves the toggle alone.
    button.setToggleState(true, juce::dontSendNotification);
    button.setBlinking(false, 500);
    EXPECT_TRUE(button.getToggleState());
    button.setToggleState(false, juce::dontSendNotification);

    button.setBlinking(true, 500);
    EXPECT_TRUE(button.isBlinking());
    EXPECT_EQ(button.getTimerInterval(), 500);
    // A second start keeps the first interval.
    button.setBlinking(true, 100);
    EXPECT_EQ(button.getTimerInterval(), 500);

    const bool expected[] = { true, false, true, false };
    for (bool state : expected)
    {
        button.timerCallback();
        EXPECT_EQ(button.getToggleState(), state);
    }
    button.timerCallback();
    ASSERT_TRUE(button.getToggleState());
    button.setBlinking(false, 500);
    EXPECT_FALSE(button.isBlinking());
    EXPECT_FALSE(button.isTimerRunning());
    EXPECT_FALSE(button.getToggleState());

    // Both faces use the text-button colour of the look-and-feel.
    EXPECT_EQ(button.findColour(juce::DrawableButton::backgroundColourId),
              lookAndFeel.findColour(juce::TextButton::buttonColourId));
    EXPECT_EQ(button.findColour(juce::DrawableButton::backgroundOnColourId),
              lookAndFeel.findColour(juce::TextButton::buttonColourId));
}

TEST_F(ZylPanelTest, WheelOverComboKnobOrViewportReachesTheParent)
{
    WheelRecorder parent;
    parent.setBounds(0, 0, 200, 200);
    ZylComboBox combo("combo");
    ZylSlider knob(juce::Slider::RotaryVerticalDrag, juce::Slider::NoTextBox);
    knob.setRange(0.0, 10.0, 1.0);
    knob.setValue(5.0);
    ZylViewport viewport;
    juce::Component* widgets[] = { &combo, &knob, &viewport };
    juce::MouseWheelDetails wheel{};
    wheel.deltaY = -0.25f;
    for (auto* widget : widgets)
    {
        parent.addAndMakeVisible(widget);
        widget->setBounds(10, 10, 50, 50);
        const int before = parent.turns;
        widget->mouseWheelMove(zyltest::wheelEventOver(*widget), wheel);
        EXPECT_EQ(parent.turns, before + 1) << widget->getName();
        EXPECT_FLOAT_EQ(parent.lastDeltaY, -0.25f);
    }
    EXPECT_EQ(knob.getValue(), 5.0);
    parent.removeAllChildren();
}

TEST_F(ZylPanelTest, SmallWidgetsTakeTheLookAndFeelsFontAndGround)
{
    ZylLabel label("bpmLabel", "120.00");
    EXPECT_EQ(label.getFont(), lookAndFeel.getPopupMenuFont());
    EXPECT_EQ(label.getText(), "120.00");

    ZylTextButton button;
    EXPECT_TRUE(button.getName().isEmpty());
    EXPECT_TRUE(button.getTooltip().isEmpty());

    ZylComboBox combo("presetCombo");
    EXPECT_TRUE(combo.getWantsKeyboardFocus());

    ZylViewport viewport;
    const auto image = zyltest::renderComponent(viewport, 20, 20);
    EXPECT_EQ(image.getPixelAt(10, 10), juce::Colour(0xff555555));
}
