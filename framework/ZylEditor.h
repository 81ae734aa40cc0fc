#pragma once

#include "framework/ZylFilterLink.h"
#include "framework/ZylMessageSink.h"

#include <juce_audio_processors/juce_audio_processors.h>

class ZylFilter;

// The base of the processor's editor. It owns its child panels (they are deleted with it) and
// turns mouse-wheel movements anywhere over it into steps of the wheel-assigned parameter; the
// widgets pass their wheel events on to their parents so that they arrive here.
class ZylEditor : public juce::AudioProcessorEditor, public ZylMessageSink, public ZylFilterLink
{
public:
    // Smallest and largest size taken from the stored "editorWidth" and "editorHeight".
    static constexpr int kMinStoredSize = 1;
    static constexpr int kMaxStoredSize = 16384;

    // Sized from the root module's "editorWidth" and "editorHeight" properties (1 by 1 when they
    // are missing); the subclass normally resizes it afterwards.
    explicit ZylEditor(ZylFilter& owner);
    ~ZylEditor() override;

    // Wheel up selects the previous value, wheel down the next (see ZylParameter::applyWheelStep),
    // with the user's cause; horizontal movements do nothing.
    void mouseWheelMove(const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;

    // Hooks for the product editor.
    virtual void fitToContent();
    virtual void layoutPanels();

    // The editor itself ignores every message.
    void receiveMessage(void* sender, int code, int timeMs) override;
};
