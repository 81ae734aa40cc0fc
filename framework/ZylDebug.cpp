#include "framework/ZylDebug.h"

#include <algorithm>

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
    {
        const juce::ScopedLock sl(captureLock());
        if (auto* capture = currentCapture())
            capture->record(line);
    }
    juce::Logger::outputDebugString(line);
}

ZylDebugCapture::ZylDebugCapture()
{
    const juce::ScopedLock sl(captureLock());
    previous = currentCapture();
    currentCapture() = this;
}

ZylDebugCapture::~ZylDebugCapture()
{
    const juce::ScopedLock sl(captureLock());
    if (currentCapture() == this)
        currentCapture() = previous;
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

void ZylDebugCapture::record(const juce::String& line)
{
    const juce::ScopedLock sl(lock);
    lines.push_back(line);
}
