#pragma once

#include "ui/ZylPanel.h"

class ZylPianoView;
class ZylSpaceModule;

// The editor panel titled "Piano": the piano view centred in a viewport at its own size.
class ZylPianoPanel : public ZylPanel
{
public:
    explicit ZylPianoPanel(ZylEditor* editor);
    ~ZylPianoPanel() override;

    virtual ZylSpaceModule* getSpaceModule() const;
    // Owned by the panel's viewport.
    virtual ZylPianoView* getPianoView() const;

    // The panel listens to the space module but reacts to nothing.
    bool handleMessage(void* sender, int code, int timeMs) override;

private:
    ZylPianoView* pianoView = nullptr;
    ZylSpaceModule* spaceModule = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylPianoPanel)
};
