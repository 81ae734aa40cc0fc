#pragma once

#include "ui/ZylPanel.h"

class ZylGridView;

// The editor panel titled "Grid": the grid view in a scrolling viewport that fills the panel.
class ZylGridPanel : public ZylPanel
{
public:
    explicit ZylGridPanel(ZylEditor* editor);
    ~ZylGridPanel() override;

    // Owned by the panel's viewport.
    virtual ZylGridView* getSpaceView() const;

private:
    ZylGridView* gridView = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylGridPanel)
};
