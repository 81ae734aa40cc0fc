// The product processor with its whole editor: which panels it makes and where, the drawings
// over them, the colours, and the look-and-feel it installs and takes away again.
#include "app/ZylLumenfoldEditor.h"
#include "app/ZylLumenfoldFilter.h"
#include "app/ZylLumenfoldLookAndFeel.h"
#include "app/ZylLumenfoldModule.h"
#include "framework/ZylModuleContainer.h"
#include "tests/TestHelpers.h"
#include "tests/ui/ZylFakeUiSeam.h"
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
    ZylScopedUiSeam installed { seam };
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
