#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

// Runs every test on the JUCE message thread. ScopedJuceInitialiser_GUI needs no display: a
// window is opened only by tests that ask for one (those run under xvfb-run).
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
