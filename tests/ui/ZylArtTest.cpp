#include "framework/ZylEditor.h"
#include "framework/ZylModuleContainer.h"
#include "resources/ZylEmbeddedArchive.h"
#include "tests/TestHelpers.h"
#include "tests/ui/ZylFakeUiSeam.h"
#include "tests/ui/ZylHelpTestFilter.h"
#include "tests/ui/ZylSnapshot.h"
#include "tests/ui/ZylUiTestSupport.h"
#include "ui/ZylArtArchives.h"
#include "ui/ZylCachedDrawables.h"
#include "ui/ZylCachedSVG.h"
#include "ui/ZylGuiHelpers.h"
#include "ui/ZylHelpPanel.h"
#include "ui/ZylLookAndFeel.h"
#include "ui/ZylPanel.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
struct ArtEntry
{
    const char* archive;
    const char* entry;
};

// Every drawing the interface loads, by the archive and entry names it uses.
const ArtEntry kArt[] = {
    { ZylArtArchives::kInterfaceArt, "collapse.svg" },
    { ZylArtArchives::kInterfaceArt, "decrease.svg" },
    { ZylArtArchives::kInterfaceArt, "expand.svg" },
    { ZylArtArchives::kInterfaceArt, "increase.svg" },
    { ZylArtArchives::kInterfaceArt, "modulate.svg" },
    { ZylArtArchives::kInterfaceArt, "mousewheel.svg" },
    { ZylArtArchives::kInterfaceArt, "radio1.svg" },
    { ZylArtArchives::kInterfaceArt, "radio2.svg" },
    { ZylArtArchives::kInterfaceArt, "radio3.svg" },
    { ZylArtArchives::kInterfaceArt, "radio4.svg" },
    { ZylArtArchives::kInterfaceArt, "radio5.svg" },
    { ZylArtArchives::kInterfaceArt, "vendorlogo.svg" },
    { ZylArtArchives::kAboutAndHelp, "aboutvstasio.svg" },
    { ZylArtArchives::kAboutAndHelp, "applogo.svg" },
    { ZylArtArchives::kAboutAndHelp, "help1.svg" },
    { ZylArtArchives::kHeaderIcons, "disk.svg" },
    { ZylArtArchives::kHeaderIcons, "info.svg" },
    { ZylArtArchives::kHeaderIcons, "start.svg" },
    { ZylArtArchives::kHeaderIcons, "stop.svg" },
    { ZylArtArchives::kSpaceIcons, "chord.svg" },
    { ZylArtArchives::kSpaceIcons, "key.svg" },
    { ZylArtArchives::kSpaceIcons, "space.svg" },
    { ZylArtArchives::kMidiIcon, "midi.svg" },
    { ZylArtArchives::kSynthIcon, "synth.svg" },
};

// Counts pixels of an image that differ from a colour.
int pixelsOtherThan(const juce::Image& image, juce::Colour ground)
{
    int count = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (!zyltest::coloursNear(image.getPixelAt(x, y), ground, 6))
                ++count;
    return count;
}

// Shows a drawable fitted into its bounds on a dark ground, for the icon sheet.
class IconSheet : public juce::Component
{
public:
    void paint(juce::Graphics& g) override
    {
        g.fillAll(juce::Colour(0xff434343));
        int i = 0;
        for (const auto& art : kArt)
        {
            auto drawable = createDrawableFromArchive(art.archive, art.entry);
            const juce::Rectangle<float> cell(static_cast<float>(8 + (i % 6) * 80),
                                              static_cast<float>(8 + (i / 6) * 80), 64.0f, 64.0f);
            if (drawable != nullptr)
                drawable->drawWithin(g, cell, juce::RectanglePlacement::centred, 1.0f);
            ++i;
        }
    }
};
} // namespace

TEST(ZylArt, EveryDrawingIsEmbeddedAndDrawsSomething)
{
    for (const auto& art : kArt)
    {
        auto drawable = createDrawableFromArchive(art.archive, art.entry);
        ASSERT_NE(drawable, nullptr) << art.archive << "/" << art.entry;
        const auto bounds = drawable->getDrawableBounds();
        EXPECT_GT(bounds.getWidth(), 1.0f) << art.entry;
        EXPECT_GT(bounds.getHeight(), 1.0f) << art.entry;

        juce::Image image(juce::Image::ARGB, 48, 48, true);
        {
            juce::Graphics g(image);
            drawable->drawWithin(g, image.getBounds().toFloat(), juce::RectanglePlacement::centred,
                                 1.0f);
        }
        EXPECT_GT(pixelsOtherThan(image, juce::Colours::transparentBlack), 20) << art.entry;
    }
    EXPECT_EQ(createDrawableFromArchive(ZylArtArchives::kInterfaceArt, "nothing.svg"), nullptr);
    EXPECT_EQ(createDrawableFromArchive("noSuchArchive", "expand.svg"), nullptr);

    IconSheet sheet;
    zyltest::maybeWriteSnapshot(sheet, 488, 328, "icons");
}

