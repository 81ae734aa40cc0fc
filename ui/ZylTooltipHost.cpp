#include "ui/ZylTooltipHost.h"

ZylTooltipHost::ZylTooltipHost(juce::Component& treeToWatch, int rest)
    : tree(treeToWatch), restMs(rest)
{
    tree.addMouseListener(this, true);
    juce::Desktop::getInstance().addFocusChangeListener(this);
    userActed();
}

ZylTooltipHost::~ZylTooltipHost()
{
    stopTimer();
    juce::Desktop::getInstance().removeFocusChangeListener(this);
    tree.removeMouseListener(this);
    window.reset();
}

juce::TooltipWindow* ZylTooltipHost::getWindow() const noexcept
{
    return window.get();
}

void ZylTooltipHost::pointerRested()
{
    stopTimer();
    if (window == nullptr)
        return;
    if (window->isVisible() || juce::Component::getCurrentlyModalComponent() != nullptr)
    {
        startTimer(restMs);
        return;
    }
    window.reset();
}

void ZylTooltipHost::userActed()
{
    if (window == nullptr)
        window = std::make_unique<juce::TooltipWindow>();
    startTimer(restMs);
}

void ZylTooltipHost::timerCallback()
{
    pointerRested();
}

void ZylTooltipHost::mouseMove(const juce::MouseEvent&) { userActed(); }
void ZylTooltipHost::mouseEnter(const juce::MouseEvent&) { userActed(); }
void ZylTooltipHost::mouseExit(const juce::MouseEvent&) { userActed(); }
void ZylTooltipHost::mouseDown(const juce::MouseEvent&) { userActed(); }
void ZylTooltipHost::mouseDrag(const juce::MouseEvent&) { userActed(); }
void ZylTooltipHost::mouseUp(const juce::MouseEvent&) { userActed(); }
void ZylTooltipHost::mouseDoubleClick(const juce::MouseEvent&) { userActed(); }
void ZylTooltipHost::mouseWheelMove(const juce::MouseEvent&, const juce::MouseWheelDetails&) { userActed(); }
void ZylTooltipHost::mouseMagnify(const juce::MouseEvent&, float) { userActed(); }
void ZylTooltipHost::globalFocusChanged(juce::Component*) { userActed(); }
