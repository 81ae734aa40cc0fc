#include "tests/ui/ZylUiTestSupport.h"
#include "ui/ZylLookAndFeel.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// Records the rectangle and the outline that drawLozenge is asked for, and draws nothing.
class LozengeRecorder : public ZylLookAndFeel
{
public:
    void drawLozenge(juce::Graphics&, float x, float y, float w, float h, float, juce::Colour colour,
                     float outlineThickness, bool, bool, bool, bool) override
    {
        area = { x, y, w, h };
        outline = outlineThickness;
        face = colour;
        ++calls;
    }
    juce::Rectangle<float> area;
    float outline = 0.0f;
    juce::Colour face;
    int calls = 0;
};

juce::Image blankImage(int width, int height, juce::Colour ground = juce::Colours::white)
{
    juce::Image image(juce::Image::ARGB, width, height, true);
    juce::Graphics g(image);
    g.fillAll(ground);
    return image;
}

// Whether any pixel of the image differs from the ground.
bool anythingDrawn(const juce::Image& image, juce::Colour ground = juce::Colours::white)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt(x, y) != ground)
                return true;
    return false;
}
} // namespace

TEST(ZylLookAndFeel, ColourTableFollowsTheSchemeAndIsReplacedWhole)
{
    ZylLookAndFeel lf;
    const juce::Colour base(0xff434343);
    const juce::Colour text(0xff6acdfe);
    EXPECT_EQ(ZylLookAndFeel::defaultBaseColour(), base);
    struct Case
    {
        int id;
        juce::Colour expected;
    };
    auto table = [](juce::Colour b, juce::Colour t) {
        const juce::Colour light(0xffd3d3d3);
        return std::vector<Case>{
            { juce::ComboBox::backgroundColourId, b },
            { juce::ComboBox::textColourId, t },
            { juce::AlertWindow::backgroundColourId, b.brighter(0.2f) },
            { juce::AlertWindow::outlineColourId, b.brighter(0.2f).brighter(0.2f) },
            { juce::Label::textColourId, light },
            { juce::TextButton::buttonColourId, b },
            { juce::TextButton::buttonOnColourId, t.withAlpha(0.5f) },
            { juce::TextButton::textColourOnId, light },
            { juce::TextEditor::highlightedTextColourId, b },
            { juce::TextEditor::outlineColourId, juce::Colour(0x00000000) },
            { juce::Slider::trackColourId, b.darker(0.1f) },
            { juce::Slider::rotarySliderFillColourId, t },
            { juce::Slider::rotarySliderOutlineColourId, juce::Colour(0xffff0000) },
            { juce::ScrollBar::thumbColourId, b.brighter(0.8f) },
            { juce::PopupMenu::backgroundColourId, juce::Colour(0xfff5f5f5) },
            { juce::PopupMenu::highlightedBackgroundColourId,
              juce::Colour(0xff555555).withMultipliedAlpha(0.2f) },
            { juce::TooltipWindow::textColourId, juce::Colour(0xff555555) },
            { juce::DirectoryContentsDisplayComponent::highlightColourId, light },
        };
    };
    for (const auto& c : table(base, text))
        EXPECT_EQ(lf.findColour(c.id), c.expected) << std::hex << c.id;

    const juce::Colour otherBase(0xff203040);
    const juce::Colour otherText(0xffffa000);
    lf.setColourScheme(otherBase, otherText);
    for (const auto& c : table(otherBase, otherText))
        EXPECT_EQ(lf.findColour(c.id), c.expected) << std::hex << c.id;
}

