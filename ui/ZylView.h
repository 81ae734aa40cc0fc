#pragma once

#include "ui/ZylViewBase.h"

#include <juce_gui_basics/juce_gui_basics.h>

// A view as a visible component. It owns its child components.
class ZylView : public ZylViewBase, public juce::Component
{
public:
    explicit ZylView(ZylEditor* editor);
    ~ZylView() override;

private:
    JUCE_DECLARE_NON_COPYABLE(ZylView)
};
