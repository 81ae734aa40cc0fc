#include "ui/ZylGridPanel.h"

#include "ui/ZylGridView.h"
#include "ui/ZylViewport.h"

ZylGridPanel::ZylGridPanel(ZylEditor* owner) : ZylPanel(owner, "Grid", 690, 430, false)
{
    gridView = new ZylGridView(owner);
    auto* viewport = new ZylViewport();
    viewport->setViewedComponent(gridView, true);
    setContent(viewport, true);
}

ZylGridPanel::~ZylGridPanel() = default;

ZylGridView* ZylGridPanel::getSpaceView() const { return gridView; }
