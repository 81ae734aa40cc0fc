// The product processor with its whole editor: which panels it makes and where, the drawings
// over them, the colours, and the look-and-feel it installs and takes away again.
#include "app/ZylLumenfoldEditor.h"
#include "app/ZylLumenfoldFilter.h"
#include "app/ZylLumenfoldLookAndFeel.h"
#include "app/ZylLumenfoldModule.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "modules/ZylTransportModule.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylSpaceDomain.h"
#include "space/ZylSpaceModule.h"
#include "tests/TestHelpers.h"
#include "tests/ui/ZylFakeUiSeam.h"
#include "tests/ui/ZylSnapshot.h"
#include "ui/ZylCachedDrawable.h"
#include "ui/ZylCachedDrawables.h"
#include "ui/ZylGridPanel.h"
#include "ui/ZylGridView.h"
#include "ui/ZylHeaderPanel.h"
#include "ui/ZylHelpModule.h"
#include "ui/ZylHelpPanel.h"
#include "ui/ZylMidiPanel.h"
#include "ui/ZylPianoPanel.h"
#include "ui/ZylSpacePanel.h"
#include "ui/ZylSynthPanel.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
struct ProductEditor : ::testing::Test
{
    ProductEditor()
    {
        filter->initialise();
        zyltest::drainMessageQueue();
    }

    ~ProductEditor() override
    {
        zyltest::drainMessageQueue();
    }

    std::unique_ptr<ZylLumenfoldEditor> openEditor()
    {
        std::unique_ptr<ZylLumenfoldEditor> editor(
            dynamic_cast<ZylLumenfoldEditor*>(filter->createEditor()));
        zyltest::drainMessageQueue();
        return editor;
    }

    ZylFakeUiSeam seam;
    ZylScopedUiSeam seamInstalled { seam };
    std::unique_ptr<ZylLumenfoldFilter> filter = std::make_unique<ZylLumenfoldFilter>();
};
} // namespace

TEST_F(ProductEditor, ProcessorBuildsTheProductTreeAndItsEditorHoldsEveryPanel)
{
    auto* container = filter->getModuleContainer();
    ASSERT_NE(container, nullptr);
    EXPECT_NE(dynamic_cast<ZylLumenfoldModule*>(container->getRootModule()), nullptr);
    EXPECT_TRUE(filter->hasEditor());

    auto editor = openEditor();
    ASSERT_NE(editor, nullptr);
    const juce::Component* panels[] = { editor->getHeaderPanel(), editor->getMidiPanel(),
                                        editor->getSynthPanel(),  editor->getSpacePanel(),
                                        editor->getGridPanel(),   editor->getPianoPanel() };
    ASSERT_EQ(editor->getNumChildComponents(), 6);
    for (int i = 0; i < 6; ++i)
    {
        EXPECT_EQ(editor->getChildComponent(i), panels[i]) << i;
        EXPECT_TRUE(panels[i]->isVisible()) << i;
    }
    // The content's own extent; the standalone window then gives it 1001 x 560.
    EXPECT_EQ(editor->getWidth(), 1001);
    EXPECT_EQ(editor->getHeight(), 555);
    EXPECT_EQ(editor->getVersionText(), "2.5");
    EXPECT_NE(editor->getApplicationLogo(), nullptr);
    EXPECT_NE(editor->getVendorLogo(), nullptr);
    EXPECT_NE(editor->getTooltipWindow(), nullptr);

    // The help panel is not shown in the editor; the help module shows it in a window.
    auto* help = dynamic_cast<ZylHelpModule*>(container->getModule(ZylHelpModule::kModuleId));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->getHelpPanel(), editor->getHelpPanel());
    EXPECT_EQ(editor->getHelpPanel()->getParentComponent(), nullptr);
    EXPECT_TRUE(editor->getGridPanel()->getSpaceView()->isActive());

    editor.reset();
    EXPECT_EQ(help->getHelpPanel(), nullptr);
}