namespace
{
struct HelpSnapshot : ::testing::Test
{
    HelpSnapshot()
    {
        juce::LookAndFeel::setDefaultLookAndFeel(&lookAndFeel);
        filter.initialise();
        zyltest::drainMessageQueue();
        editor = std::make_unique<ZylEditor>(filter);

        // What the product editor does: the two pages in the cache, the panel configured.
        auto& cache = ZylCachedDrawables::of(*filter.getModuleContainer());
        const auto art = ZylEmbeddedArchive::find(ZylArtArchives::kAboutAndHelp);
        cache.add("lumenfold/aboutvstasio.svg",
                  new ZylCachedSVG(art.getData(), art.getSize(), "aboutvstasio.svg"));
        cache.add("lumenfold/help1.svg", new ZylCachedSVG(art.getData(), art.getSize(), "help1.svg"));

        panel = std::make_unique<ZylHelpPanel>(editor.get());
        panel->setBaseUrl(ZylHelpPanel::defaultBaseUrl());
        panel->setVersion(2, 5);
        panel->setCollapsible(false);
        panel->setSize(320, 470);
        panel->showPage(0);
        filter.root().help->setHelpPanel(panel.get());
        filter.root().help->setHelpInWindow(true);
        filter.root().help->setHasOnlineManual(true);
        panel->setPageNames(juce::StringArray(pageNames, 2));
    }

    ~HelpSnapshot() override
    {
        filter.root().help->setHelpPanel(nullptr);
        panel.reset();
        editor.reset();
        juce::LookAndFeel::setDefaultLookAndFeel(nullptr);
    }

    const char* pageNames[2] = { "lumenfold/aboutvstasio.svg", "lumenfold/help1.svg" };
    ZylLookAndFeel lookAndFeel;
    zyltest::HelpTestFilter filter;
    std::unique_ptr<ZylEditor> editor;
    std::unique_ptr<ZylHelpPanel> panel;
    ZylFakeUiSeam seam;
    ZylScopedUiSeam installed { seam };
};
} // namespace

TEST_F(HelpSnapshot, PagesShowTheirDrawingTabsAndVersion)
{
    const auto ground = panel->getBackgroundColour();
    const auto accent = juce::Colour(ZylLookAndFeel::kDefaultTextColour);
    EXPECT_EQ(ground, accent.darker(0.2f));

    for (int page : { 0, 1 })
    {
        panel->showPage(page);
        const auto image = zyltest::renderComponent(*panel, 320, 470);
        zyltest::maybeWriteSnapshot(*panel, 320, 470, page == 0 ? "help-about" : "help-help");

        // The drawing covers a good part of the page below the tabs.
        const auto drawing = image.getClippedImage({ 0, 25, 320, 400 });
        EXPECT_GT(pixelsOtherThan(drawing, ground), 4000) << page;

        // The pressed tab is the darker one.
        const auto aboutTab = image.getPixelAt(40, 7);
        const auto helpTab = image.getPixelAt(85, 7);
        const auto pressed = page == 0 ? aboutTab : helpTab;
        const auto released = page == 0 ? helpTab : aboutTab;
        EXPECT_LT(pressed.getBrightness(), released.getBrightness() - 0.1f) << page;
    }

    // The version text is drawn at (230, 70) on the About page only.
    panel->showPage(0);
    const auto about = zyltest::renderComponent(*panel, 320, 470).getClippedImage({ 230, 70, 90, 20 });
    panel->showPage(1);
    const auto help = zyltest::renderComponent(*panel, 320, 470).getClippedImage({ 230, 70, 90, 20 });
    int darkAbout = 0;
    int darkHelp = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 90; ++x)
        {
            darkAbout += about.getPixelAt(x, y).getBrightness() < 0.3f ? 1 : 0;
            darkHelp += help.getPixelAt(x, y).getBrightness() < 0.3f ? 1 : 0;
        }
    EXPECT_GT(darkAbout, darkHelp + 30);
}

TEST(ZylPanelSnapshot, EmptyPanel)
{
    ZylLookAndFeel lookAndFeel;
    juce::LookAndFeel::setDefaultLookAndFeel(&lookAndFeel);
    {
        // On the editor's striped ground, as in the program.
        struct Ground : juce::Component
        {
            Ground() { addAndMakeVisible(panel); }
            void paint(juce::Graphics& g) override
            {
                fillStriped(g, juce::Colour(0xff434343), getWidth(), getHeight());
            }
            void resized() override { panel.setBounds(getLocalBounds().reduced(10)); }
            ZylPanel panel { nullptr, "Midi", 280, 200 };
        } ground;
        auto icon = createDrawableFromArchive(ZylArtArchives::kMidiIcon, "midi.svg");
        ground.panel.setIcon(icon.get());
        const auto image = zyltest::renderComponent(ground, 300, 220);
        zyltest::maybeWriteSnapshot(ground, 300, 220, "panel-empty");
        // The icon's light rim shows in the icon column, the separator beside it.
        const auto column = image.getClippedImage({ 16, 16, 22, 22 });
        int light = 0;
        for (int y = 0; y < 22; ++y)
            for (int x = 0; x < 22; ++x)
                light += column.getPixelAt(x, y).getBrightness() > 0.7f ? 1 : 0;
        EXPECT_GT(light, 20);
        EXPECT_GT(image.getPixelAt(43, 110).getBrightness(), image.getPixelAt(60, 110).getBrightness());
        ground.panel.setIcon(nullptr);
    }
    juce::LookAndFeel::setDefaultLookAndFeel(nullptr);
}
