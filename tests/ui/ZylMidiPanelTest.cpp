#include "ui/ZylMidiPanel.h"

#include "framework/ZylDomain.h"
#include "framework/ZylDomainCommand.h"
#include "modules/ZylMidiFromDeviceDomain.h"
#include "framework/ZylEditor.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameter.h"
#include "framework/ZylValue.h"
#include "modules/ZylMidiInputDeviceManager.h"
#include "modules/ZylMidiInputDomainSet.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylMidiOutputDeviceManager.h"
#include "modules/ZylMidiOutputDomainSet.h"
#include "modules/ZylMidiOutputModule.h"
#include "tests/TestHelpers.h"
#include "tests/ui/ZylScopedDefaultLookAndFeel.h"
#include "tests/ui/ZylFakeUiSeam.h"
#include "tests/ui/ZylPanelTestFilter.h"
#include "tests/ui/ZylSnapshot.h"
#include "ui/MidiInputListBox.h"
#include "ui/MidiOutputListBox.h"
#include "ui/ZylMidiDeviceSelectorComponent.h"
#include "ui/ZylParamControl.h"
#include "ui/ZylSpacer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
using Kind = ZylFakeUiSeam::Kind;

juce::StringArray valueNames(ZylParameter* parameter)
{
    juce::StringArray names;
    for (auto* value : parameter->getDomain()->getValues())
        names.add(juce::String(value->getName().c_str()));
    return names;
}

struct MidiPanel : ::testing::Test
{
    MidiPanel()
    {
        filter.ports.inputNames = { "Keys In", "Pads In" };
        filter.ports.outputNames = { "Synth Out", "Drums Out" };
        panel = std::make_unique<ZylMidiPanel>(&editor, 290);
        panel->setSize(290, panel->getPreferredHeight());
    }

    ZylMidiInputModule& input() { return *filter.inputs().getInputModule(0); }
    ZylMidiOutputModule& output() { return *filter.outputs().getOutputModule(0); }

    ZylDomain* inputDeviceDomain()
    {
        return filter.inputs().getDomainSet()->getDeviceDomain();
    }
    ZylDomain* outputDeviceDomain()
    {
        return filter.outputs().getDomainSet()
            ->getDomains()[ZylMidiOutputDomainSet::kDevicePlace];
    }

    zyltest::ScopedDefaultLookAndFeel lookAndFeel;
    ZylFakeUiSeam seam;
    ZylScopedUiSeam installed { seam };
    zyltest::PanelTestFilter filter;
    ZylEditor editor { filter };
    std::unique_ptr<ZylMidiPanel> panel;
};
} // namespace

TEST_F(MidiPanel, ShowsTheSourceAndDestinationParametersBetweenSpacers)
{
    EXPECT_NE(panel->getIcon(), nullptr);

    std::vector<ZylParameter*> bound;
    int spacers = 0;
    for (auto* child : panel->getChildren())
    {
        if (auto* control = dynamic_cast<ZylParamControl*>(child))
            bound.push_back(control->getParameter());
        else if (dynamic_cast<ZylSpacer*>(child) != nullptr)
            ++spacers;
    }
    const std::vector<ZylParameter*> expected {
        input().getDeviceParameter(),  input().getChannelParameter(),
        input().getTrackParameter(),   output().getDeviceParameter(),
        output().getChannelParameter(),
    };
    EXPECT_EQ(bound, expected);
    EXPECT_EQ(spacers, 2);
}

