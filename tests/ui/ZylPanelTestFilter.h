#pragma once

#include "app/ZylLumenfoldModule.h"
#include "framework/ZylProgramModule.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiOutputGroupModule.h"
#include "modules/ZylTransportModule.h"
#include "tests/app/ZylLumenfoldTestFilter.h"
#include "tests/modules/ZylFakeMidiPortBackend.h"
#include "ui/ZylHelpModule.h"

namespace zyltest
{
// Comes first among the processor's bases, so it goes after the tree, whose device managers
// close their ports into it.
struct FakePorts
{
    ZylFakeMidiPortBackend ports;
};

// The product's module tree on fake MIDI ports, initialised (factory bank loaded), with the
// modules the header and MIDI panels work on at hand.
class PanelTestFilter : public FakePorts, public LumenfoldTestFilter
{
public:
    PanelTestFilter() : LumenfoldTestFilter(&ports) { initialise(); }

    ZylProgramModule& programs() const { return *root().getProgramModule(); }
    ZylTransportModule& transport() const { return *root().getTransportModule(); }
    ZylMidiInputGroupModule& inputs() const { return *root().getMidiInputGroupModule(); }
    ZylMidiOutputGroupModule& outputs() const { return *root().getMidiOutputGroupModule(); }
    ZylHelpModule& help() const { return *root().getHelpModule(); }
};
} // namespace zyltest
