#include "framework/ZylDebug.h"

#include <algorithm>
#include <iostream>

namespace
{
juce::CriticalSection& captureLock()
{
    static juce::CriticalSection lock;
    return lock;
}

ZylDebugCapture*& currentCapture()
{
    static ZylDebugCapture* capture = nullptr;
    return capture;
}
} // namespace

void zylDebugLine(const juce::String& line)
{
    ZylDebugCapture::recordInNewest(line);
#if ! LUMENFOLD_QUIET_DEBUG_LINES
    juce::Logger::outputDebugString(line);
#endif
}

void zylNoticeLine(const juce::String& line)
{
    ZylDebugCapture::recordInNewest(line);
#if ! LUMENFOLD_QUIET_DEBUG_LINES
    std::cerr << line.toStdString() << std::endl;
#endif
}

ZylDebugCapture::ZylDebugCapture()
{
    const juce::ScopedLock sl(captureLock());
    previous = currentCapture();
    currentCapture() = this;
}

ZylDebugCapture::~ZylDebugCapture()
{
    // Captures form a chain from the newest to the oldest. One destroyed out of order is
    // unlinked where it stands, so that no capture is left pointing at it.
    const juce::ScopedLock sl(captureLock());
    for (auto** link = &currentCapture(); *link != nullptr; link = &(*link)->previous)
    {
        if (*link == this)
        {
            *link = previous;
            break;
        }
    }
}

std::vector<juce::String> ZylDebugCapture::getLines() const
{
    const juce::ScopedLock sl(lock);
    return lines;
}

bool ZylDebugCapture::contains(const juce::String& line) const
{
    const juce::ScopedLock sl(lock);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

void ZylDebugCapture::clear()
{
    const juce::ScopedLock sl(lock);
    lines.clear();
}

void ZylDebugCapture::recordInNewest(const juce::String& line)
{
    const juce::ScopedLock sl(captureLock());
    if (auto* capture = currentCapture())
        capture->record(line);
}

void ZylDebugCapture::record(const juce::String& line)
{
    const juce::ScopedLock sl(lock);
    lines.push_back(line);
}
