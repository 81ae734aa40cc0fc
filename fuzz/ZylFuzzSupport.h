#pragma once

#include "tests/framework/ZylStateTestTree.h"

#include <cstddef>
#include <cstdint>

// Shared by the loader fuzz targets. Each input is loaded into a fresh module tree shaped like
// the product's (program module, a leaf with list, typed-number and name parameters and a child
// with an "ext" element); the messages the load posts are delivered before the next input.
//
// Besides the sanitizers, every target checks the loaders' own promises and aborts when one is
// broken: a refused load leaves every parameter, program name, property and "ext" text as it
// was, and an accepted one saves a state that loads again into a fresh tree and saves to the same
// bytes.
namespace zylfuzz
{
// Creates the message manager on the calling thread (once).
void initialise();

// Delivers every pending message.
void deliverMessages();

// Loads the data as a bank (program < 0) or into that program, then checks the promises above.
void loadAndCheck(const std::uint8_t* data, std::size_t size, int program);

// Byte equality that also holds for two empty blocks.
bool sameBytes(const juce::MemoryBlock& a, const juce::MemoryBlock& b);

[[noreturn]] void fail(const char* what);
} // namespace zylfuzz
