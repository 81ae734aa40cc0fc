#include "ui/ZylViewBase.h"

#include "framework/ZylEditor.h"
#include "framework/ZylFilter.h"

ZylViewBase::ZylViewBase(ZylEditor* owner) : editor(owner) {}

ZylViewBase::~ZylViewBase() = default;

int ZylViewBase::getHeightHint() const { return heightHint; }
int ZylViewBase::getWidthHint() const { return widthHint; }
void ZylViewBase::setWidthHint(int hint) { widthHint = hint; }
void ZylViewBase::setHeightHint(int hint) { heightHint = hint; }
ZylEditor* ZylViewBase::getEditor() const { return editor; }

ZylModuleContainer* ZylViewBase::getModuleContainer() const
{
    if (editor == nullptr)
        return nullptr;
    auto* filter = editor->getFilter();
    return filter != nullptr ? filter->getModuleContainer() : nullptr;
}

bool ZylViewBase::handleMessage(void*, int, int) { return false; }

void ZylViewBase::receiveMessage(void* sender, int code, int timeMs)
{
    handleMessage(sender, code, timeMs);
}
