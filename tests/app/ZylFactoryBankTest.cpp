#include "app/ZylBankDescription.h"
#include "app/ZylLumenfoldModule.h"
#include "framework/ZylFxFiles.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylProgramModule.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylMidiOutputGroupModule.h"
#include "modules/ZylMidiOutputModule.h"
#include "modules/ZylSynthModule.h"
#include "modules/ZylTransportModule.h"
#include "resources/ZylEmbeddedArchive.h"
#include "tests/TestHelpers.h"
#include "tests/app/ZylLumenfoldTestFilter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
juce::MemoryBlock shippedBank()
{
    juce::MemoryBlock file;
    ZylEmbeddedArchive::find(ZylLumenfoldModule::kFactoryBankArchiveName).readEntry(0, file);
    return file;
}

TEST(FactoryBank, TheShippedBankIsWhatItsDescriptionGivesToday)
{
    const juce::File description(juce::String(LUMENFOLD_SOURCE_DIR)
                                 + "/resources/factorybank/factory-bank.txt");
    if (!description.existsAsFile())
        GTEST_SKIP() << "the source tree is not reachable from here";

    ZylBankDescription bank;
    juce::StringArray errors;
    ASSERT_TRUE(bank.parse(description.loadFileAsString(), errors)) << errors.joinIntoString("\n");
    juce::MemoryBlock made;
    {
        ZylModuleContainer container;
        ZylLumenfoldModule root(&container, nullptr);
        container.setRootModule(&root);
        root.initialise();
        ASSERT_TRUE(bank.applyTo(root, errors)) << errors.joinIntoString("\n");
        made = ZylBankDescription::makeBankFile(root);
        container.setRootModule(nullptr);
    }
    zyltest::drainMessageQueue();
    EXPECT_TRUE(made == shippedBank())
        << "resources/factorybank/factory.fxb is stale: build lumenfold_update_factory_bank";
}

struct LoadedFactoryBank : ::testing::Test
{
    LoadedFactoryBank()
    {
        filter.initialise();
        zyltest::drainMessageQueue();
    }
    ~LoadedFactoryBank() override
    {
        filter.releaseResources();
        zyltest::drainMessageQueue();
    }
    ZylLumenfoldModule& root() { return filter.root(); }
    zyltest::LumenfoldTestFilter filter;
};

TEST_F(LoadedFactoryBank, LoadsIntoAFreshTreeAndSavesAgainByteIdentical)
{
    auto* programs = root().getProgramModule();
    ASSERT_NE(programs, nullptr);
    juce::StringArray names;
    for (int i = 0; i < ZylModule::kNumPrograms; ++i)
    {
        const auto name = programs->getProgramName(i);
        EXPECT_FALSE(name.startsWith("Untitled")) << i;
        EXPECT_LE(name.length(), 28);
        names.addIfNotAlreadyThere(name);
    }
    EXPECT_EQ(names.size(), ZylModule::kNumPrograms);
    EXPECT_EQ(programs->getCurrentProgram(), 0);

    auto* input = root().getMidiInputGroupModule()->getInputModule(0);
    EXPECT_EQ(input->getTrackParameter()->getValueText(), L"Gymnop\u00e9die no. 1");
    EXPECT_EQ(root().getMidiOutputGroupModule()->getOutputModule(0)->getDeviceParameter()->getValueText(),
              L"Built-in synth");
    EXPECT_EQ(root().getSynthModule()->getGainParameter()->getValueText(), L"-4.0 dB");
    // The reloaded values reached the modules: the clock runs at the tempo shown.
    EXPECT_EQ(root().getTransportModule()->getPosition().bpm,
              root().getTransportModule()->getBpmParameter()->getValue());

    juce::MemoryBlock chunk;
    root().saveBankToMemory(chunk);
    EXPECT_TRUE(makeFxbFile(chunk, static_cast<std::uint32_t>(root().getPluginId())) == shippedBank());

    const auto file = juce::File::createTempFile(".fxb");
    ASSERT_TRUE(filter.saveBankToFile(file));
    juce::MemoryBlock saved;
    file.loadFileAsData(saved);
    file.deleteFile();
    EXPECT_TRUE(saved == shippedBank());
}
} // namespace
