#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// The input layout of the MIDI fuzz target, shared by the target (which reads it) and the seed
// writer (which writes recorded blocks in it).
//
//   byte 0      bit 0: the source (0 the host, 1 the input port); the other bits pick the space
//               module's trigger mode
//   byte 1      the input's channel setting, modulo 17 (0 every channel, 1..16 one channel)
//   then blocks, each:
//     size byte   the block lasts 1 + 4 * size samples (1..1021, past the prepared 512)
//     count byte  that many events follow
//     per event   a time byte (placed over the block and a little past its end), a length byte
//                 (bit 7 set: 1 + the low 7 bits, up to 128 bytes; else 1 + the low 2 bits) and
//                 the event's bytes; the data may end inside an event, which is then shorter
namespace zylfuzzmidi
{
constexpr int kSizeStep = 4;
// Events may lie this many samples past the block's end (a host may send them there).
constexpr int kLateSamples = 16;

struct Event
{
    int position = 0;
    std::vector<std::uint8_t> bytes;
};

struct Block
{
    int numSamples = 1;
    std::vector<Event> events;
};

struct Input
{
    bool fromPort = false;
    int triggerChoice = 0;
    int channel = 0;
    std::vector<Block> blocks;
};

inline int blockSamplesOf(std::uint8_t sizeByte)
{
    return 1 + kSizeStep * sizeByte;
}

inline int eventPositionOf(std::uint8_t timeByte, int numSamples)
{
    return timeByte * (numSamples + kLateSamples) / 256;
}

inline std::size_t eventLengthOf(std::uint8_t lengthByte)
{
    return (lengthByte & 0x80) != 0 ? 1u + (lengthByte & 0x7Fu) : 1u + (lengthByte & 0x03u);
}

// Reads an input; false when it is too short to pick a source and a channel.
inline bool readInput(const std::uint8_t* data, std::size_t size, Input& input)
{
    if (size < 2)
        return false;
    input = Input();
    input.fromPort = (data[0] & 1) != 0;
    input.triggerChoice = data[0] >> 1;
    input.channel = data[1] % 17;
    std::size_t at = 2;
    while (at + 2 <= size)
    {
        Block block;
        block.numSamples = blockSamplesOf(data[at]);
        const int count = data[at + 1];
        at += 2;
        for (int i = 0; i < count && at + 2 <= size; ++i)
        {
            Event event;
            event.position = eventPositionOf(data[at], block.numSamples);
            const auto length = eventLengthOf(data[at + 1]);
            at += 2;
            const auto available = juce::jmin(length, size - at);
            event.bytes.assign(data + at, data + at + available);
            at += available;
            if (!event.bytes.empty())
                block.events.push_back(std::move(event));
        }
        input.blocks.push_back(std::move(block));
    }
    return true;
}

// Writes the header of an input.
inline void writeHeader(std::vector<std::uint8_t>& out, bool fromPort, int triggerChoice,
                        int channel)
{
    out.push_back(static_cast<std::uint8_t>((triggerChoice << 1) | (fromPort ? 1 : 0)));
    out.push_back(static_cast<std::uint8_t>(channel));
}

// Writes a block of 1 + 4 * sizeByte samples with the events of the buffer that fit the layout
// (at most 255; positions rounded down to the time byte's steps).
inline void writeBlock(std::vector<std::uint8_t>& out, std::uint8_t sizeByte,
                       const juce::MidiBuffer& events)
{
    const int numSamples = blockSamplesOf(sizeByte);
    out.push_back(sizeByte);
    const auto countAt = out.size();
    out.push_back(0);
    int count = 0;
    for (const auto metadata : events)
    {
        if (count == 255 || metadata.numBytes <= 0 || metadata.numBytes > 128)
            continue;
        const int time = juce::jlimit(0, 255, metadata.samplePosition * 256 / (numSamples + kLateSamples));
        out.push_back(static_cast<std::uint8_t>(time));
        out.push_back(metadata.numBytes <= 4 ? static_cast<std::uint8_t>(metadata.numBytes - 1)
                                             : static_cast<std::uint8_t>(0x80 | (metadata.numBytes - 1)));
        out.insert(out.end(), metadata.data, metadata.data + metadata.numBytes);
        ++count;
    }
    out[countAt] = static_cast<std::uint8_t>(count);
}
} // namespace zylfuzzmidi
