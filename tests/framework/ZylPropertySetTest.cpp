#include "framework/ZylPropertySet.h"

#include "framework/ZylDebug.h"

#include <gtest/gtest.h>

TEST(ZylPropertySet, WritesPropertiesAsAttributesInKeyOrderLeavingTransientOnesOut)
{
    ZylPropertySet set;
    set.setValue("helpCurrentPage", 3);
    set.setValue("$tmp/scroll", "12");
    set.setValue("HelpCurrentPage", "case differs");
    set.setValue("lastUsedFileNameWinfxb", "C:\\banks\\a & b.fxb");

    auto xml = set.createXml(false);
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(xml->getTagName(), "prs");
    ASSERT_EQ(xml->getNumAttributes(), 3);
    EXPECT_EQ(xml->getAttributeName(0), "helpCurrentPage");
    EXPECT_EQ(xml->getAttributeValue(0), "3");
    EXPECT_EQ(xml->getAttributeName(1), "HelpCurrentPage");
    EXPECT_EQ(xml->getAttributeName(2), "lastUsedFileNameWinfxb");
    EXPECT_EQ(xml->getAttributeValue(2), "C:\\banks\\a & b.fxb");
}

TEST(ZylPropertySet, KeysThatCannotBeAttributeNamesAreSkippedWithADiagnostic)
{
    ZylPropertySet set;
    set.setValue("good", "1");
    set.setValue("has space", "2");
    set.setValue("9starts", "3");
    set.setValue(juce::String(juce::CharPointer_UTF8("caf\xc3\xa9")), "4");
    set.setValue("$tmp/kept", "5");

    ZylDebugCapture capture;
    auto xml = set.createXml(true);
    ASSERT_EQ(xml->getNumAttributes(), 1);
    EXPECT_EQ(xml->getAttributeName(0), "good");
    EXPECT_TRUE(capture.contains("property key not written: has space"));
    EXPECT_TRUE(capture.contains("property key not written: $tmp/kept"));
}

TEST(ZylPropertySet, RestoreAddsAndOverwritesButNeverRemoves)
{
    ZylPropertySet set;
    set.setValue("a", "old");
    set.setValue("b", "kept");

    juce::XmlElement prs("prs");
    prs.setAttribute("a", "new");
    prs.setAttribute("$tmp/t", "read");
    set.restoreFromXml(&prs);
    set.restoreFromXml(nullptr);

    EXPECT_EQ(set.getValue("a"), "new");
    EXPECT_EQ(set.getValue("b"), "kept");
    EXPECT_EQ(set.getValue("$tmp/t"), "read");
    EXPECT_FALSE(set.containsKey("A"));
}
