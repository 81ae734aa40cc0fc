#include "framework/ZylEditor.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylPropertySet.h"
#include "tests/TestHelpers.h"
#include "tests/ui/ZylFakeUiSeam.h"
#include "tests/ui/ZylHelpTestFilter.h"
#include "ui/ZylDrawableButton.h"
#include "ui/ZylHelpModule.h"
#include "ui/ZylHelpPanel.h"
#include "ui/ZylLookAndFeel.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
const juce::String kBase = "https://www.example.com/en/lumenfold";

juce::StringArray strings(std::initializer_list<juce::String> items)
{
    juce::StringArray array;
    for (const auto& item : items)
        array.add(item);
    return array;
}

struct HelpTest : ::testing::Test
{
    HelpTest()
    {
        juce::LookAndFeel::setDefaultLookAndFeel(&lookAndFeel);
        filter.initialise();
        zyltest::drainMessageQueue();
        editor = std::make_unique<ZylEditor>(filter);
    }

    ~HelpTest() override
    {
        if (panel != nullptr)
            module().setHelpPanel(nullptr);
        panel.reset();
        editor.reset();
        juce::LookAndFeel::setDefaultLookAndFeel(nullptr);
    }

    ZylHelpModule& module() { return *filter.root().help; }

    // The panel as the product editor sets it up.
    ZylHelpPanel& makeProductPanel()
    {
        panel = std::make_unique<ZylHelpPanel>(editor.get());
        panel->setBaseUrl(kBase);
        panel->setVersion(2, 5);
        panel->setCollapsible(false);
        panel->setSize(320, 470);
        panel->showPage(0);
        module().setHelpPanel(panel.get());
        module().setHelpInWindow(true);
        module().setHasOnlineManual(true);
        panel->setPageNames(strings({ "lumenfold/aboutvstasio.svg", "lumenfold/help1.svg" }));
        return *panel;
    }

    void postCommand(int command)
    {
        auto* parameter = module().getCommandParameter();
        parameter->postMessage(parameter, zylCommandCode(command));
        zyltest::drainMessageQueue();
    }

    // The buttons' texts and whether each is on.
    static juce::StringArray buttonStates(const ZylHelpPanel& p)
    {
        juce::StringArray states;
        for (int i = 0; i < p.getNumButtons(); ++i)
            states.add(p.getButton(i)->getButtonText()
                       + (p.getButton(i)->getToggleState() ? "*" : ""));
        return states;
    }

    static juce::TextButton* buttonNamed(const ZylHelpPanel& p, const juce::String& text)
    {
        for (int i = 0; i < p.getNumButtons(); ++i)
            if (p.getButton(i)->getButtonText() == text)
                return p.getButton(i);
        return nullptr;
    }

    ZylLookAndFeel lookAndFeel;
    zyltest::HelpTestFilter filter;
    std::unique_ptr<ZylEditor> editor;
    std::unique_ptr<ZylHelpPanel> panel;
    ZylFakeUiSeam seam;
    ZylScopedUiSeam installed { seam };
};
} // namespace

TEST_F(HelpTest, BuildUrlAddsTheVersionPathOnlyWhenAskedAndSet)
{
    ZylHelpPanel help(editor.get());
    help.setBaseUrl(kBase);
    EXPECT_EQ(help.buildUrl("manual", false), kBase + "/manual");
    EXPECT_EQ(help.buildUrl("manual", true), kBase + "/manual");
    help.setVersion(2, 5);
    EXPECT_EQ(help.buildUrl("manual", false), kBase + "/manual");
    EXPECT_EQ(help.buildUrl("manual", true), kBase + "/v0205/manual");
    EXPECT_EQ(help.buildUrl({}, true), kBase + "/v0205/");
    help.setVersion(12, 34);
    EXPECT_EQ(help.buildUrl("license", true), kBase + "/v1234/license");

    // The build's own base address ends in the product's path.
    EXPECT_TRUE(ZylHelpPanel::defaultBaseUrl().endsWith("/en/lumenfold"));
}

