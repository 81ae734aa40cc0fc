#pragma once

#include <string>

class ZylChordValue;

// The list of chords that chord ranking tries on a root.
class ZylChordEnumerator
{
public:
    virtual ~ZylChordEnumerator() = default;

    virtual int getNumChords() = 0;
    // Null when the index is not below getNumChords().
    virtual ZylChordValue* getChord(int index) = 0;
    // Identifies the current chord list; part of the ranking cache key.
    virtual const std::string& getEnumeratorKey() = 0;
};
