#pragma once

#include <juce_core/juce_core.h>

#include <vector>

// One diagnostic line ("unknown parameter id=%d" and the like). Lines go to the debugger output
// only; the user never sees them. Every diagnostic of the program goes through this function so
// that tests can capture them with ZylDebugCapture. Builds defining LUMENFOLD_QUIET_DEBUG_LINES
// (the fuzz builds, whose refused inputs would spend their time printing) hand lines to the
// captures only.
void zylDebugLine(const juce::String& line);

// One line for the user, about something the program could not do for them (a settings file it
// could not read, move aside or write): printed on the standard error stream on every system,
// where the terminal or the log of whatever started the program shows it, and recorded by the
// captures like a diagnostic line. Builds defining LUMENFOLD_QUIET_DEBUG_LINES hand it to the
// captures only.
void zylNoticeLine(const juce::String& line);

// While one of these exists, every diagnostic line is also recorded here (from any thread).
// Captures nest: the newest one receives the lines. They may be destroyed in any order.
class ZylDebugCapture
{
public:
    ZylDebugCapture();
    ~ZylDebugCapture();

    std::vector<juce::String> getLines() const;
    bool contains(const juce::String& line) const;
    void clear();

private:
    friend void zylDebugLine(const juce::String&);
    friend void zylNoticeLine(const juce::String&);
    // Hands the line to the newest capture, if any.
    static void recordInNewest(const juce::String& line);
    void record(const juce::String& line);

    ZylDebugCapture* previous = nullptr;
    mutable juce::CriticalSection lock;
    std::vector<juce::String> lines;

    JUCE_DECLARE_NON_COPYABLE(ZylDebugCapture)
};
