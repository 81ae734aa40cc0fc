#include "framework/ZylFxFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{
constexpr std::uint32_t kTestPluginId = ZylFx::makeFourCC('Q', 'V', '0', '2');

juce::MemoryBlock chunkOf(const std::string& text)
{
    juce::MemoryBlock chunk(text.data(), text.size());
    chunk.append("\0", 1);
    return chunk;
}

std::uint32_t be32(const juce::MemoryBlock& block, size_t offset)
{
    auto* p = static_cast<const std::uint8_t*>(block.getData()) + offset;
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8)
           | std::uint32_t(p[3]);
}

std::string bytesAt(const juce::MemoryBlock& block, size_t offset, size_t size)
{
    return std::string(static_cast<const char*>(block.getData()) + offset, size);
}
} // namespace

TEST(ZylFxFiles, BankHeaderIsBigEndianWithTheStatedFields)
{
    const auto chunk = chunkOf("<fxb/>");
    const auto file = makeFxbFile(chunk, kTestPluginId);

    ASSERT_EQ(file.getSize(), 160u + chunk.getSize());
    EXPECT_EQ(bytesAt(file, 0, 4), "CcnK");
    EXPECT_EQ(be32(file, 4), chunk.getSize() + 152);
    EXPECT_EQ(bytesAt(file, 8, 4), "FBCh");
    EXPECT_EQ(be32(file, 12), 1u);
    EXPECT_EQ(bytesAt(file, 16, 4), "QV02");
    EXPECT_EQ(be32(file, 20), 1u);
    EXPECT_EQ(be32(file, 24), 8u);
    EXPECT_EQ(bytesAt(file, 28, 128), std::string(128, '\0'));
    EXPECT_EQ(be32(file, 156), chunk.getSize());
    EXPECT_EQ(bytesAt(file, 160, chunk.getSize()), bytesAt(chunk, 0, chunk.getSize()));
}

TEST(ZylFxFiles, ProgramHeaderCarriesTheSpacePaddedName)
{
    const auto chunk = chunkOf("<fxp/>");
    const auto file = makeFxpFile(chunk, kTestPluginId, "Init");

    ASSERT_EQ(file.getSize(), 60u + chunk.getSize());
    EXPECT_EQ(bytesAt(file, 0, 4), "CcnK");
    EXPECT_EQ(be32(file, 4), chunk.getSize() + 52);
    EXPECT_EQ(bytesAt(file, 8, 4), "FPCh");
    EXPECT_EQ(be32(file, 12), 1u);
    EXPECT_EQ(bytesAt(file, 16, 4), "QV02");
    EXPECT_EQ(be32(file, 20), 1u);
    EXPECT_EQ(be32(file, 24), 1u);
    EXPECT_EQ(bytesAt(file, 28, 28), "Init" + std::string(24, ' '));
    EXPECT_EQ(be32(file, 56), chunk.getSize());
    EXPECT_EQ(bytesAt(file, 60, chunk.getSize()), bytesAt(chunk, 0, chunk.getSize()));
}

TEST(ZylFxFiles, ProgramNameFieldTakesWholeUtf8CharactersOnly)
{
    struct Case
    {
        const char* utf8Name;
        std::string field;
    };
    const Case cases[] = {
        { "", std::string(28, ' ') },
        { "abcdefghijklmnopqrstuvwxyz0123", "abcdefghijklmnopqrstuvwxyz01" },
        // 27 ASCII bytes and a two-byte character: the character does not fit and is left out.
        { "abcdefghijklmnopqrstuvwxyz0\xc3\xa9", "abcdefghijklmnopqrstuvwxyz0 " },
        { "abcdefghijklmnopqrstuvwxy\xc3\xa9z", "abcdefghijklmnopqrstuvwxy\xc3\xa9z" },
        { "\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac"
          "\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac",
          "\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac"
          "\xe2\x82\xac\xe2\x82\xac " },
    };
    for (const auto& c : cases)
    {
        std::uint8_t field[28];
        writeFxpProgramName(juce::String(juce::CharPointer_UTF8(c.utf8Name)), field);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(field), 28), c.field) << c.utf8Name;
    }
}

TEST(ZylFxFiles, ChunkReadersReturnTheChunkIdAndVersion)
{
    const auto chunk = chunkOf("<fxb><mod/></fxb>");
    juce::MemoryBlock out;
    std::uint32_t id = 0, version = 0;

    ASSERT_TRUE(readFxbChunk(makeFxbFile(chunk, 0x01020304u), out, id, version));
    EXPECT_EQ(out, chunk);
    EXPECT_EQ(id, 0x01020304u);
    EXPECT_EQ(version, 1u);

    out.reset();
    ASSERT_TRUE(readFxpChunk(makeFxpFile(chunk, kTestPluginId, "x"), out, id, version));
    EXPECT_EQ(out, chunk);
    EXPECT_EQ(id, kTestPluginId);
}

TEST(ZylFxFiles, ChunkReadersRefuseBadHeadersAndTouchNothing)
{
    const auto chunk = chunkOf("<fxb/>");
    const auto bank = makeFxbFile(chunk, kTestPluginId);
    const auto program = makeFxpFile(chunk, kTestPluginId, "p");

    auto withByte = [](juce::MemoryBlock block, size_t offset, std::uint8_t value) {
        static_cast<std::uint8_t*>(block.getData())[offset] = value;
        return block;
    };
    auto truncated = [](const juce::MemoryBlock& block, size_t size) {
        return juce::MemoryBlock(block.getData(), size);
    };

    struct Case
    {
        const char* what;
        juce::MemoryBlock data;
        bool bank;
    };
    const Case cases[] = {
        { "empty bank", {}, true },
        { "bank shorter than its header", truncated(bank, 159), true },
        { "bank cut inside the chunk", truncated(bank, bank.getSize() - 1), true },
        { "bank chunk size past the data", withByte(bank, 156, 0x7f), true },
        { "bank with wrong chunk magic", withByte(bank, 0, 'X'), true },
        { "bank with wrong kind magic", withByte(bank, 9, 'P'), true },
        { "program file given as bank", program, true },
        { "empty program", {}, false },
        { "program shorter than its header", truncated(program, 59), false },
        { "program chunk size past the data", withByte(program, 59, 0xff), false },
        { "program with wrong kind magic", withByte(program, 8, 'X'), false },
        { "bank file given as program", bank, false },
    };
    for (const auto& c : cases)
    {
        juce::MemoryBlock out("untouched", 9);
        std::uint32_t id = 77, version = 88;
        const bool read = c.bank ? readFxbChunk(c.data, out, id, version)
                                 : readFxpChunk(c.data, out, id, version);
        EXPECT_FALSE(read) << c.what;
        EXPECT_EQ(out, juce::MemoryBlock("untouched", 9)) << c.what;
        EXPECT_EQ(id, 77u) << c.what;
        EXPECT_EQ(version, 88u) << c.what;
    }
}

TEST(ZylFxFiles, HeaderOnlyFileWithZeroChunkSizeYieldsAnEmptyChunk)
{
    const auto file = makeFxbFile({}, kTestPluginId);
    ASSERT_EQ(file.getSize(), 160u);
    juce::MemoryBlock out("x", 1);
    std::uint32_t id = 0, version = 0;
    EXPECT_TRUE(readFxbChunk(file, out, id, version));
    EXPECT_EQ(out.getSize(), 0u);
}
