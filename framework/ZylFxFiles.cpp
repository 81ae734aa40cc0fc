#include "framework/ZylFxFiles.h"

#include <cstring>

namespace
{
std::uint32_t readBigEndian32(const std::uint8_t* p)
{
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16)
           | (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

void writeBigEndian32(std::uint8_t* p, std::uint32_t value)
{
    p[0] = static_cast<std::uint8_t>(value >> 24);
    p[1] = static_cast<std::uint8_t>(value >> 16);
    p[2] = static_cast<std::uint8_t>(value >> 8);
    p[3] = static_cast<std::uint8_t>(value);
}

bool readChunk(const void* data, std::size_t size, std::uint32_t kindMagic,
               std::size_t headerSize, std::size_t chunkSizeOffset, juce::MemoryBlock& chunk,
               std::uint32_t& pluginId, std::uint32_t& pluginVersion)
{
    if (data == nullptr || size < headerSize)
        return false;
    auto* bytes = static_cast<const std::uint8_t*>(data);
    if (readBigEndian32(bytes + ZylFx::kChunkMagicOffset) != ZylFx::kChunkMagic
        || readBigEndian32(bytes + ZylFx::kKindMagicOffset) != kindMagic)
        return false;

    const std::uint64_t chunkSize = readBigEndian32(bytes + chunkSizeOffset);
    if (chunkSize > size - headerSize)
        return false;

    chunk.setSize(static_cast<std::size_t>(chunkSize), false);
    if (chunkSize > 0)
        chunk.copyFrom(bytes + headerSize, 0, static_cast<std::size_t>(chunkSize));
    pluginId = readBigEndian32(bytes + ZylFx::kPluginIdOffset);
    pluginVersion = readBigEndian32(bytes + ZylFx::kPluginVersionOffset);
    return true;
}

juce::MemoryBlock makeFile(const juce::MemoryBlock& chunk, std::uint32_t kindMagic,
                           std::size_t headerSize, std::size_t chunkSizeOffset,
                           std::uint32_t pluginId, std::uint32_t count)
{
    juce::MemoryBlock file(headerSize + chunk.getSize(), true);
    auto* bytes = static_cast<std::uint8_t*>(file.getData());
    const auto chunkSize = static_cast<std::uint32_t>(chunk.getSize());
    const auto byteSize =
        static_cast<std::uint32_t>(headerSize - ZylFx::kByteSizeFieldEnd) + chunkSize;

    writeBigEndian32(bytes + ZylFx::kChunkMagicOffset, ZylFx::kChunkMagic);
    writeBigEndian32(bytes + ZylFx::kByteSizeOffset, byteSize);
    writeBigEndian32(bytes + ZylFx::kKindMagicOffset, kindMagic);
    writeBigEndian32(bytes + ZylFx::kFormatVersionOffset, ZylFx::kFormatVersion);
    writeBigEndian32(bytes + ZylFx::kPluginIdOffset, pluginId);
    writeBigEndian32(bytes + ZylFx::kPluginVersionOffset, ZylFx::kPluginVersion);
    writeBigEndian32(bytes + ZylFx::kCountOffset, count);
    writeBigEndian32(bytes + chunkSizeOffset, chunkSize);
    if (chunkSize > 0)
        std::memcpy(bytes + headerSize, chunk.getData(), chunk.getSize());
    return file;
}
} // namespace

bool readFxbChunk(const void* data, std::size_t size, juce::MemoryBlock& chunk,
                  std::uint32_t& pluginId, std::uint32_t& pluginVersion)
{
    return readChunk(data, size, ZylFx::kBankChunkMagic, ZylFx::kBankHeaderSize,
                     ZylFx::kBankChunkSizeOffset, chunk, pluginId, pluginVersion);
}

bool readFxbChunk(const juce::MemoryBlock& fileData, juce::MemoryBlock& chunk,
                  std::uint32_t& pluginId, std::uint32_t& pluginVersion)
{
    return readFxbChunk(fileData.getData(), fileData.getSize(), chunk, pluginId, pluginVersion);
}

bool readFxpChunk(const void* data, std::size_t size, juce::MemoryBlock& chunk,
                  std::uint32_t& pluginId, std::uint32_t& pluginVersion)
{
    return readChunk(data, size, ZylFx::kProgramChunkMagic, ZylFx::kProgramHeaderSize,
                     ZylFx::kProgramChunkSizeOffset, chunk, pluginId, pluginVersion);
}

bool readFxpChunk(const juce::MemoryBlock& fileData, juce::MemoryBlock& chunk,
                  std::uint32_t& pluginId, std::uint32_t& pluginVersion)
{
    return readFxpChunk(fileData.getData(), fileData.getSize(), chunk, pluginId, pluginVersion);
}

juce::MemoryBlock makeFxbFile(const juce::MemoryBlock& chunk, std::uint32_t pluginId)
{
    return makeFile(chunk, ZylFx::kBankChunkMagic, ZylFx::kBankHeaderSize,
                    ZylFx::kBankChunkSizeOffset, pluginId, ZylFx::kBankHeaderProgramCount);
}

juce::MemoryBlock makeFxpFile(const juce::MemoryBlock& chunk, std::uint32_t pluginId,
                              const juce::String& programName)
{
    auto file = makeFile(chunk, ZylFx::kProgramChunkMagic, ZylFx::kProgramHeaderSize,
                         ZylFx::kProgramChunkSizeOffset, pluginId,
                         ZylFx::kProgramHeaderParameterCount);
    writeFxpProgramName(programName,
                        static_cast<std::uint8_t*>(file.getData()) + ZylFx::kProgramNameOffset);
    return file;
}

void writeFxpProgramName(const juce::String& name, std::uint8_t* field)
{
    std::memset(field, ' ', ZylFx::kProgramNameSize);
    std::size_t used = 0;
    for (auto p = name.getCharPointer(); !p.isEmpty();)
    {
        auto* start = p.getAddress();
        p.getAndAdvance();
        const auto length = static_cast<std::size_t>(p.getAddress() - start);
        if (used + length > ZylFx::kProgramNameSize)
            break;
        std::memcpy(field + used, start, length);
        used += length;
    }
}
