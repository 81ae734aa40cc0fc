#pragma once

#include "ui/ZylParamPanel.h"

#include <memory>

class ZylChordView;
class ZylSpaceModule;

// The editor panel titled "Space": the combos of the space module's ten parameters in rows, with
// the chord view after Scale.
class ZylSpacePanel : public ZylParamPanel
{
public:
    static constexpr int kLabelWidth = 45;
    static constexpr int kBoxWidth = 140;

    explicit ZylSpacePanel(ZylEditor* editor);
    ~ZylSpacePanel() override;

    virtual ZylSpaceModule* getSpaceModule() const;

    ZylChordView* getChordView() const noexcept { return chordView; }

private:
    std::unique_ptr<juce::Drawable> icon;
    ZylChordView* chordView = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylSpacePanel)
};
