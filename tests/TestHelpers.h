#pragma once

// Shared helpers for tests that need the JUCE message thread.

namespace zyltest
{
// Delivers every message waiting in the JUCE queue, including those posted while delivering, on
// the calling thread (which must be the message thread). Each round posts a sentinel and
// dispatches until the sentinel has run; rounds repeat until nothing more is pending.
void drainMessageQueue();
} // namespace zyltest