TEST_F(HelpTest, LinkCommandsOpenTheirAddressesThroughTheSeam)
{
    makeProductPanel();
    for (int command : { kCommandProductHome, kCommandOnlineManual, kCommandLatestUpdates })
        postCommand(command);
    EXPECT_EQ(seam.openedUrls(), strings({ kBase + "/v0205/", kBase + "/v0205/manual",
                                                     kBase + "/v0205/updates/?version=2.5.544" }));
    EXPECT_TRUE(seam.callsOf(ZylFakeUiSeam::Kind::modalDialog).empty());
}

TEST_F(HelpTest, AboutAndHelpShowTheirPageInAModalHelpWindowAndTabsSwitchInside)
{
    auto& help = makeProductPanel();
    help.showPage(1);
    std::vector<juce::StringArray> seen;
    int nestedDialogs = 0;
    seam.onModalDialog = [&](const ZylUiSeam::DialogRequest& request) {
        EXPECT_EQ(request.content, &help);
        EXPECT_EQ(request.centreAround, nullptr);
        EXPECT_TRUE(module().isDialogOpen());
        seen.push_back(buttonStates(help));
        // Inside the open dialog: the other tab, then a second Help command, which is ignored.
        const int pageBefore = help.getCurrentPage();
        buttonNamed(help, pageBefore == 0 ? "Help" : "About")->triggerClick();
        zyltest::drainMessageQueue();
        seen.push_back(buttonStates(help));
        const auto callsBefore = seam.calls.size();
        postCommand(kCommandHelp);
        nestedDialogs += static_cast<int>(seam.calls.size() - callsBefore);
        return 0;
    };

    postCommand(kCommandAbout);
    postCommand(kCommandHelp);

    const auto dialogs = seam.callsOf(ZylFakeUiSeam::Kind::modalDialog);
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0].title, "Help");
    EXPECT_EQ(nestedDialogs, 0);
    EXPECT_FALSE(module().isDialogOpen());
    const auto aboutPage = strings({ "About*", "Help", "here" });
    const auto helpPage =
        strings({ "About", "Help*", "See online user guide for more information..." });
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], aboutPage);
    EXPECT_EQ(seen[1], helpPage);
    EXPECT_EQ(seen[2], helpPage);
    EXPECT_EQ(seen[3], aboutPage);

    // The pressed tab wears the darker on colour, the other the lighter face.
    const auto accent = juce::Colour(ZylLookAndFeel::kDefaultTextColour);
    auto* about = buttonNamed(help, "About");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->findColour(juce::TextButton::buttonOnColourId), accent.darker(0.7f));
    EXPECT_EQ(about->findColour(juce::TextButton::buttonColourId), accent.darker(0.2f));
    EXPECT_EQ(about->findColour(juce::TextButton::textColourOnId),
              juce::Colours::black.withAlpha(0.5f));
}

TEST_F(HelpTest, CommandsWithoutAPanelChangeNothing)
{
    for (int command : { kCommandAbout, kCommandHelp, kCommandProductHome, kCommandOnlineManual,
                         kCommandLatestUpdates })
        postCommand(command);
    EXPECT_TRUE(seam.calls.empty());
    EXPECT_EQ(module().getHelpPanel(), nullptr);
}

TEST_F(HelpTest, LinkButtonsOpenTheirAddressesAndPagesBuildTheirTabs)
{
    auto& help = makeProductPanel();
    help.showPage(0);
    buttonNamed(help, "here")->triggerClick();
    zyltest::drainMessageQueue();
    help.showPage(1);
    buttonNamed(help, "See online user guide for more information...")->triggerClick();
    zyltest::drainMessageQueue();
    EXPECT_EQ(seam.openedUrls(),
              strings({ kBase + "/v0205/license", kBase + "/v0205/manual" }));

    struct Case
    {
        juce::StringArray names;
        int page;
        juce::StringArray buttons;
    };
    const juce::String manual = "See online user guide for more information...";
    const Case cases[] = {
        // A page beyond the names still gets the tabs and the link, but no drawing.
        { strings({ "a", "b" }), 5, strings({ "About", "Help", manual }) },
        { strings({ "a", "b", "c", "d" }), 2,
          strings({ "About", "Help", "1", "2*", "3", manual }) },
        { strings({ "a", "b" }), 10, {} },
        { strings({ "a", "b" }), -1, {} },
    };
    for (const auto& c : cases)
    {
        help.setPageNames(c.names);
        help.showPage(c.page);
        EXPECT_EQ(buttonStates(help), c.buttons) << c.page;
        EXPECT_EQ(module().getPropertySet()->getIntValue("helpCurrentPage", -99), c.page);
        // Painting a page without a drawing draws the background only.
        EXPECT_TRUE(help.createComponentSnapshot(help.getLocalBounds()).isValid());
    }
    help.setPageNames(strings({ "a", "b", "c", "d" }));
    help.showPage(2);
    EXPECT_EQ(buttonNamed(help, "3")->getBounds(), juce::Rectangle<int>(165, 5, 20, 15));
    buttonNamed(help, "3")->triggerClick();
    zyltest::drainMessageQueue();
    EXPECT_EQ(help.getCurrentPage(), 3);
}

