#include "ui/ZylGuiHelpers.h"
#include "tests/ui/ZylUiTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
const char* const kSquareSvg =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"20\" height=\"10\" viewBox=\"0 0 20 10\">"
    "<rect x=\"2\" y=\"1\" width=\"16\" height=\"8\" fill=\"#ff0000\"/></svg>";
} // namespace

TEST(ZylHelpers, CreateDrawableFromZipFindsEntriesByName)
{
    const auto zip = zyltest::makeZip({ { "readme.txt", "not a picture" },
                                        { "art/square.svg", kSquareSvg },
                                        { "stop.svg", kSquareSvg } });

    auto drawable = createDrawableFromZip(zip.getData(), zip.getSize(), "art/square.svg");
    ASSERT_NE(drawable, nullptr);
    EXPECT_EQ(drawable->getDrawableBounds().toNearestInt(), juce::Rectangle<int>(2, 1, 16, 8));

    EXPECT_NE(createDrawableFromZip(zip.getData(), zip.getSize(), "stop.svg"), nullptr);
    EXPECT_EQ(createDrawableFromZip(zip.getData(), zip.getSize(), "start.svg"), nullptr);
    EXPECT_EQ(createDrawableFromZip(zip.getData(), zip.getSize(), "readme.txt"), nullptr);
}

TEST(ZylHelpers, CreateDrawableFromZipRefusesBrokenArchives)
{
    const auto zip = zyltest::makeZip({ { "stop.svg", kSquareSvg } });
    const char garbage[] = "PK\x03\x04 this is no archive at all";
    EXPECT_EQ(createDrawableFromZip(garbage, sizeof(garbage), "stop.svg"), nullptr);
    EXPECT_EQ(createDrawableFromZip(nullptr, 0, "stop.svg"), nullptr);
    EXPECT_EQ(createDrawableFromZip(zip.getData(), zip.getSize() / 2, "stop.svg"), nullptr);
}

TEST(ZylHelpers, FillStripedDrawsBarsEveryThirdRow)
{
    const auto base = juce::Colour(0xff204060);
    const auto bar = base.overlaidWith(juce::Colours::lightblue.withAlpha(0.17f));
    juce::Image image(juce::Image::ARGB, 6, 9, true);
    {
        juce::Graphics g(image);
        fillStriped(g, base, 4, 7);
    }
    auto near = [](juce::Colour a, juce::Colour b) {
        return std::abs(a.getRed() - b.getRed()) <= 1 && std::abs(a.getGreen() - b.getGreen()) <= 1
               && std::abs(a.getBlue() - b.getBlue()) <= 1 && a.getAlpha() == b.getAlpha();
    };
    ASSERT_FALSE(near(base, bar));
    for (int y = 0; y < 9; ++y)
    {
        const bool striped = y == 0 || y == 3 || y == 6;
        EXPECT_TRUE(near(image.getPixelAt(1, y), striped ? bar : base)) << "row " << y;
        // Bars span the given width only; the rest of the clip keeps the plain fill.
        EXPECT_TRUE(near(image.getPixelAt(5, y), base)) << "row " << y;
    }
}

TEST(ZylHelpers, StripedFillClippedToAnAreaPaintsThatAreaAsTheWholeFillDoes)
{
    const auto base = juce::Colour(0xff202020);
    juce::Image whole(juce::Image::ARGB, 7, 11, true);
    {
        juce::Graphics g(whole);
        fillStriped(g, base, 7, 10);
    }
    const juce::Rectangle<int> clips[] = { { 0, 0, 7, 11 }, { 0, 1, 7, 2 }, { 2, 4, 3, 5 },
                                           { 0, 8, 7, 3 },  { 1, 9, 2, 1 }, { 0, 2, 7, 1 } };
    for (const auto& clip : clips)
    {
        juce::Image part(juce::Image::ARGB, 7, 11, true);
        {
            juce::Graphics g(part);
            g.reduceClipRegion(clip);
            fillStriped(g, base, 7, 10);
        }
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 7; ++x)
                EXPECT_EQ(part.getPixelAt(x, y).getARGB(),
                          clip.contains(x, y) ? whole.getPixelAt(x, y).getARGB() : 0u)
                    << clip.toString() << " at " << x << "," << y;
    }
}

TEST(ZylHelpers, HueTableRisesFromTheFirstHueByTheAbsoluteDistance)
{
    const auto table = makeHueColourTable(0.6f, 0.0f, 0.7f, 0.9f);
    auto hueDistance = [](float a, float b) {
        const float d = std::abs(a - b);
        return std::min(d, 1.0f - d);
    };
    for (int i : { 0, 1, 32, 64, 127 })
    {
        const auto colour = table[static_cast<size_t>(i)];
        const float expected = std::fmod(0.6f + 0.6f * static_cast<float>(i) / 128.0f, 1.0f);
        EXPECT_LT(hueDistance(colour.getHue(), expected), 0.01f) << "entry " << i;
        EXPECT_EQ(colour.getAlpha(), 255);
        EXPECT_NEAR(colour.getSaturation(), 0.7f, 0.01f);
        EXPECT_NEAR(colour.getBrightness(), 0.9f, 0.01f);
    }
}
