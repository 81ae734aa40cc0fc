#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <chrono>
#include <functional>
#include <future>
#include <thread>
#include <utility>
#include <vector>

namespace zyltest
{
// The events of a MIDI buffer with their sample positions, in buffer order.
inline std::vector<std::pair<int, juce::MidiMessage>> eventsOf(const juce::MidiBuffer& buffer)
{
    std::vector<std::pair<int, juce::MidiMessage>> events;
    for (const auto metadata : buffer)
        events.emplace_back(metadata.samplePosition, metadata.getMessage());
    return events;
}

// Runs a port's close on another thread and keeps it half-way until release(): closeHook is the
// fake backend's hook that the close calls on its way (onInputStop, onOutputClose), with the
// device manager's lock taken.
class PortCloseHold
{
public:
    PortCloseHold(std::function<void()>& closeHook, std::function<void()> close)
        : hook(closeHook), released(letGo.get_future().share())
    {
        hook = [this] {
            closing.set_value();
            released.wait();
        };
        closer = std::thread(std::move(close));
        closing.get_future().wait();
    }

    PortCloseHold(const PortCloseHold&) = delete;
    PortCloseHold& operator=(const PortCloseHold&) = delete;

    ~PortCloseHold() { release(); }

    void release()
    {
        if (!closer.joinable())
            return;
        letGo.set_value();
        closer.join();
        hook = nullptr;
    }

private:
    std::function<void()>& hook;
    std::promise<void> closing;
    std::promise<void> letGo;
    std::shared_future<void> released;
    std::thread closer;
};

// Runs work (a block) on another thread, as the audio thread runs it, while the close is held;
// when it does not end within seconds the close is let go (so that the test ends) and the
// result is false.
inline bool endsWhileCloseHeld(PortCloseHold& hold, const std::function<void()>& work)
{
    auto run = std::async(std::launch::async, work);
    if (run.wait_for(std::chrono::seconds(3)) == std::future_status::ready)
        return true;
    hold.release();
    run.wait();
    return false;
}
} // namespace zyltest
