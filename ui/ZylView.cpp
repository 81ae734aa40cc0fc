#include "ui/ZylView.h"

ZylView::ZylView(ZylEditor* owner) : ZylViewBase(owner) {}

ZylView::~ZylView()
{
    deleteAllChildren();
}
