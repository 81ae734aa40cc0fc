#include "app/lumenfoldApplication.h"

// The program entry: JUCE's application start with lumenfoldApplication as its factory.
START_JUCE_APPLICATION(lumenfoldApplication)
