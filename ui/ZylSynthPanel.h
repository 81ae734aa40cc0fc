#pragma once

#include "ui/ZylParamPanel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class ZylSynthModule;

// The editor's "Synth" panel: the built-in synthesiser's gain knob between two gaps, with the
// synth icon in the icon column.
class ZylSynthPanel : public ZylParamPanel
{
public:
    static constexpr int kSynthModuleId = 8000;

    // The editor creates it 290 pixels wide.
    ZylSynthPanel(ZylEditor* owner, int width);
    ~ZylSynthPanel() override;

    // Module 8000 of the editor's tree; null when there is none.
    virtual ZylSynthModule* getSynthModule() const;

private:
    std::unique_ptr<juce::Drawable> icon;

    JUCE_DECLARE_NON_COPYABLE(ZylSynthPanel)
};
