#include "ui/ZylSpacer.h"

ZylSpacer::ZylSpacer(int width, int height, bool breakAfter)
    : ZylPanel(nullptr, {}, width, height, breakAfter)
{
}

void ZylSpacer::paint(juce::Graphics& /*g*/)
{
}

void ZylSpacer::paintOverChildren(juce::Graphics& /*g*/)
{
}
