#include "tests/ui/ZylFakeUiSeam.h"
#include "ui/ZylGuiHelpers.h"
#include "ui/ZylJuceUiSeam.h"
#include "ui/ZylUiSeam.h"

#include <gtest/gtest.h>

TEST(ZylUiSeam, ScopedSeamIsCurrentUntilItEndsAndModalDialogsGoThroughIt)
{
    auto* juceSeam = &ZylUiSeam::get();
    {
        ZylFakeUiSeam fake;
        ZylScopedUiSeam installed(fake);
        EXPECT_EQ(&ZylUiSeam::get(), &fake);
        {
            ZylFakeUiSeam inner;
            ZylScopedUiSeam nested(inner);
            EXPECT_EQ(&ZylUiSeam::get(), &inner);
        }
        EXPECT_EQ(&ZylUiSeam::get(), &fake);

        juce::Component content;
        fake.onModalDialog = [&content](const ZylUiSeam::DialogRequest& request) {
            EXPECT_EQ(request.content, &content);
            return 7;
        };
        EXPECT_EQ(showModalDialog("Midi Settings", &content, nullptr), 7);
        const auto dialogs = fake.callsOf(ZylFakeUiSeam::Kind::modalDialog);
        ASSERT_EQ(dialogs.size(), 1u);
        EXPECT_EQ(dialogs[0].title, "Midi Settings");
        EXPECT_FALSE(dialogs[0].dialog.contentOwned);
        EXPECT_EQ(dialogs[0].dialog.background, juce::Colours::lightgrey);
    }
    EXPECT_EQ(&ZylUiSeam::get(), juceSeam);
}

TEST(ZylUiSeam, FakeAnswersFromItsQueuesAndCancelsWhenTheyAreEmpty)
{
    ZylFakeUiSeam fake;
    fake.okCancelAnswers = { true };
    fake.promptAnswers = { "Warm pad" };
    fake.fileAnswers = { juce::File("/tmp/bank.fxb") };

    auto& seam = static_cast<ZylUiSeam&>(fake);
    const auto icon = juce::MessageBoxIconType::WarningIcon;
    EXPECT_TRUE(seam.showOkCancelBox(icon, "Warning", "Sure?", "Yes", "No", nullptr));
    EXPECT_FALSE(seam.showOkCancelBox(icon, "Warning", "Sure?", "Yes", "No", nullptr));

    ZylUiSeam::TextPrompt prompt{ "Rename preset", "New preset name:", "programName" };
    juce::String name = "Init";
    EXPECT_TRUE(seam.promptText(prompt, name));
    EXPECT_EQ(name, "Warm pad");
    EXPECT_FALSE(seam.promptText(prompt, name));
    EXPECT_EQ(name, "Warm pad");

    ZylUiSeam::FileRequest request{ "Load Preset Bank (*.fxb)", {}, "*.fxb" };
    juce::File chosen;
    EXPECT_TRUE(seam.chooseFile(request, chosen));
    EXPECT_EQ(chosen, juce::File("/tmp/bank.fxb"));
    EXPECT_FALSE(seam.chooseFile(request, chosen));

    seam.showMessageBox(icon, "Error", "Could not read from the specified file.", "OK", nullptr);
    EXPECT_TRUE(seam.openUrl("https://www.example.com/"));

    // An owned dialog content is deleted when the dialog ends.
    juce::Component::SafePointer<juce::Component> owned(new juce::Component());
    ZylUiSeam::DialogRequest dialog;
    dialog.title = "Audio Settings";
    dialog.content = owned.getComponent();
    dialog.contentOwned = true;
    EXPECT_EQ(seam.runModalDialog(dialog), 0);
    EXPECT_EQ(owned.getComponent(), nullptr);

    using Kind = ZylFakeUiSeam::Kind;
    const Kind expected[] = { Kind::okCancelBox, Kind::okCancelBox, Kind::textPrompt,
                              Kind::textPrompt,  Kind::fileChooser, Kind::fileChooser,
                              Kind::messageBox,  Kind::url,         Kind::modalDialog };
    ASSERT_EQ(fake.calls.size(), std::size(expected));
    for (size_t i = 0; i < fake.calls.size(); ++i)
        EXPECT_EQ(fake.calls[i].kind, expected[i]) << "call " << i;
    EXPECT_EQ(fake.calls[2].initialText, "Init");
    EXPECT_EQ(fake.calls[2].editorName, "programName");
    EXPECT_EQ(fake.calls[6].text, "Could not read from the specified file.");
    EXPECT_EQ(fake.openedUrls(), juce::StringArray("https://www.example.com/"));
}

// The JUCE seam's dialog window holds its content at the size asked for, with no room for a
// title bar of JUCE's own: the native one sits outside the window.
TEST(ZylJuceUiSeam, ModalDialogKeepsTheContentSizeItWasGiven)
{
    const juce::Point<int> sizes[] = { { 320, 470 }, { 570, 350 }, { 500, 320 } };
    for (const auto& size : sizes)
    {
        juce::Component content;
        content.setSize(size.x, size.y);
        juce::Rectangle<int> shownContent, shownWindow;
        juce::MessageManager::callAsync([&] {
            auto* window = juce::Component::getCurrentlyModalComponent();
            if (window == nullptr)
                return;
            shownContent = content.getBounds();
            shownWindow = window->getBounds();
            window->exitModalState(3);
        });
        ZylJuceUiSeam seam;
        ZylUiSeam::DialogRequest request;
        request.title = "Midi Settings";
        request.content = &content;
        EXPECT_EQ(seam.runModalDialog(request), 3);
        EXPECT_EQ(shownContent, juce::Rectangle<int>(size.x, size.y)) << size.toString();
        EXPECT_EQ(shownWindow.getWidth(), size.x) << size.toString();
        EXPECT_EQ(shownWindow.getHeight(), size.y) << size.toString();
    }
}
