#pragma once

#include "framework/ZylFilter.h"
#include "tests/framework/ZylStateTestTree.h"

#include <memory>

namespace zyltest
{
// The processor over the state test tree.
class StateTestFilter : public ZylFilter
{
public:
    std::unique_ptr<ZylModule> createRootModule() override
    {
        return std::make_unique<StateRootModule>(getModuleContainer());
    }

    StateRootModule& root() const
    {
        return *static_cast<StateRootModule*>(getModuleContainer()->getRootModule());
    }
};
} // namespace zyltest