TEST(ZylLookAndFeel, FontsAndMenuSizes)
{
    ZylLookAndFeel lf;
    const auto font = lf.getPopupMenuFont();
    EXPECT_FLOAT_EQ(font.getHeight(), 11.7f);
    EXPECT_TRUE(font.isBold());
    EXPECT_FLOAT_EQ(font.getHorizontalScale(), 0.85f);
    juce::ComboBox box;
    juce::Label label;
    juce::MenuBarComponent bar;
    for (const auto& other : { lf.getComboBoxFont(box), lf.getLabelFont(label),
                               lf.getAlertWindowFont(), lf.getAlertWindowMessageFont(),
                               lf.getMenuBarFont(bar, 0, "File") })
        EXPECT_EQ(other, font);
    EXPECT_EQ(lf.getDefaultMenuBarHeight(), 20);

    struct Case
    {
        bool separator;
        int standardHeight;
        int width, height;
    };
    const int textWidth = juce::roundToInt(font.getStringWidthFloat("Load Preset Bank"));
    const int minimumHeight = juce::roundToInt(11.7f * 1.3f);
    const Case cases[] = {
        { true, 0, 50, 10 },
        { true, 24, 50, 12 },
        { false, 0, textWidth + 2 * minimumHeight, minimumHeight },
        { false, 24, textWidth + 48, 24 },
    };
    for (const auto& c : cases)
    {
        int width = -1;
        int height = -1;
        lf.getIdealPopupMenuItemSize("Load Preset Bank", c.separator, c.standardHeight, width, height);
        EXPECT_EQ(width, c.width) << c.separator << " " << c.standardHeight;
        EXPECT_EQ(height, c.height) << c.separator << " " << c.standardHeight;
    }
}

TEST(ZylLookAndFeel, TooltipIsItsTextPlusMarginsAndWrapsAt400)
{
    ZylLookAndFeel lf;
    juce::AttributedString shortText;
    shortText.setJustification(juce::Justification::centred);
    shortText.append("Expand or collapse", juce::Font(12.0f, juce::Font::bold));
    juce::TextLayout layout;
    layout.createLayoutWithBalancedLineLengths(shortText, 400.0f);

    int width = 0;
    int height = 0;
    lf.getTooltipSize("Expand or collapse", width, height);
    EXPECT_EQ(width, static_cast<int>(layout.getWidth() + 20.0f));
    EXPECT_EQ(height, static_cast<int>(layout.getHeight() + 15.0f));

    const auto bounds = lf.getTooltipBounds("Expand or collapse", { 10, 10 }, { 0, 0, 1000, 800 });
    EXPECT_EQ(bounds.getWidth(), width);
    EXPECT_EQ(bounds.getHeight(), height);

    int longWidth = 0;
    int longHeight = 0;
    lf.getTooltipSize(juce::String::repeatedString("wide words ", 80), longWidth, longHeight);
    EXPECT_LE(longWidth, 420);
    EXPECT_GT(longHeight, 2 * height);
}

TEST(ZylLookAndFeel, ButtonFaceInsetsAndOutlineFollowTheState)
{
    LozengeRecorder lf;
    juce::Image image(juce::Image::ARGB, 40, 20, true);
    juce::Graphics g(image);
    const juce::Colour colour(0xff434343);
    struct Case
    {
        bool enabled, down, connected;
        float inset, outline, alpha;
    };
    const Case cases[] = {
        { true, false, false, 0.35f, 0.7f, 1.0f },
        { true, true, false, 0.6f, 1.2f, 1.0f },
        { true, false, true, 0.5f, 0.7f, 1.0f },
        { false, false, false, 0.2f, 0.4f, 0.97f },
    };
    for (const auto& c : cases)
    {
        lf.drawButtonLozenge(g, 0.0f, 0.0f, 40.0f, 20.0f, colour, false, c.down, false, c.enabled,
                             c.connected, c.connected, c.connected, c.connected);
        EXPECT_FLOAT_EQ(lf.area.getX(), c.inset);
        EXPECT_FLOAT_EQ(lf.area.getY(), c.inset);
        EXPECT_FLOAT_EQ(lf.area.getRight(), 40.0f - c.inset);
        EXPECT_FLOAT_EQ(lf.area.getBottom(), 20.0f - c.inset);
        EXPECT_FLOAT_EQ(lf.outline, c.outline);
        EXPECT_NEAR(lf.face.getFloatAlpha(), c.alpha, 0.005f);
    }
}

TEST(ZylLookAndFeel, LozengeIsSquareWithABrightBandAndSkipsTinyAreas)
{
    ZylLookAndFeel lf;
    const juce::Colour colour(0xff406080);
    auto image = blankImage(60, 40);
    {
        juce::Graphics g(image);
        lf.drawLozenge(g, 10.0f, 10.0f, 40.0f, 20.0f, 8.0f, colour, 0.7f, false, false, false, false);
    }
    // Square corners: the corner pixel just inside is the darkened outline, not the ground.
    EXPECT_NE(image.getPixelAt(10, 10), juce::Colours::white);
    // The plain face low down, and the bright band near the top (11 % of the height).
    EXPECT_TRUE(zyltest::coloursNear(image.getPixelAt(30, 27), colour, 3));
    const auto band = image.getPixelAt(30, 11);
    EXPECT_GT(band.getBrightness(), colour.getBrightness() + 0.04f);
    EXPECT_EQ(image.getPixelAt(5, 5), juce::Colours::white);

    for (auto size : { juce::Point<float>(40.0f, 0.7f), juce::Point<float>(0.7f, 40.0f) })
    {
        auto tiny = blankImage(60, 60);
        juce::Graphics g(tiny);
        lf.drawLozenge(g, 5.0f, 5.0f, size.x, size.y, 0.0f, colour, 0.7f, false, false, false, false);
        EXPECT_FALSE(anythingDrawn(tiny));
    }
}

