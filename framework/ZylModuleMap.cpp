#include "framework/ZylModuleMap.h"

ZylModule* ZylModuleMap::getModule(std::int32_t id) const
{
    const auto found = modules.find(id);
    return found != modules.end() ? found->second : nullptr;
}

int ZylModuleMap::size() const
{
    return static_cast<int>(modules.size());
}

bool ZylModuleMap::add(ZylModule* module, std::int32_t id)
{
    if (module == nullptr)
        return false;
    return modules.emplace(id, module).second;
}
