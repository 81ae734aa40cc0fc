#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <cstdint>

// Bank (".fxb") and program (".fxp") files: a fixed big-endian header followed by the state text
// as an opaque chunk. All 32-bit header fields are unsigned and big-endian.
//
// Bank header:    0 "CcnK", 4 byte size (chunk size + 152), 8 "FBCh", 12 format version 1,
//                 16 plug-in id, 20 plug-in version 1, 24 program count 8, 28 128 zero bytes,
//                 156 chunk size, 160 chunk.
// Program header: 0 "CcnK", 4 byte size (chunk size + 52), 8 "FPCh", 12 format version 1,
//                 16 plug-in id, 20 plug-in version 1, 24 parameter count 1, 28 program name
//                 (28 bytes, space-padded, no terminator), 56 chunk size, 60 chunk.

namespace ZylFx
{
constexpr std::uint32_t makeFourCC(char a, char b, char c, char d)
{
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24)
           | (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16)
           | (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8)
           | static_cast<std::uint32_t>(static_cast<unsigned char>(d));
}

constexpr std::uint32_t kChunkMagic = makeFourCC('C', 'c', 'n', 'K');
constexpr std::uint32_t kBankChunkMagic = makeFourCC('F', 'B', 'C', 'h');
constexpr std::uint32_t kProgramChunkMagic = makeFourCC('F', 'P', 'C', 'h');

constexpr std::uint32_t kFormatVersion = 1;
constexpr std::uint32_t kPluginVersion = 1;
// The program count the bank header states; the chunk itself holds all 128 programs.
constexpr std::uint32_t kBankHeaderProgramCount = 8;
constexpr std::uint32_t kProgramHeaderParameterCount = 1;

constexpr std::size_t kBankHeaderSize = 160;
constexpr std::size_t kProgramHeaderSize = 60;
// The byte size field counts everything after itself.
constexpr std::size_t kByteSizeFieldEnd = 8;

constexpr std::size_t kChunkMagicOffset = 0;
constexpr std::size_t kByteSizeOffset = 4;
constexpr std::size_t kKindMagicOffset = 8;
constexpr std::size_t kFormatVersionOffset = 12;
constexpr std::size_t kPluginIdOffset = 16;
constexpr std::size_t kPluginVersionOffset = 20;
constexpr std::size_t kCountOffset = 24;
constexpr std::size_t kProgramNameOffset = 28;
constexpr std::size_t kProgramNameSize = 28;
constexpr std::size_t kBankChunkSizeOffset = 156;
constexpr std::size_t kProgramChunkSizeOffset = 56;

// Files larger than this are refused before they are read.
constexpr juce::int64 kMaxFileSize = 64 * 1024 * 1024;
} // namespace ZylFx

// Reads the chunk of a bank file held in memory. False, touching nothing, when the data is
// shorter than the header, the magic words are not "CcnK" and "FBCh", or the chunk size is larger
// than the data after the header. Otherwise the chunk block receives the chunk, the plug-in id and
// version (host byte order) are stored, and the result is true.
bool readFxbChunk(const void* data, std::size_t size, juce::MemoryBlock& chunk,
                  std::uint32_t& pluginId, std::uint32_t& pluginVersion);
bool readFxbChunk(const juce::MemoryBlock& fileData, juce::MemoryBlock& chunk,
                  std::uint32_t& pluginId, std::uint32_t& pluginVersion);

// The same for a program file ("FPCh").
bool readFxpChunk(const void* data, std::size_t size, juce::MemoryBlock& chunk,
                  std::uint32_t& pluginId, std::uint32_t& pluginVersion);
bool readFxpChunk(const juce::MemoryBlock& fileData, juce::MemoryBlock& chunk,
                  std::uint32_t& pluginId, std::uint32_t& pluginVersion);

// The whole bank file: header and chunk in one zeroed block.
juce::MemoryBlock makeFxbFile(const juce::MemoryBlock& chunk, std::uint32_t pluginId);

// The whole program file, the program's name in its header.
juce::MemoryBlock makeFxpFile(const juce::MemoryBlock& chunk, std::uint32_t pluginId,
                              const juce::String& programName);

// Fills the 28-byte name field: the longest run of whole UTF-8 characters of the name that fits,
// then spaces. A character is never cut in the middle.
void writeFxpProgramName(const juce::String& name, std::uint8_t* field);