TEST(ZylLookAndFeel, TickBoxDrawsTheTickOnlyWhenTickedAndEnabled)
{
    ZylLookAndFeel lf;
    const juce::Colour text(0xff6acdfe);
    juce::Component owner;
    struct Case
    {
        bool ticked, enabled;
        bool tickVisible;
    };
    const Case cases[] = { { false, true, false }, { true, true, true }, { true, false, false } };
    for (const auto& c : cases)
    {
        auto image = blankImage(40, 40, juce::Colours::black);
        {
            juce::Graphics g(image);
            lf.drawTickBox(g, owner, 0.0f, 0.0f, 40.0f, 40.0f, c.ticked, c.enabled, false, false);
        }
        int tickPixels = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                if (zyltest::coloursNear(image.getPixelAt(x, y), text, 8))
                    ++tickPixels;
        EXPECT_EQ(tickPixels > 20, c.tickVisible) << c.ticked << c.enabled;
        // The box outline (accent at 60 %) is always there.
        EXPECT_TRUE(anythingDrawn(image, juce::Colours::black));
    }
    const auto tick = lf.getTickShape(10.0f);
    const auto bounds = tick.getBounds();
    EXPECT_NEAR(bounds.getX(), 0.0f, 1e-4f);
    EXPECT_NEAR(bounds.getY(), 0.0f, 1e-4f);
    EXPECT_NEAR(bounds.getWidth(), 10.0f, 1e-4f);
    EXPECT_NEAR(bounds.getHeight(), 10.0f, 1e-4f);
}

TEST(ZylLookAndFeel, ScrollbarSlotIndentDependsOnItsWidth)
{
    ZylLookAndFeel lf;
    juce::ScrollBar bar(true);
    bar.setLookAndFeel(&lf);
    // A ground the slot gradient never reaches; the slot's rounded end leaves the corners free.
    for (int width : { 10, 16 })
    {
        auto image = blankImage(width, 100);
        {
            juce::Graphics g(image);
            lf.drawScrollbar(g, bar, 0, 0, width, 100, true, 0, 0, false, false);
        }
        // Without an indent the slot touches the left edge mid-way; with one it does not.
        const bool touchesEdge = image.getPixelAt(0, 50) != juce::Colours::white;
        EXPECT_EQ(touchesEdge, width == 10) << width;
        EXPECT_NE(image.getPixelAt(width / 2, 50), juce::Colours::white);
    }
    bar.setLookAndFeel(nullptr);
}

TEST(ZylLookAndFeel, RotaryArcGrowsWithTheValue)
{
    ZylLookAndFeel lf;
    juce::Slider knob(juce::Slider::RotaryVerticalDrag, juce::Slider::NoTextBox);
    knob.setLookAndFeel(&lf);
    const juce::Colour accent(0xff6acdfe);
    const float start = juce::MathConstants<float>::pi * 1.2f;
    const float end = juce::MathConstants<float>::pi * 2.8f;
    auto arcPixels = [&](float position) {
        auto image = blankImage(40, 40, juce::Colours::black);
        {
            juce::Graphics g(image);
            lf.drawRotarySlider(g, 0, 0, 40, 40, position, start, end, knob);
        }
        int count = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                if (zyltest::coloursNear(image.getPixelAt(x, y), accent.withAlpha(1.0f)
                                                                     .interpolatedWith(juce::Colours::black, 0.3f),
                                         25))
                    ++count;
        return count;
    };
    const int none = arcPixels(0.0f);
    const int half = arcPixels(0.5f);
    const int full = arcPixels(1.0f);
    EXPECT_EQ(none, 0);
    EXPECT_GT(half, 10);
    EXPECT_GT(full, half + 10);
    knob.setLookAndFeel(nullptr);
}