TEST_F(HelpTest, AboutPageVersionTextFollowsThePointerSize)
{
    auto& help = makeProductPanel();
    const juce::String expected =
        sizeof(void*) == 8 ? "2.5.544 64-bit" : "2.5.544 32-bit";
    EXPECT_EQ(help.getVersionText(), expected);
}

TEST_F(HelpTest, CollapsingChangesWidthBackgroundAndStoredFlag)
{
    ZylHelpPanel help(editor.get());
    // With a help module the panel starts collapsed, on the stored or default page.
    EXPECT_TRUE(help.isCollapsible());
    EXPECT_FALSE(help.isExpanded());
    EXPECT_EQ(help.getCurrentPage(), 3);
    EXPECT_EQ(help.getPreferredWidth(), 15);
    EXPECT_EQ(help.getPreferredHeight(), 470);
    const auto accent = juce::Colour(ZylLookAndFeel::kDefaultTextColour);
    EXPECT_EQ(help.getBackgroundColour(), accent.darker(0.2f).withAlpha(0.5f));
    EXPECT_TRUE(help.getExpandButton()->isVisible());

    help.getExpandButton()->triggerClick();
    zyltest::drainMessageQueue();
    EXPECT_TRUE(help.isExpanded());
    EXPECT_EQ(help.getPreferredWidth(), 320);
    EXPECT_EQ(help.getBackgroundColour(), accent.darker(0.2f));
    EXPECT_TRUE(module().getPropertySet()->getBoolValue("helpExpanded", false));

    help.getExpandButton()->triggerClick();
    zyltest::drainMessageQueue();
    EXPECT_FALSE(module().getPropertySet()->getBoolValue("helpExpanded", true));
    help.setCollapsible(false);
    EXPECT_FALSE(help.getExpandButton()->isVisible());
    EXPECT_EQ(help.getPreferredWidth(), 320);
    EXPECT_EQ(help.getBackgroundColour(), accent.darker(0.2f));

    // Without a help module: expanded, page 3.
    ZylHelpPanel loose(nullptr);
    EXPECT_TRUE(loose.isExpanded());
    EXPECT_EQ(loose.getCurrentPage(), 3);
    EXPECT_EQ(loose.getHelpModule(), nullptr);
}

TEST_F(HelpTest, PageAndExpandedFlagTravelWithTheState)
{
    {
        ZylHelpPanel help(editor.get());
        help.showPage(1);
        help.setExpanded(true);
    }
    juce::MemoryBlock state;
    filter.root().saveBankToMemory(state);

    zyltest::HelpTestFilter other;
    other.initialise();
    zyltest::drainMessageQueue();
    ASSERT_TRUE(other.root().loadBankFromMemory(state.getData(),
                                                static_cast<juce::int64>(state.getSize())));
    const auto* properties = other.root().help->getPropertySet();
    EXPECT_EQ(properties->getIntValue("helpCurrentPage", -1), 1);
    EXPECT_TRUE(properties->getBoolValue("helpExpanded", false));

    // A new panel starts on the stored page; the flag is not read back.
    ZylEditor otherEditor(other);
    ZylHelpPanel restored(&otherEditor);
    EXPECT_EQ(restored.getCurrentPage(), 1);
    EXPECT_FALSE(restored.isExpanded());
    restored.showPage(0);
    EXPECT_EQ(properties->getIntValue("helpCurrentPage", -1), 0);
}
