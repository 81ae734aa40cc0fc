#pragma once

#include "modules/ZylSamplerSound.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_audio_formats/juce_audio_formats.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

// Helpers for the synthesiser tests: samples from buffers, sound-bank archives in memory and a
// pitch estimate of rendered audio.
namespace zyltest
{
// A 32-bit float WAV of the buffer, in memory.
juce::MemoryBlock makeWav(const juce::AudioSampleBuffer& buffer, double sampleRate);

// A reader over the buffer's samples (through a float WAV in memory).
std::unique_ptr<juce::AudioFormatReader> makeReader(const juce::AudioSampleBuffer& buffer,
                                                    double sampleRate);

// A sampler sound holding the buffer.
ZylSamplerSound::Ptr makeSound(const juce::AudioSampleBuffer& buffer, double sampleRate,
                               int firstNote, int lastNote, int rootNote, double attackSeconds,
                               double releaseSeconds, bool loop, double maxSeconds = 0.0);

// A zip archive holding the entries in order.
juce::MemoryBlock makeZip(const std::vector<std::pair<std::string, juce::MemoryBlock>>& entries);

juce::MemoryBlock textBlock(const std::string& text);

// The frequency of the strongest spectral peak of the channel between low and high Hz.
double estimateFrequency(const juce::AudioSampleBuffer& buffer, int channel, double sampleRate,
                         double low, double high);
} // namespace zyltest
