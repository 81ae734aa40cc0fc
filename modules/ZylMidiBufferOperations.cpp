#include "modules/ZylMidiBufferOperations.h"

#include <array>
#include <cstdint>

namespace
{
constexpr int kMaxChannelMessageBytes = 3;

bool isSystemMessage(const juce::uint8* data, int size)
{
    return size > 0 && data[0] >= 0xF0;
}
} // namespace

void copyMidiOnChannel(const juce::MidiBuffer& src, juce::MidiBuffer& dst, int channel,
                       int numSamples)
{
    for (const auto metadata : src)
    {
        if (metadata.samplePosition >= numSamples)
            break;
        const auto* data = metadata.data;
        const int size = metadata.numBytes;
        if (size <= 0)
            continue;
        if (isSystemMessage(data, size) || (data[0] & 0x0F) + 1 == channel)
            dst.addEvent(data, size, metadata.samplePosition);
    }
}

void copyMidiToChannel(const juce::MidiBuffer& src, juce::MidiBuffer& dst, int channel,
                       int numSamples)
{
    const auto channelBits = static_cast<juce::uint8>((juce::jlimit(1, 16, channel) - 1) & 0x0F);
    for (const auto metadata : src)
    {
        if (metadata.samplePosition >= numSamples)
            break;
        const auto* data = metadata.data;
        const int size = metadata.numBytes;
        if (size <= 0)
            continue;
        if (isSystemMessage(data, size) || size > kMaxChannelMessageBytes)
        {
            dst.addEvent(data, size, metadata.samplePosition);
            continue;
        }
        std::array<juce::uint8, kMaxChannelMessageBytes> bytes {};
        for (int i = 0; i < size; ++i)
            bytes[static_cast<size_t>(i)] = data[i];
        bytes[0] = static_cast<juce::uint8>((bytes[0] & 0xF0) | channelBits);
        dst.addEvent(bytes.data(), size, metadata.samplePosition);
    }
}

void addAllNotesOff(juce::MidiBuffer& dst)
{
    for (int channel = 1; channel <= 16; ++channel)
        dst.addEvent(juce::MidiMessage::allNotesOff(channel), 0);
}