TEST_F(ProductEditor, CreatePluginFilterGivesAnInitialisedStandaloneProcessor)
{
    std::unique_ptr<juce::AudioProcessor> made(createPluginFilter());
    auto* product = dynamic_cast<ZylLumenfoldFilter*>(made.get());
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(made->wrapperType, juce::AudioProcessor::wrapperType_Standalone);
    ASSERT_NE(product->getModuleContainer(), nullptr);
    EXPECT_NE(product->getModuleContainer()->getRootModule(), nullptr);
    EXPECT_EQ(made->getName(), "lumenfold");
    // The next processor made is no longer marked.
    ZylLumenfoldFilter other;
    EXPECT_EQ(other.wrapperType, juce::AudioProcessor::wrapperType_Undefined);
}

TEST_F(ProductEditor, PanelsTakeTheirRectanglesForTheSizeTheWindowGives)
{
    auto editor = openEditor();
    struct Case
    {
        const char* panel;
        juce::Rectangle<int> at1001x560;
        juce::Rectangle<int> at1201x700;
    };
    // Header right of the logo; grid over piano on the left, taking what the right-hand column
    // leaves; space, MIDI and synth stacked on the right at their own heights.
    const Case cases[] = {
        { "header", { 167, 7, 827, 29 }, { 167, 7, 1027, 29 } },
        { "grid", { 7, 43, 690, 439 }, { 7, 43, 890, 579 } },
        { "piano", { 7, 486, 690, 71 }, { 7, 626, 890, 71 } },
        { "space", { 704, 43, 290, 253 }, { 904, 43, 290, 253 } },
        { "midi", { 704, 300, 290, 107 }, { 904, 300, 290, 107 } },
        { "synth", { 704, 411, 290, 65 }, { 904, 411, 290, 65 } },
    };
    auto panelNamed = [&](const juce::String& name) -> juce::Component* {
        if (name == "header")
            return editor->getHeaderPanel();
        if (name == "grid")
            return editor->getGridPanel();
        if (name == "piano")
            return editor->getPianoPanel();
        if (name == "space")
            return editor->getSpacePanel();
        if (name == "midi")
            return editor->getMidiPanel();
        return editor->getSynthPanel();
    };

    editor->setSize(1001, 560);
    for (const auto& c : cases)
        EXPECT_EQ(panelNamed(c.panel)->getBounds(), c.at1001x560) << c.panel;
    editor->setSize(1201, 700);
    for (const auto& c : cases)
        EXPECT_EQ(panelNamed(c.panel)->getBounds(), c.at1201x700) << c.panel;

    // Measuring changes nothing; fitting goes back to the content's own size in place.
    int w = 0, h = 0;
    editor->layoutPanels(0, 0, w, h, true);
    EXPECT_EQ(juce::Point<int>(w, h), juce::Point<int>(1001, 555));
    EXPECT_EQ(editor->getGridPanel()->getWidth(), 890);
    editor->setTopLeftPosition(30, 40);
    editor->fitToContent();
    EXPECT_EQ(editor->getBounds(), juce::Rectangle<int>(30, 40, 1001, 555));
    EXPECT_EQ(editor->getGridPanel()->getBounds(), juce::Rectangle<int>(7, 43, 690, 434));
}

TEST_F(ProductEditor, ColoursOfTheSchemeAndTheVersionText)
{
    ZylLumenfoldLookAndFeel lookAndFeel;
    EXPECT_EQ(ZylLumenfoldLookAndFeel::baseColour(), juce::Colour(67, 67, 67));
    EXPECT_EQ(ZylLumenfoldLookAndFeel::secondColour(), juce::Colour(254, 221, 51));
    // The scheme reaches the colour table: the base behind boxes, the second colour as their text.
    EXPECT_EQ(lookAndFeel.findColour(juce::ComboBox::backgroundColourId), juce::Colour(67, 67, 67));
    EXPECT_EQ(lookAndFeel.findColour(juce::ComboBox::textColourId), juce::Colour(254, 221, 51));
    EXPECT_EQ(lookAndFeel.findColour(juce::Slider::rotarySliderFillColourId),
              juce::Colour(254, 221, 51));

    auto editor = openEditor();
    const auto* version = editor->getVersionDrawable();
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->getText(), "2.5");
    EXPECT_EQ(version->getColour(), juce::Colour(196, 165, 0));
    EXPECT_FLOAT_EQ(version->getFont().getHeight(), 18.0f);
    EXPECT_TRUE(version->getFont().isBold());

    // The striped background in the base colour shows between the panels: x = 700 lies in the
    // gap between the grid and the right-hand column, y = 300 on a row between the stripes.
    editor->setSize(1001, 560);
    juce::Image image(juce::Image::ARGB, 1001, 560, true);
    {
        juce::Graphics g(image);
        editor->paintEntireComponent(g, true);
    }
    EXPECT_EQ(image.getPixelAt(700, 301), juce::Colour(67, 67, 67));
}

