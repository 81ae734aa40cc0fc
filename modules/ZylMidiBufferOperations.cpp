#include "modules/ZylMidiBufferOperations.h"

#include <array>
#include <climits>
#include <cstdint>
#include <cstring>

namespace
{
constexpr int kMaxChannelMessageBytes = 3;
// Bytes in front of each event in a juce::MidiBuffer: the int32 position, the uint16 size.
constexpr int kEventHeaderBytes = static_cast<int>(sizeof(std::int32_t) + sizeof(std::uint16_t));

bool isSystemMessage(const juce::uint8* data, int size)
{
    return size > 0 && data[0] >= 0xF0;
}

// Adds events to a buffer as juce::MidiBuffer::addEvent does (after every event at the same or
// an earlier position), in constant time for an event at or after the last one. addEvent walks
// the buffer from its start each time, which made a block of n events cost n * n / 2 steps.
// The events come from another juce::MidiBuffer, so their sizes are already the ones addEvent
// would store.
class OrderedAppender
{
public:
    explicit OrderedAppender(juce::MidiBuffer& target)
        : dst(target), lastPosition(target.isEmpty() ? INT_MIN : target.getLastEventTime())
    {
    }

    void add(const juce::uint8* data, int size, int position)
    {
        if (size <= 0 || size > 0xFFFF || data[0] < 0x80)
        {
            dst.addEvent(data, size, position); // stores nothing, as before
            return;
        }
        if (position < lastPosition)
        {
            // Only when dst held later events before the copy: the general insertion.
            dst.addEvent(data, size, position);
            return;
        }
        // The layout juce::MidiBuffer's own addEvent writes; a test compares the bytes.
        auto& bytes = dst.data;
        const int offset = bytes.size();
        bytes.insertMultiple(offset, 0, kEventHeaderBytes + size);
        auto* place = bytes.begin() + offset;
        juce::writeUnaligned<std::int32_t>(place, position);
        juce::writeUnaligned<std::uint16_t>(place + sizeof(std::int32_t),
                                            static_cast<std::uint16_t>(size));
        std::memcpy(place + kEventHeaderBytes, data, static_cast<size_t>(size));
        lastPosition = position;
    }

private:
    juce::MidiBuffer& dst;
    int lastPosition;
};
} // namespace

void copyMidiEvents(const juce::MidiBuffer& src, juce::MidiBuffer& dst, int fromSample,
                    int toSample, int sampleDelta)
{
    OrderedAppender out(dst);
    for (auto it = src.findNextSamplePosition(fromSample); it != src.cend(); ++it)
    {
        const auto metadata = *it;
        if (metadata.samplePosition >= toSample)
            break;
        out.add(metadata.data, metadata.numBytes, metadata.samplePosition + sampleDelta);
    }
}

void copyMidiOnChannel(const juce::MidiBuffer& src, juce::MidiBuffer& dst, int channel,
                       int numSamples)
{
    OrderedAppender out(dst);
    for (const auto metadata : src)
    {
        if (metadata.samplePosition >= numSamples)
            break;
        const auto* data = metadata.data;
        const int size = metadata.numBytes;
        if (size <= 0)
            continue;
        if (isSystemMessage(data, size) || (data[0] & 0x0F) + 1 == channel)
            out.add(data, size, metadata.samplePosition);
    }
}

void copyMidiToChannel(const juce::MidiBuffer& src, juce::MidiBuffer& dst, int channel,
                       int numSamples)
{
    const auto channelBits = static_cast<juce::uint8>((juce::jlimit(1, 16, channel) - 1) & 0x0F);
    OrderedAppender out(dst);
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
            out.add(data, size, metadata.samplePosition);
            continue;
        }
        std::array<juce::uint8, kMaxChannelMessageBytes> bytes {};
        for (int i = 0; i < size; ++i)
            bytes[static_cast<size_t>(i)] = data[i];
        bytes[0] = static_cast<juce::uint8>((bytes[0] & 0xF0) | channelBits);
        out.add(bytes.data(), size, metadata.samplePosition);
    }
}

void addAllNotesOff(juce::MidiBuffer& dst)
{
    for (int channel = 1; channel <= 16; ++channel)
        dst.addEvent(juce::MidiMessage::allNotesOff(channel), 0);
}
