#include "modules/ZylMidiFromDeviceDomain.h"

ZylMidiFromDeviceDomain::ZylMidiFromDeviceDomain(ZylDomainSet* owningSet)
    : ZylMidiDeviceDomain(
          owningSet,
          {
      { L"Not connected", L"Not connected", L"Not connected" },
      { L"Track", L"Midi track", L"Built-in midi input tracks" },
      { L"VST/AU host", L"VST/AU host", L"Connected to host application hosting VST/AU plug-in" },
          },
          kDefaultIndex,
          [](ZylRealDomain* owner, const std::wstring& name, const std::wstring& label,
             const std::wstring& description) -> std::unique_ptr<ZylValue> {
              return std::make_unique<ZylMidiFromDeviceValue>(owner, 0, 0.0f, 0.0, name, label, description);
          })
{
}

std::wstring ZylMidiFromDeviceDomain::getShortName() const { return L"Midi In"; }

std::wstring ZylMidiFromDeviceDomain::getName() const { return L"Midi Input Device"; }

std::wstring ZylMidiFromDeviceDomain::getDescription() const { return L"Midi device we receive our input from"; }