TEST_F(ProductEditor, OnlyTheFirstEditorInstallsAndRemovesTheLookAndFeel)
{
    auto* before = &juce::LookAndFeel::getDefaultLookAndFeel();
    ASSERT_EQ(dynamic_cast<ZylLumenfoldLookAndFeel*>(before), nullptr);

    auto first = openEditor();
    auto* installed = &juce::LookAndFeel::getDefaultLookAndFeel();
    EXPECT_EQ(installed, first->getOwnLookAndFeel());
    EXPECT_NE(dynamic_cast<ZylLumenfoldLookAndFeel*>(installed), nullptr);

    // A second editor, even of another processor, finds it in place and makes none.
    ZylLumenfoldFilter otherFilter;
    otherFilter.initialise();
    std::unique_ptr<juce::AudioProcessorEditor> second(otherFilter.createEditor());
    EXPECT_EQ(dynamic_cast<ZylLumenfoldEditor&>(*second).getOwnLookAndFeel(), nullptr);
    second.reset();
    EXPECT_EQ(&juce::LookAndFeel::getDefaultLookAndFeel(), installed);

    first.reset();
    EXPECT_EQ(dynamic_cast<ZylLumenfoldLookAndFeel*>(&juce::LookAndFeel::getDefaultLookAndFeel()),
              nullptr);
    zyltest::drainMessageQueue();
}

TEST_F(ProductEditor, DrawingsOverThePanelsLeaveThePanelsFree)
{
    auto editor = openEditor();
    editor->setSize(1001, 560);
    const juce::Component* panels[] = { editor->getHeaderPanel(), editor->getMidiPanel(),
                                        editor->getSynthPanel(),  editor->getSpacePanel(),
                                        editor->getGridPanel(),   editor->getPianoPanel() };
    auto coversAPanel = [&](juce::Rectangle<float> area) {
        for (auto* panel : panels)
            if (panel->getBounds().toFloat().intersects(area))
                return true;
        return false;
    };

    // The application logo as drawn: in the corner left of the header and above the grid.
    const auto logo = editor->getApplicationLogo()->getDrawableBounds().transformedBy(
        juce::AffineTransform::scale(0.4f, 0.3f).translated(11.0f, 15.0f));
    EXPECT_FALSE(logo.isEmpty());
    EXPECT_FALSE(coversAPanel(logo)) << logo.toString();
    EXPECT_TRUE(juce::Rectangle<float>(0, 0, 167, 43).contains(logo)) << logo.toString();

    // The vendor logo in the bottom-right corner, under the right-hand column.
    const auto vendor = editor->getVendorLogo()->getDrawableBounds().transformedBy(
        juce::AffineTransform::scale(0.22f).translated(901.0f, 525.0f));
    EXPECT_FALSE(vendor.isEmpty());
    EXPECT_FALSE(coversAPanel(vendor)) << vendor.toString();
    EXPECT_TRUE(editor->getLocalBounds().toFloat().contains(vendor)) << vendor.toString();

    // The version number ends left of the header.
    const auto* version = editor->getVersionDrawable();
    const float textRight = 123.0f + version->getFont().getStringWidthFloat(version->getText());
    EXPECT_LT(textRight, 167.0f);
}

