#include "ui/ZylGridPanel.h"

#include "space/ZylCell.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylSpace.h"

#include "ui/ZylGridView.h"
#include "ui/ZylViewport.h"

#include <optional>
#include <vector>

ZylGridPanel::ZylGridPanel(ZylEditor* owner) : ZylPanel(owner, "Grid", 690, 430, false)
{
    gridView = new ZylGridView(owner);
    auto* viewport = new ZylViewport();
    viewport->setViewedComponent(gridView, true);
    setContent(viewport, true);
    gridView->addComponentListener(this);
    viewport->addComponentListener(this);
}

ZylGridPanel::~ZylGridPanel()
{
    if (auto* viewport = getContent())
        viewport->removeComponentListener(this);
    gridView->removeComponentListener(this);
}

void ZylGridPanel::componentMovedOrResized(juce::Component&, bool, bool wasResized)
{
    if (wasResized)
        centreOnMiddleC();
}

void ZylGridPanel::centreOnMiddleC()
{
    auto* viewport = getContent();
    auto* live = gridView->getSpace();
    if (viewport == nullptr || live == nullptr)
        return;
    // A grid holds middle C in several cells: the one nearest the middle of the view leaves the
    // most of the grid around it in sight.
    gridView->updateTransform();
    const juce::Point<double> middle(gridView->getWidth() / 2.0, gridView->getHeight() / 2.0);
    std::optional<juce::Point<double>> nearest;
    {
        const juce::ScopedLock sl(live->getLock());
        auto* space = live->getSpace();
        if (space == nullptr)
            return;
        std::vector<ZylCell*> cells;
        space->getCellsForNote(kCentredNote, cells, false, nullptr);
        for (const auto* cell : cells)
        {
            if (cell->isHidden())
                continue;
            double x = cell->getCentreX();
            double y = cell->getCentreY();
            gridView->modelToViewPoint(x, y);
            const juce::Point<double> centre(x, y);
            if (!nearest || centre.getDistanceFrom(middle) < nearest->getDistanceFrom(middle))
                nearest = centre;
        }
    }
    if (!nearest)
        return;
    // The viewport keeps the position within the view.
    viewport->setViewPosition(juce::roundToInt(nearest->x) - viewport->getMaximumVisibleWidth() / 2,
                              juce::roundToInt(nearest->y) - viewport->getMaximumVisibleHeight() / 2);
}

ZylGridView* ZylGridPanel::getSpaceView() const { return gridView; }
