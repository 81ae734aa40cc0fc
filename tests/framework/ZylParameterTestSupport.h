#pragma once

#include "framework/ZylDomain.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameter.h"
#include "tests/TestHelpers.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

namespace zyltest
{
// Selects the value of the given name on a parameter, as the interface does, and delivers the
// messages that follow. Fails the calling test when the parameter or the value is missing.
inline void selectByName(ZylParameter* parameter, const wchar_t* name)
{
    ASSERT_NE(parameter, nullptr);
    auto* value = parameter->getDomain()->findByName(name);
    ASSERT_NE(value, nullptr) << juce::String(name);
    parameter->setValueObject(value, kCauseUser, false, true);
    drainMessageQueue();
}
} // namespace zyltest
