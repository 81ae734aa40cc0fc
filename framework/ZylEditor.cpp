#include "framework/ZylEditor.h"

#include "framework/ZylFilter.h"
#include "framework/ZylModule.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylPropertySet.h"

namespace
{
constexpr const char* kEditorWidthKey = "editorWidth";
constexpr const char* kEditorHeightKey = "editorHeight";
constexpr int kDefaultStoredSize = 1;

// The stored size comes from a loaded state; one that no screen could show is clamped.
int storedSize(const ZylPropertySet* properties, const char* key)
{
    const int stored = properties != nullptr ? properties->getIntValue(key, kDefaultStoredSize)
                                             : kDefaultStoredSize;
    return juce::jlimit(ZylEditor::kMinStoredSize, ZylEditor::kMaxStoredSize, stored);
}
} // namespace

ZylEditor::ZylEditor(ZylFilter& owner) : juce::AudioProcessorEditor(&owner), ZylFilterLink(&owner)
{
    const ZylPropertySet* stored = nullptr;
    if (auto* container = owner.getModuleContainer())
        if (auto* root = container->getRootModule())
            stored = root->getPropertySet();
    const int height = storedSize(stored, kEditorHeightKey);
    const int width = storedSize(stored, kEditorWidthKey);
    setSize(width, height);
}

ZylEditor::~ZylEditor()
{
    // Last added, first deleted.
    while (!ownedChildren.empty())
        ownedChildren.pop_back();
}

void ZylEditor::mouseWheelMove(const juce::MouseEvent& /*event*/, const juce::MouseWheelDetails& wheel)
{
    auto* owner = getFilter();
    if (owner == nullptr)
        return;
    if (auto* parameter = owner->getFocusedObject())
        parameter->applyWheelStep(wheel.deltaY);
}

void ZylEditor::fitToContent()
{
}

void ZylEditor::layoutPanels()
{
}

void ZylEditor::receiveMessage(void* /*sender*/, int /*code*/, int /*timeMs*/)
{
}
