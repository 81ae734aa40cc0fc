#pragma once

#include "app/ZylLumenfoldModule.h"
#include "framework/ZylFilter.h"

#include <memory>

// The product's processor with its whole module tree, as the program builds it (no ports).
class BenchFilter : public ZylFilter
{
public:
    std::unique_ptr<ZylModule> createRootModule() override;
    ZylLumenfoldModule& root() const;
};

// Delivers what is waiting on the message queue (what the modules and the views posted), as the
// program's message thread would between blocks.
void benchDeliverMessages();