TEST_F(ProductEditor, AboutAndHelpShowTheEditorsHelpPanelInAWindowOfItsOwn)
{
    auto editor = openEditor();
    auto* help = dynamic_cast<ZylHelpModule*>(
        filter->getModuleContainer()->getModule(ZylHelpModule::kModuleId));
    ASSERT_NE(help, nullptr);
    auto* panel = editor->getHelpPanel();
    EXPECT_TRUE(help->isHelpInWindow());
    EXPECT_TRUE(help->hasOnlineManual());
    EXPECT_FALSE(panel->isCollapsible());
    EXPECT_EQ(panel->getBounds(), juce::Rectangle<int>(0, 0, 320, 470));
    EXPECT_EQ(panel->getVersionText(), "2.5.544" + ZylHelpPanel::architectureSuffix());

    // Both pages are in the processor's drawable cache under the editor's keys and draw.
    auto* cache = filter->getModuleContainer()->getDrawables();
    ASSERT_NE(cache, nullptr);
    for (const auto* key : { ZylLumenfoldEditor::kAboutPageKey, ZylLumenfoldEditor::kHelpPageKey })
    {
        auto* entry = cache->find(key);
        ASSERT_NE(entry, nullptr) << key;
        EXPECT_NE(entry->getDrawable(), nullptr) << key;
    }

    std::vector<int> pagesShown;
    seam.onModalDialog = [&](const ZylUiSeam::DialogRequest& request) {
        EXPECT_EQ(request.title, "Help");
        EXPECT_EQ(request.content, panel);
        pagesShown.push_back(panel->getCurrentPage());
        return 0;
    };
    for (int command : { kCommandAbout, kCommandHelp })
    {
        help->getCommandParameter()->sendMessage(zylCommandCode(command));
        zyltest::drainMessageQueue();
    }
    EXPECT_EQ(pagesShown, (std::vector<int> { 0, 1 }));
    zyltest::maybeWriteSnapshot(*panel, 320, 470, "editor-help-panel");

    // A second editor's panel takes over; closing the first leaves it in place.
    auto second = openEditor();
    EXPECT_EQ(help->getHelpPanel(), second->getHelpPanel());
    editor.reset();
    EXPECT_EQ(help->getHelpPanel(), second->getHelpPanel());
}

// The program opens its window before the message loop runs: the editor is made while the
// messages of the factory bank's load still wait in the queue. Once they are delivered, the
// editor shows the loaded program, not the state from before the load.
TEST(ProductEditorAtStart, AnEditorMadeBeforeTheLoadsMessagesShowsTheLoadedProgram)
{
    ZylFakeUiSeam seam;
    ZylScopedUiSeam seamInstalled { seam };
    zyltest::drainMessageQueue();
    ZylLumenfoldFilter filter;
    filter.initialise();
    std::unique_ptr<ZylLumenfoldEditor> editor(dynamic_cast<ZylLumenfoldEditor*>(filter.createEditor()));
    ASSERT_NE(editor, nullptr);
    zyltest::drainMessageQueue();

    auto& root = *static_cast<ZylLumenfoldModule*>(filter.getModuleContainer()->getRootModule());
    auto* space = root.getSpaceModule();
    auto* view = editor->getGridPanel()->getSpaceView();
    ASSERT_NE(space, nullptr);
    auto* wanted = space->getGridSpace()->getSpace();
    ASSERT_NE(wanted, nullptr);
    // The module took the program's space, and its assist ("Fit most compact shape") left the
    // chord to the assist.
    const auto* chosen = dynamic_cast<const ZylSpaceValue*>(space->getSpaceParameter()->getValueObject());
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(wanted, chosen->getSpace());
    EXPECT_FALSE(space->getChordParameter()->isEnabled());
    EXPECT_EQ(view->getSpace(), space->getGridSpace());
    // The view is sized for the space the program chose.
    const auto sizedFor = [&] {
        const auto width = view->getWidth();
        const auto height = view->getHeight();
        view->updateSize();
        return view->getWidth() == width && view->getHeight() == height;
    };
    EXPECT_TRUE(sizedFor());
    EXPECT_EQ(root.getTransportModule()->getPosition().bpm, 120.0);
}
