#pragma once

#include <juce_core/juce_core.h>

// What the module tree needs from whatever hosts it, so that the model never reaches up to the
// processor class: the plug-in processor implements it in the program, a stand-in in tests.
//
// - The callback lock is held by the audio thread for the whole block; every handler that
//   changes the tree takes it first in the lock order.
// - Suspending stops the block calls (the player outputs silence) until resumed; it takes the
//   callback lock, so it never overlaps a block.
// - notifyHostDisplayChanged tells the host to re-read what it shows (the program list and the
//   current program).
class ZylHostLink
{
public:
    virtual ~ZylHostLink() = default;

    virtual const juce::CriticalSection& getHostCallbackLock() const = 0;
    virtual bool isSuspended() const = 0;
    virtual void setSuspended(bool flag) = 0;
    virtual void notifyHostDisplayChanged() = 0;
};
