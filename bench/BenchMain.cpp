#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

// The vocabularies are framework domains; JUCE is initialised as in the program so that they
// behave as they do there.
int main(int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
