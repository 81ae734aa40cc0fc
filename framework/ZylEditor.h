#pragma once

#include "framework/ZylFilterLink.h"
#include "framework/ZylMessageSink.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <vector>

class ZylFilter;

// The base of the processor's editor. It deletes the children handed to addOwnedChild when it
// goes, and only those: a child that a subclass holds as a member, or that someone else owns,
// is left to its owner. It turns mouse-wheel movements anywhere over it into steps of the wheel-assigned parameter; the
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

    // Adds child as a visible child that the editor owns; returns it.
    template <class ComponentType>
    ComponentType* addOwnedChild(std::unique_ptr<ComponentType> child)
    {
        auto* raw = child.get();
        addAndMakeVisible(raw);
        ownedChildren.push_back(std::unique_ptr<juce::Component>(child.release()));
        return raw;
    }

    // Wheel up selects the previous value, wheel down the next (see ZylParameter::applyWheelStep),
    // with the user's cause; horizontal movements do nothing.
    void mouseWheelMove(const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;

    // Hooks for the product editor.
    virtual void fitToContent();
    virtual void layoutPanels();

    // The editor itself ignores every message.
    void receiveMessage(void* sender, int code, int timeMs) override;

private:
    std::vector<std::unique_ptr<juce::Component>> ownedChildren;
};