TEST_F(MidiPanel, EverySenderOfTheSettingsCommandOpensOneDialogAndTheDeviceListsFollowIt)
{
    struct Case
    {
        const char* what;
        std::function<void()> send;
    };
    auto configure = [](ZylDomain* domain) { domain->postCommand(domain->getCommands().front()); };
    const Case cases[] = {
        { "main menu",
          [this] {
              filter.inputs().getCommandParameter()->sendMessage(kMidiSettingsCommand);
          } },
        { "input list's Configure...", [&] { configure(inputDeviceDomain()); } },
        { "output list's Configure...", [&] { configure(outputDeviceDomain()); } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        seam.calls.clear();
        filter.inputs().getDeviceManager()->disableAllInputs();
        seam.onModalDialog = [](const ZylUiSeam::DialogRequest& request) {
            auto* selector = dynamic_cast<ZylMidiDeviceSelectorComponent*>(request.content);
            if (selector == nullptr)
                return 0;
            EXPECT_EQ(selector->getWidth(), 570);
            EXPECT_EQ(selector->getHeight(), 350);
            selector->getInputList()->flipEnablement(1);
            selector->getOutputList()->flipEnablement(0);
            return 0;
        };
        c.send();
        zyltest::drainMessageQueue();

        const auto dialogs = seam.callsOf(Kind::modalDialog);
        ASSERT_EQ(dialogs.size(), 1u);
        EXPECT_EQ(dialogs[0].title, "Midi Settings");
        EXPECT_EQ(dialogs[0].dialog.centreAround, &editor);
        EXPECT_FALSE(dialogs[0].dialog.contentOwned);
        EXPECT_TRUE(valueNames(input().getDeviceParameter()).contains("Pads In"));
        EXPECT_FALSE(valueNames(input().getDeviceParameter()).contains("Keys In"));
        EXPECT_TRUE(valueNames(output().getDeviceParameter()).contains("Synth Out"));

        // Closing the dialog without a change still hands the open ports over.
        seam.onModalDialog = [](const ZylUiSeam::DialogRequest& request) {
            if (auto* selector = dynamic_cast<ZylMidiDeviceSelectorComponent*>(request.content))
                selector->getOutputList()->flipEnablement(0);
            return 0;
        };
        c.send();
        zyltest::drainMessageQueue();
        EXPECT_FALSE(valueNames(output().getDeviceParameter()).contains("Synth Out"));
    }

    // Other messages of the senders open nothing.
    seam.calls.clear();
    filter.inputs().getCommandParameter()->sendMessage(zylCommandCode(kCommandHelp));
    filter.outputs().getCommandParameter()->sendMessage(kValueChanged | kCauseUser);
    zyltest::drainMessageQueue();
    EXPECT_TRUE(seam.calls.empty());
}

TEST_F(MidiPanel, ASecondSettingsCommandWhileTheDialogIsOpenIsIgnored)
{
    int nested = 0;
    seam.onModalDialog = [this, &nested](const ZylUiSeam::DialogRequest&) {
        // The modal loop keeps delivering messages.
        filter.inputs().getCommandParameter()->sendMessage(kMidiSettingsCommand);
        zyltest::drainMessageQueue();
        nested = static_cast<int>(seam.callsOf(Kind::modalDialog).size());
        return 0;
    };
    filter.inputs().getCommandParameter()->sendMessage(kMidiSettingsCommand);
    zyltest::drainMessageQueue();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(seam.callsOf(Kind::modalDialog).size(), 1u);
    EXPECT_FALSE(panel->isShowingMidiSettings());

    // Once it is closed, the next command opens it again.
    seam.onModalDialog = nullptr;
    panel->showMidiSettings();
    EXPECT_EQ(seam.callsOf(Kind::modalDialog).size(), 2u);
}

TEST_F(MidiPanel, PictureShowsTheIconBesideTheControls)
{
    const int height = panel->getPreferredHeight();
    const auto image = zyltest::renderComponent(*panel, 290, height);
    zyltest::maybeWriteSnapshot(*panel, 290, height, "midi-panel");

    // The icon in the top of the icon column stands out from the panel's own background below it.
    const auto below = image.getPixelAt(17, height - 12);
    int iconPixels = 0;
    for (int y = 2; y < 32; ++y)
        for (int x = 2; x < 32; ++x)
            if (std::abs(image.getPixelAt(x, y).getBrightness() - below.getBrightness()) > 0.2f)
                ++iconPixels;
    EXPECT_GT(iconPixels, 30);
}
