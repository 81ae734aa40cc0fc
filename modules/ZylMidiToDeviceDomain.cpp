#include "modules/ZylMidiToDeviceDomain.h"

ZylMidiToDeviceDomain::ZylMidiToDeviceDomain(ZylDomainSet* owningSet)
    : ZylMidiDeviceDomain(
          owningSet,
          {
      { L"Not connected", L"Not connected", L"Not connected" },
      { L"VST host", L"VST host", L"Connected to host application hosting VST plug-in" },
      { L"Built-in synth", L"Built-in synth", L"Connected to internal synth" },
          },
          kDefaultIndex,
          [](ZylRealDomain* owner, const std::wstring& name, const std::wstring& label,
             const std::wstring& description) -> std::unique_ptr<ZylValue> {
              return std::make_unique<ZylMidiToDeviceValue>(owner, 0, 0.0f, 0.0, name, label, description);
          })
{
}

std::wstring ZylMidiToDeviceDomain::getShortName() const { return L"Midi Out"; }

std::wstring ZylMidiToDeviceDomain::getName() const { return L"Midi Output Device"; }

std::wstring ZylMidiToDeviceDomain::getDescription() const { return L"Midi device we send our output to"; }
