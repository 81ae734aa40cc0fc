#include "ui/ZylParamControl.h"

#include "framework/ZylDebug.h"
#include "framework/ZylDomain.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameter.h"
#include "framework/ZylValue.h"
#include "ui/ZylArtArchives.h"
#include "ui/ZylGuiHelpers.h"

#include <vector>

namespace
{
constexpr int kPreferredWidth = 200;
constexpr int kPreferredHeight = 43;

constexpr int kEventValueChanged = zylMessageEvent(kValueChanged);
constexpr int kEventEnabledChanged = zylMessageEvent(kEnabledChanged);
constexpr int kEventValuesChanged = zylMessageEvent(kDomainValuesChanged);
constexpr int kEventListRebuilt = zylMessageEvent(kDomainListRebuilt);
constexpr int kEventWheelAssignment = zylMessageEvent(kWheelAssignmentChanged);
} // namespace

ZylParamControl::ZylParamControl(ZylEditor* owner)
    : ZylPanel(owner, juce::String(), kPreferredWidth, kPreferredHeight, false)
{
}

ZylParamControl::~ZylParamControl()
{
    setParameter(nullptr);
}

ZylParameter* ZylParamControl::getParameter() const
{
    return boundParameter;
}

void ZylParamControl::updateWheelButton()
{
}

void ZylParamControl::setLayoutStyle(int style)
{
    layoutStyle = style;
}

int ZylParamControl::getLayoutStyle() const
{
    return layoutStyle;
}

void ZylParamControl::updateModulation()
{
}

void ZylParamControl::setParameter(ZylParameter* newParameter)
{
    auto* oldParameter = boundParameter;
    auto* oldModulation = boundModulation;
    boundParameter = newParameter;
    boundModulation = nullptr;

    bool sameDomain = false;
    if (oldParameter != nullptr)
    {
        const juce::ScopedLock sl(oldParameter->getLock());
        oldParameter->removeSink(this);
        sameDomain = newParameter != nullptr && newParameter->getDomain() == oldParameter->getDomain();
    }
    if (oldModulation != nullptr)
        oldModulation->removeSink(this);

    if (newParameter != nullptr)
    {
        const juce::ScopedLock sl(newParameter->getLock());
        if (!sameDomain)
            rebuild(false);
        updateValue();
        updateWheelButton();
        newParameter->addSink(this);
        boundModulation = newParameter->getModulationParameter();
        if (boundModulation != nullptr)
            boundModulation->addSink(this);
    }
    updateModulation();
}

void ZylParamControl::receiveMessage(void* sender, int code, int /*timeMs*/)
{
    if (boundParameter == nullptr)
        return;
    const int event = zylMessageEvent(code);
    if (sender == boundParameter->asSender())
    {
        switch (event)
        {
        case kEventValueChanged:
        case kEventEnabledChanged:
            updateValue();
            break;
        case kEventValuesChanged:
            rebuild(true);
            updateValue();
            break;
        case kEventListRebuilt:
            rebuild(false);
            updateValue();
            break;
        case kEventWheelAssignment:
            updateWheelButton();
            break;
        default:
            break;
        }
    }
    else if (boundModulation != nullptr && sender == boundModulation->asSender())
    {
        if (event == kEventValueChanged)
            updateValue();
    }
}

std::unique_ptr<juce::Drawable> ZylParamControl::loadIcon(const juce::String& entryName)
{
    return createDrawableFromArchive(ZylArtArchives::kInterfaceArt, entryName);
}

bool ZylParamControl::isModulated() const
{
    if (boundParameter == nullptr)
        return false;
    const juce::ScopedLock sl(boundParameter->getLock());
    auto* modulation = boundParameter->getModulationParameter();
    if (modulation == nullptr)
        return false;
    const juce::ScopedLock ml(modulation->getLock());
    return modulation->getIndex() != 0;
}

void ZylParamControl::showModulationMenu(juce::Component& target, std::function<void()> onChosen)
{
    if (boundParameter == nullptr)
        return;
    juce::PopupMenu menu;
    std::vector<std::wstring> shownNames;
    ZylParameter* modulation = nullptr;
    {
        const juce::ScopedLock sl(boundParameter->getLock());
        modulation = boundParameter->getModulationParameter();
        if (modulation != nullptr)
        {
            const juce::ScopedLock ml(modulation->getLock());
            const int current = modulation->getIndex();
            if (auto* domain = modulation->getDomain())
                for (auto* value : domain->getValues())
                {
                    const int place = static_cast<int>(shownNames.size());
                    menu.addItem(place + 1, juce::String(value->getLabel().c_str()), true,
                                 place == current);
                    shownNames.push_back(value->getName());
                }
        }
    }
    if (modulation == nullptr)
        return;

    juce::Component::SafePointer<ZylParamControl> self(this);
    menu.showMenuAsync(juce::PopupMenu::Options().withTargetComponent(&target),
                       [self, modulation, shownNames, onChosen](int result) {
                           if (self == nullptr || result <= 0
                               || self->getModulationParameter() != modulation
                               || static_cast<size_t>(result) > shownNames.size())
                               return;
                           if (self->chooseModulationValue(shownNames[static_cast<size_t>(result - 1)])
                               && onChosen)
                               onChosen();
                       });
}

bool ZylParamControl::chooseModulationValue(const std::wstring& valueName)
{
    if (boundModulation == nullptr)
        return false;
    const juce::ScopedLock ml(boundModulation->getLock());
    auto* domain = boundModulation->getDomain();
    auto* value = domain != nullptr ? domain->findByName(valueName) : nullptr;
    if (value == nullptr)
        return false;
    boundModulation->setValueObject(value, kCauseUser, false, true);
    return true;
}
