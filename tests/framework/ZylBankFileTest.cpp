#include "framework/ZylFxFiles.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylValue.h"
#include "tests/TestHelpers.h"
#include "tests/ZylFileWriterTestSupport.h"
#include "tests/framework/ZylStateTestTree.h"

#include <gtest/gtest.h>

#include <string>

using zyltest::StateTree;
using zyltest::toText;

namespace
{
struct BankFiles : ::testing::Test
{
    BankFiles()
    {
        folder = juce::File::createTempFile("lumenfold-files");
        folder.createDirectory();
    }
    ~BankFiles() override { folder.deleteRecursively(); }

    juce::File write(const juce::String& name, const juce::MemoryBlock& data)
    {
        auto file = folder.getChildFile(name);
        file.replaceWithData(data.getData(), data.getSize());
        return file;
    }

    static void change(StateTree& tree)
    {
        auto& leaf = tree.leaf();
        leaf.programParameter(5, 0)->setValueObject(leaf.level()->getDomain()->getValues()[77],
                                                    kCauseUser, false, false);
        leaf.programParameter(5, 1)->setValue(140.5f, kCauseUser, false, false);
        leaf.power()->setValueObject(leaf.power()->getDomain()->getValues()[1], kCauseUser, false,
                                     false);
        tree.programs().setProgramName(5, "Init");
        tree.root->getPropertySet()->setValue("editorHeight", 480);
        zyltest::drainMessageQueue();
    }

    juce::File folder;
};

juce::MemoryBlock fileBytes(const juce::File& file)
{
    juce::MemoryBlock data;
    file.loadFileAsData(data);
    return data;
}
} // namespace

TEST_F(BankFiles, BankFileRoundTripRestoresEveryModuleAndSavesTheSameBytes)
{
    StateTree original;
    change(original);
    const auto file = folder.getChildFile("bank.fxb");
    ASSERT_TRUE(original.root->saveBankToFile(file));

    const auto data = fileBytes(file);
    juce::MemoryBlock chunk;
    std::uint32_t id = 0, version = 0;
    ASSERT_TRUE(readFxbChunk(data, chunk, id, version));
    EXPECT_EQ(chunk, original.bank());
    EXPECT_EQ(std::string(static_cast<const char*>(data.getData()) + 16, 4), "QV02");

    StateTree loaded;
    ASSERT_TRUE(loaded.root->loadBankFromFile(file));
    EXPECT_EQ(loaded.programs().getProgramName(5), "Init");
    EXPECT_EQ(loaded.leaf().programParameter(5, 1)->getValue(), 140.5f);
    EXPECT_EQ(loaded.root->getPropertySet()->getIntValue("editorHeight"), 480);

    const auto again = folder.getChildFile("again.fxb");
    ASSERT_TRUE(loaded.root->saveBankToFile(again));
    EXPECT_EQ(fileBytes(again), data);
}

TEST_F(BankFiles, ProgramFileFromProgramFiveReplacesProgramNine)
{
    StateTree original;
    change(original);
    const auto file = folder.getChildFile("five.fxp");
    ASSERT_TRUE(original.root->saveProgramToFile(5, file));
    const auto data = fileBytes(file);
    EXPECT_EQ(std::string(static_cast<const char*>(data.getData()) + 28, 28),
              "Init" + std::string(24, ' '));

    StateTree loaded;
    loaded.root->setCurrentProgram(9);
    ASSERT_TRUE(loaded.root->loadProgramFromFile(9, file));
    EXPECT_EQ(loaded.programs().getProgramName(9), "Init");
    EXPECT_EQ(loaded.leaf().tempo()->getValue(), 140.5f);
    EXPECT_EQ(loaded.leaf().programParameter(5, 1)->getValue(), 120.0f);
}

TEST_F(BankFiles, ABankFromAnotherPluginIdButThisProgramsStateIsLoaded)
{
    StateTree original;
    change(original);
    const auto data = makeFxbFile(original.bank(), ZylFx::makeFourCC('X', 'X', 'X', 'X'));
    StateTree loaded;
    EXPECT_TRUE(loaded.root->loadBankFromFile(write("foreign.fxb", data)));
    EXPECT_EQ(loaded.programs().getProgramName(5), "Init");
}

TEST_F(BankFiles, WritesThatFailReportFailure)
{
    StateTree tree;
    const auto blocked = folder.getChildFile("missing-folder").getChildFile("x").getChildFile("b.fxb");
    folder.getChildFile("missing-folder").replaceWithText("a file, not a folder");
    EXPECT_FALSE(tree.root->saveBankToFile(blocked));
    EXPECT_FALSE(tree.root->saveProgramToFile(0, blocked));
    EXPECT_FALSE(tree.root->saveProgramToFile(128, folder.getChildFile("p.fxp")));
}

// A save that runs out of disk space reports failure, and the file it would have replaced keeps
// its old bytes, with no temporary file left beside it.
TEST_F(BankFiles, ASaveToAFullDiskFailsAndKeepsTheOldFile)
{
    StateTree tree;
    const auto bank = folder.getChildFile("old.fxb");
    const auto preset = folder.getChildFile("old.fxp");
    ASSERT_TRUE(tree.root->saveBankToFile(bank));
    ASSERT_TRUE(tree.root->saveProgramToFile(5, preset));
    const auto oldBank = fileBytes(bank);
    const auto oldPreset = fileBytes(preset);
    change(tree);

    for (const auto where : zyltest::FullDisk::kinds())
    {
        SCOPED_TRACE(static_cast<int>(where));
        zyltest::FullDisk full(where);
        EXPECT_FALSE(tree.root->saveBankToFile(bank));
        EXPECT_FALSE(tree.root->saveProgramToFile(5, preset));
        EXPECT_FALSE(tree.root->saveBankToFile(folder.getChildFile("new.fxb")));
        EXPECT_EQ(fileBytes(bank), oldBank);
        EXPECT_EQ(fileBytes(preset), oldPreset);
        EXPECT_EQ(folder.getNumberOfChildFiles(juce::File::findFilesAndDirectories), 2);
    }

    // With room again the same saves go through.
    EXPECT_TRUE(tree.root->saveBankToFile(bank));
    EXPECT_TRUE(tree.root->saveProgramToFile(5, preset));
    EXPECT_NE(fileBytes(bank), oldBank);
    EXPECT_NE(fileBytes(preset), oldPreset);
}

