#pragma once

#include "app/ZylLumenfoldModule.h"
#include "framework/ZylFilter.h"
#include "framework/ZylModuleContainer.h"

#include <memory>

class ZylMidiPortBackend;

namespace zyltest
{
// The whole product tree behind the framework's processor, as the product processor builds it,
// with the MIDI ports a test chooses (none by default). Call initialise() after construction.
class LumenfoldTestFilter : public ZylFilter
{
public:
    explicit LumenfoldTestFilter(ZylMidiPortBackend* ports = nullptr) : backend(ports) {}

    std::unique_ptr<ZylModule> createRootModule() override
    {
        return std::make_unique<ZylLumenfoldModule>(getModuleContainer(), backend);
    }

    ZylLumenfoldModule& root() const
    {
        return *static_cast<ZylLumenfoldModule*>(getModuleContainer()->getRootModule());
    }

private:
    ZylMidiPortBackend* backend;
};
} // namespace zyltest
