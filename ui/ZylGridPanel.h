#pragma once

#include "ui/ZylPanel.h"

class ZylGridView;

// The editor panel titled "Grid": the grid view in a scrolling viewport that fills the panel.
// Whenever the view or the viewport changes size (a new space, a new zoom, the editor's layout)
// the viewport scrolls so that middle C sits in the middle of what it shows: most grids are far
// larger than the panel, and their top corner holds only the highest notes.
class ZylGridPanel : public ZylPanel, private juce::ComponentListener
{
public:
    explicit ZylGridPanel(ZylEditor* editor);
    ~ZylGridPanel() override;

    // Owned by the panel's viewport.
    virtual ZylGridView* getSpaceView() const;

    // The note the viewport centres on.
    static constexpr int kCentredNote = 60;

    // Scrolls the viewport so that the shown cell of kCentredNote nearest the view's middle is in
    // its middle, as far as the view reaches; leaves it where it is when the space has no such
    // cell.
    void centreOnMiddleC();

private:
    void componentMovedOrResized(juce::Component& component, bool wasMoved, bool wasResized) override;

    ZylGridView* gridView = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylGridPanel)
};