// Every damaged or foreign file is refused with the state left byte for byte as it was.
TEST_F(BankFiles, DamagedFilesAreRefusedAndChangeNothing)
{
    StateTree source;
    change(source);
    const auto bank = makeFxbFile(source.bank(), ZylFx::makeFourCC('Q', 'V', '0', '2'));
    const auto program =
        makeFxpFile(source.program(5), ZylFx::makeFourCC('Q', 'V', '0', '2'), "p");

    auto truncated = [](const juce::MemoryBlock& block, size_t size) {
        return juce::MemoryBlock(block.getData(), size);
    };
    auto withBytes = [](juce::MemoryBlock block, size_t offset, const std::string& bytes) {
        block.copyFrom(bytes.data(), static_cast<int>(offset), bytes.size());
        return block;
    };
    auto withChunk = [](const std::string& text, bool asBank) {
        juce::MemoryBlock chunk(text.data(), text.size());
        chunk.append("\0", 1);
        const auto id = ZylFx::makeFourCC('Q', 'V', '0', '2');
        return asBank ? makeFxbFile(chunk, id) : makeFxpFile(chunk, id, "x");
    };

    struct Case
    {
        std::string what;
        juce::MemoryBlock data;
        bool bank;
    };
    std::vector<Case> cases;
    // Cut at every header field and inside the chunk.
    for (size_t cut : { 0, 2, 4, 8, 12, 16, 20, 24, 28, 100, 156, 159, 160 })
        cases.push_back({ "bank cut at " + std::to_string(cut), truncated(bank, cut), true });
    cases.push_back({ "bank cut in the chunk", truncated(bank, bank.getSize() - 2), true });
    for (size_t cut : { 0, 4, 8, 12, 16, 20, 24, 28, 40, 56, 59, 60 })
        cases.push_back({ "program cut at " + std::to_string(cut), truncated(program, cut), false });
    cases.push_back({ "program cut in the chunk", truncated(program, program.getSize() - 1), false });
    cases.push_back({ "bank chunk size too large", withBytes(bank, 156, "\x7f\xff\xff\xff"), true });
    cases.push_back({ "program chunk size too large", withBytes(program, 56, std::string("\x00\x10\x00\x00", 4)), false });
    cases.push_back({ "wrong chunk magic", withBytes(bank, 0, "RIFF"), true });
    cases.push_back({ "wrong kind magic", withBytes(bank, 8, "FxCk"), true });
    cases.push_back({ "program file to the bank loader", program, true });
    cases.push_back({ "bank file to the program loader", bank, false });
    cases.push_back({ "chunk is not xml", withChunk("<fxb><mod", true), true });
    cases.push_back({ "wrong name",
                      withChunk("<fxb><mod i=\"2\" n=\"other\" v=\"2.5.544\"/></fxb>", true), true });
    cases.push_back({ "version 3.0.0",
                      withChunk("<fxb><mod i=\"2\" n=\"lumenfold\" v=\"3.0.0\"/></fxb>", true), true });
    cases.push_back({ "version 1.9.0",
                      withChunk("<fxp><mod i=\"2\" n=\"lumenfold\" v=\"1.9.0\"/></fxp>", false), false });
    cases.push_back({ "invalid utf-8",
                      withChunk("<fxb><mod i=\"2\" n=\"lumenfold\" v=\"2.5.544\"><glob><prs a=\"\xfe\"/>"
                                "</glob></mod></fxb>",
                                true),
                      true });
    cases.push_back({ "empty file", juce::MemoryBlock(), true });

    for (const auto& c : cases)
    {
        StateTree tree;
        change(tree);
        const auto before = tree.bank();
        const auto file = write(c.bank ? "case.fxb" : "case.fxp", c.data);
        const bool loaded = c.bank ? tree.root->loadBankFromFile(file)
                                   : tree.root->loadProgramFromFile(5, file);
        EXPECT_FALSE(loaded) << c.what;
        EXPECT_EQ(tree.bank(), before) << c.what;
    }

    StateTree tree;
    EXPECT_FALSE(tree.root->loadBankFromFile(folder.getChildFile("does-not-exist.fxb")));
    EXPECT_FALSE(tree.root->loadProgramFromFile(0, folder));
}

TEST_F(BankFiles, FilesOverTheSizeLimitAreRefusedBeforeReading)
{
    StateTree tree;
    const auto before = tree.bank();
    auto file = folder.getChildFile("huge.fxb");
    {
        juce::FileOutputStream out(file);
        ASSERT_TRUE(out.openedOk());
        ASSERT_TRUE(out.setPosition(ZylFx::kMaxFileSize));
        out.writeByte(0);
    }
    ASSERT_GT(file.getSize(), ZylFx::kMaxFileSize);
    EXPECT_FALSE(tree.root->loadBankFromFile(file));
    EXPECT_EQ(tree.bank(), before);
}
