#include "xml/XmlDocument.h"
#include "xml/XmlEntities.h"

#include <gtest/gtest.h>
#if defined(ZELK_LIBXML2)
#include <libxml/HTMLparser.h>
#endif

#include <string>

namespace {

#if defined(ZELK_LIBXML2)
TEST(XmlEntities, TableIsTheHtml4ListPlusApos) {
    const auto table = XmlEntityTable();
    EXPECT_EQ(table.size(), 253u);
    for (const SXmlEntity& entity : table) {
        if (entity.Name == "apos") {
            EXPECT_EQ(entity.CodePoint, 39u);
            continue;
        }
        const std::string name(entity.Name);
        const htmlEntityDesc* reference = htmlEntityLookup(reinterpret_cast<const xmlChar*>(name.c_str()));
        ASSERT_NE(reference, nullptr) << name;
        EXPECT_EQ(reference->value, entity.CodePoint) << name;
    }
}
#endif

TEST(XmlEntities, ReferencesAreDecoded) {
    EXPECT_EQ(DecodeReferences(u"&lt;&gt;&amp;&quot;&apos;"), u"<>&\"'");
    EXPECT_EQ(DecodeReferences(u"&#65;&#x42;&#X43;&#x00e9;"), u"ABC\u00e9");
    EXPECT_EQ(DecodeReferences(u"&eacute;&Eacute;&euro;&nbsp;&thetasym;"), u"\u00e9\u00c9\u20ac\u00a0\u03d1");
    EXPECT_EQ(DecodeReferences(u"&Dagger;&dagger;&Prime;&prime;"), u"\u2021\u2020\u2033\u2032");
    // Names are folded to lower case only when the exact name is not an entity.
    EXPECT_EQ(DecodeReferences(u"&AMP;&Copy;&EURO;"), u"&\u00a9\u20ac");
    // Beyond U+FFFF: a surrogate pair.
    EXPECT_EQ(DecodeReferences(u"&#x1F600;&#128512;"), u"\U0001F600\U0001F600");
}

TEST(XmlEntities, WhatIsNoReferenceStaysLiteral) {
    EXPECT_EQ(DecodeReferences(u"a & b"), u"a & b");
    EXPECT_EQ(DecodeReferences(u"&#0;&#;&#x;&unknown;&;"), u"&#0;&#;&#x;&unknown;&;");
    EXPECT_EQ(DecodeReferences(u"&#12a;&#xG1;&am p;"), u"&#12a;&#xG1;&am p;");
    EXPECT_EQ(DecodeReferences(u"&&amp;"), u"&&");
    // At most 9 characters between "&" and ";".
    EXPECT_EQ(DecodeReferences(u"&#00000065;"), u"A");
    EXPECT_EQ(DecodeReferences(u"&#000000065;"), u"&#000000065;");
    EXPECT_EQ(DecodeReferences(u"&amp"), u"&amp");
    // A number naming no character reads as the replacement character.
    EXPECT_EQ(DecodeReferences(u"&#x110000;&#xD800;&#55296;"), u"\uFFFD\uFFFD\uFFFD");
}

TEST(XmlEntities, EscapingRoundTripsThroughAnAttribute) {
    const std::u16string value = u"<\"quoted\" & 'single'>\u00e9\U0001F600&amp;";
    EXPECT_EQ(EscapeAttribute(value),
              u"&lt;&quot;quoted&quot; &amp; &apos;single&apos;&gt;\u00e9\U0001F600&amp;amp;");
    CXmlDocument doc;
    doc.SetText(u"<a/>");
    doc.FindElement(u"a");
    ASSERT_TRUE(doc.SetAttribute(u"v", value));
    EXPECT_EQ(doc.GetAttribute(u"v"), value);
    CXmlDocument reread;
    reread.SetText(doc.GetText());
    reread.FindElement(u"a");
    EXPECT_EQ(reread.GetAttribute(u"v"), value);
}

} // namespace
