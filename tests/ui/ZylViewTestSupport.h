#pragma once

#include "space/ZylCell.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylSpace.h"
#include "ui/ZylSpaceView.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

namespace zyltest
{
// A space view that records its repaints and plays the pointer from a set position.
template <class View>
class RecordingView : public View
{
public:
    using View::View;

    std::vector<juce::Rectangle<int>> repainted;
    juce::Point<int> pointer;

    // Whether a repaint since the last clear covered the rectangle.
    bool wasRepainted(juce::Rectangle<int> area) const
    {
        juce::RectangleList<int> all;
        for (auto r : repainted)
            all.add(r);
        return all.containsRectangle(area);
    }

protected:
    void repaintRegion(juce::Rectangle<int> area) override
    {
        repainted.push_back(area);
        View::repaintRegion(area);
    }
    juce::Point<int> getPointerPosition() const override { return pointer; }
};

// The view rectangle of a cell's bounds, as the view maps them.
inline juce::Rectangle<double> viewBoundsOf(const ZylSpaceView& view, const ZylCell& cell)
{
    const auto& b = cell.getBounds();
    double x1 = b.x1, y1 = b.y1, x2 = b.x2, y2 = b.y2;
    view.modelToViewRect(x1, y1, x2, y2);
    return { x1, y1, x2 - x1, y2 - y1 };
}

// The view point at the middle of a cell.
inline juce::Point<int> viewCentreOf(ZylSpaceView& view, const ZylCell& cell)
{
    view.updateTransform();
    double x = cell.getCentreX(), y = cell.getCentreY();
    view.modelToViewPoint(x, y);
    return { juce::roundToInt(x), juce::roundToInt(y) };
}

// The shown cells of a space (a note, not hidden), in the space's order.
inline std::vector<ZylCell*> shownCells(const ZylSpace& space)
{
    std::vector<ZylCell*> out;
    for (const auto& cell : space.getCells())
        if (cell->hasNote() && !cell->isHidden())
            out.push_back(cell.get());
    return out;
}

// The first shown cell of the note in the view's space, or null.
inline ZylCell* shownCellOf(ZylSpaceView& view, int note)
{
    for (auto* cell : shownCells(*view.getSpace()->getSpace()))
        if (cell->getNote() == note)
            return cell;
    return nullptr;
}

// A view point inside the cell that no other cell covers: the middle of its lowest tile (the
// front of a piano key).
inline juce::Point<int> uncoveredPointIn(ZylSpaceView& view, const ZylCell& cell)
{
    const ZylTile* lowest = nullptr;
    for (const auto& tile : cell.getTiles())
        if (lowest == nullptr || tile->getBounds().y1 < lowest->getBounds().y1)
            lowest = tile.get();
    const auto& b = lowest->getBounds();
    view.updateTransform();
    double x = (b.x1 + b.x2 + 1.0) / 2.0, y = (b.y1 + b.y2 + 1.0) / 2.0;
    view.modelToViewPoint(x, y);
    return { juce::roundToInt(x), juce::roundToInt(y) };
}

// Renders the view at its own size onto a black image.
inline juce::Image renderView(juce::Component& view)
{
    juce::Image image(juce::Image::ARGB, juce::jmax(1, view.getWidth()), juce::jmax(1, view.getHeight()), true);
    juce::Graphics g(image);
    g.fillAll(juce::Colours::black);
    view.paintEntireComponent(g, true);
    return image;
}
} // namespace zyltest
