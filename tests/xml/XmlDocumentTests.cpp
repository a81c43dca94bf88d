#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::u16string Declaration = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

bool ResultHas(const CXmlDocument& doc, std::u16string_view record) {
    return doc.GetResult().find(record) != std::u16string::npos;
}

// Walks to the element at a path of names from the top, e.g. {u"a", u"b"}.
bool Walk(CXmlDocument& doc, std::initializer_list<std::u16string_view> path) {
    doc.ResetPosition();
    bool first = true;
    for (const auto name : path) {
        if (!first && !doc.EnterElement())
            return false;
        first = false;
        if (!doc.FindElement(name))
            return false;
    }
    return true;
}

// The names of the children of the current element, in order.
std::u16string ChildNames(CXmlDocument& doc) {
    std::u16string names;
    if (!doc.EnterElement())
        return u"<no current element>";
    while (doc.FindElement(u"")) {
        names += doc.GetTagName();
        names += u' ';
    }
    doc.LeaveElement();
    return names;
}

TEST(XmlDocumentBuild, DeclarationAloneThenTopLevelElement) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText(Declaration));
    EXPECT_TRUE(ResultHas(doc, u"<no_root_element/>"));
    EXPECT_FALSE(doc.FindElement(u""));
    ASSERT_TRUE(doc.AddElement(u"Zelk"));
    EXPECT_EQ(doc.GetText(), Declaration + u"<Zelk/>\r\n");
    EXPECT_EQ(doc.GetTagName(), u"Zelk");
    EXPECT_TRUE(doc.CheckIndex());
}

TEST(XmlDocumentBuild, EmptyFormParentIsOpenedAndChildrenGoOnLinesOfTheirOwn) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText(u"<r>\r\n<a x=\"1\"/>\r\n<z/>\r\n</r>\r\n"));
    ASSERT_TRUE(Walk(doc, {u"r", u"a"}));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(u"b"));
    EXPECT_EQ(doc.GetText(), u"<r>\r\n<a x=\"1\">\r\n<b/>\r\n</a>\r\n<z/>\r\n</r>\r\n");
    ASSERT_TRUE(doc.AddElement(u"c"));
    EXPECT_EQ(doc.GetText(), u"<r>\r\n<a x=\"1\">\r\n<b/>\r\n<c/>\r\n</a>\r\n<z/>\r\n</r>\r\n");
    EXPECT_TRUE(doc.CheckIndex());
    // The element behind the edits moved with the text.
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.FindElement(u"z"));
    ASSERT_TRUE(doc.SetAttribute(u"k", u"v"));
    EXPECT_EQ(doc.GetText(), u"<r>\r\n<a x=\"1\">\r\n<b/>\r\n<c/>\r\n</a>\r\n<z k=\"v\"/>\r\n</r>\r\n");
    EXPECT_EQ(ChildNames(doc), u"");
    ASSERT_TRUE(Walk(doc, {u"r", u"a"}));
    EXPECT_EQ(ChildNames(doc), u"b c ");
}

TEST(XmlDocumentBuild, FirstChildOfEmptyPairAndOfElementWithText) {
    CXmlDocument doc;
    doc.SetText(u"<a></a>");
    ASSERT_TRUE(Walk(doc, {u"a"}));
    doc.EnterElement();
    ASSERT_TRUE(doc.AddElement(u"b"));
    EXPECT_EQ(doc.GetText(), u"<a>\r\n<b/>\r\n</a>");

    doc.SetText(u"<a>\r\n</a>");
    Walk(doc, {u"a"});
    doc.EnterElement();
    doc.AddElement(u"b");
    EXPECT_EQ(doc.GetText(), u"<a>\r\n<b/>\r\n</a>");
    EXPECT_TRUE(doc.CheckIndex());
}

TEST(XmlDocumentBuild, InsertsAfterCurrentElementBeforeItsNextSibling) {
    CXmlDocument doc;
    doc.SetText(u"<r>\r\n<a/>\r\n<c t=\"1\"><d/></c>\r\n</r>");
    ASSERT_TRUE(Walk(doc, {u"r", u"a"}));
    ASSERT_TRUE(doc.AddElement(u"b"));
    EXPECT_EQ(doc.GetText(), u"<r>\r\n<a/>\r\n<b/>\r\n<c t=\"1\"><d/></c>\r\n</r>");
    ASSERT_TRUE(doc.FindElement(u"c"));
    EXPECT_EQ(doc.GetAttribute(u"t"), u"1");
    ASSERT_TRUE(Walk(doc, {u"r", u"c", u"d"}));
    ASSERT_TRUE(doc.SetAttribute(u"e", u"2"));
    EXPECT_EQ(doc.GetText(), u"<r>\r\n<a/>\r\n<b/>\r\n<c t=\"1\"><d e=\"2\"/></c>\r\n</r>");
    EXPECT_TRUE(doc.CheckIndex());
}

TEST(XmlDocumentBuild, ProfileLayoutIsWrittenExactly) {
    CXmlDocument doc;
    doc.SetText(Declaration);
    doc.AddElement(u"Zelk");
    doc.EnterElement();
    for (const auto section : {u"PredefinedCombo", u"PredefinedMacro"}) {
        doc.AddElement(section);
        doc.EnterElement();
        doc.AddElement(u"List");
        doc.SetAttribute(u"SizeOfView", 6);
        doc.SetAttribute(u"Cycles", -1);
        doc.EnterElement();
        doc.LeaveElement();
        doc.LeaveElement();
    }
    doc.AddElement(u"CurrentSettings");
    doc.EnterElement();
    for (int id = 1; id <= 2; ++id) {
        doc.AddElement(u"KEY");
        doc.SetAttribute(u"ID", id);
        doc.EnterElement();
        doc.AddElement(u"ComboKey");
        doc.EnterElement();
        doc.AddElement(u"List");
        doc.EnterElement();
        doc.AddElement(u"x");
        doc.SetAttribute(u"ID", 0);
        doc.SetAttribute(u"t1", u"A & \"B\"");
        doc.LeaveElement();
        doc.LeaveElement();
        doc.LeaveElement();
    }
    doc.LeaveElement();
    doc.LeaveElement();
    EXPECT_TRUE(doc.CheckIndex());
    const std::u16string expected = Declaration + u"<Zelk>\r\n"
                                                  u"<PredefinedCombo>\r\n"
                                                  u"<List SizeOfView=\"6\" Cycles=\"-1\"/>\r\n"
                                                  u"</PredefinedCombo>\r\n"
                                                  u"<PredefinedMacro>\r\n"
                                                  u"<List SizeOfView=\"6\" Cycles=\"-1\"/>\r\n"
                                                  u"</PredefinedMacro>\r\n"
                                                  u"<CurrentSettings>\r\n"
                                                  u"<KEY ID=\"1\">\r\n"
                                                  u"<ComboKey>\r\n"
                                                  u"<List>\r\n"
                                                  u"<x ID=\"0\" t1=\"A &amp; &quot;B&quot;\"/>\r\n"
                                                  u"</List>\r\n"
                                                  u"</ComboKey>\r\n"
                                                  u"</KEY>\r\n"
                                                  u"<KEY ID=\"2\">\r\n"
                                                  u"<ComboKey>\r\n"
                                                  u"<List>\r\n"
                                                  u"<x ID=\"0\" t1=\"A &amp; &quot;B&quot;\"/>\r\n"
                                                  u"</List>\r\n"
                                                  u"</ComboKey>\r\n"
                                                  u"</KEY>\r\n"
                                                  u"</CurrentSettings>\r\n"
                                                  u"</Zelk>\r\n";
    EXPECT_EQ(doc.GetText(), expected);

    // The built text reads back into the same tree.
    CXmlDocument reread;
    EXPECT_TRUE(reread.SetText(doc.GetText()));
    ASSERT_TRUE(Walk(reread, {u"Zelk", u"CurrentSettings", u"KEY"}));
    ASSERT_TRUE(reread.FindElement(u"KEY"));
    EXPECT_EQ(reread.GetAttribute(u"ID"), u"2");
    ASSERT_TRUE(Walk(reread, {u"Zelk", u"CurrentSettings", u"KEY", u"ComboKey", u"List", u"x"}));
    EXPECT_EQ(reread.GetAttribute(u"t1"), u"A & \"B\"");
}

TEST(XmlDocumentBuild, AttributesAreReplacedInPlaceAndEscaped) {
    CXmlDocument doc;
    doc.SetText(u"<r><a one='first' two=\"2\">\r\n<b v=\"x\"/>\r\n</a><c/></r>");
    ASSERT_TRUE(Walk(doc, {u"r", u"a"}));
    ASSERT_TRUE(doc.SetAttribute(u"one", u"1"));
    EXPECT_EQ(doc.GetText(), u"<r><a one=\"1\" two=\"2\">\r\n<b v=\"x\"/>\r\n</a><c/></r>");
    ASSERT_TRUE(doc.SetAttribute(u"one", u"it's \"<&>\""));
    EXPECT_EQ(
        doc.GetText(),
        u"<r><a one=\"it&apos;s &quot;&lt;&amp;&gt;&quot;\" two=\"2\">\r\n<b v=\"x\"/>\r\n</a><c/></r>");
    EXPECT_EQ(doc.GetAttribute(u"one"), u"it's \"<&>\"");
    ASSERT_TRUE(doc.SetAttribute(u"three", u""));
    EXPECT_EQ(doc.GetAttributeName(2), u"three");
    EXPECT_EQ(doc.GetAttributeName(3), u"");
    EXPECT_TRUE(doc.CheckIndex());
    // Children and later siblings moved with every edit, shorter ones included.
    ASSERT_TRUE(doc.SetAttribute(u"one", u""));
    EXPECT_TRUE(doc.CheckIndex());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(u"b"));
    EXPECT_EQ(doc.GetAttribute(u"v"), u"x");
    ASSERT_TRUE(Walk(doc, {u"r"}));
    EXPECT_EQ(ChildNames(doc), u"a c ");
    // A name-only attribute gets its value.
    doc.SetText(u"<a flag/>");
    Walk(doc, {u"a"});
    ASSERT_TRUE(doc.SetAttribute(u"flag", u"on"));
    EXPECT_EQ(doc.GetText(), u"<a flag=\"on\"/>");
}

TEST(XmlDocumentBuild, MalformedAttributesPairQuotesAsTheParserDoes) {
    CXmlDocument doc;
    doc.SetText(u"<r x\"y>\"z=\"1\" w=v'q'><c/></r>");
    ASSERT_TRUE(Walk(doc, {u"r"}));
    EXPECT_EQ(doc.GetAttribute(u"z"), u"1");
    EXPECT_EQ(doc.GetAttribute(u"w"), u"v");
    EXPECT_EQ(ChildNames(doc), u"c ");
    ASSERT_TRUE(doc.SetAttribute(u"t", u"new"));
    EXPECT_EQ(doc.GetText(), u"<r x\"y>\"z=\"1\" w=v'q' t=\"new\"><c/></r>");
    EXPECT_EQ(doc.GetAttribute(u"t"), u"new");
    ASSERT_TRUE(doc.SetAttribute(u"w", u"2"));
    EXPECT_EQ(doc.GetText(), u"<r x\"y>\"z=\"1\" w=\"2\"'q' t=\"new\"><c/></r>");
    EXPECT_TRUE(doc.CheckIndex());
    // "t=" followed by white space has no value; what follows is the next attribute.
    doc.SetText(u"<a t= u=\"1\"/>");
    ASSERT_TRUE(Walk(doc, {u"a"}));
    EXPECT_EQ(doc.GetAttribute(u"u"), u"1");
    ASSERT_TRUE(doc.SetAttribute(u"t", u"x"));
    EXPECT_EQ(doc.GetText(), u"<a t=\"x\" u=\"1\"/>");
    doc.SetText(u"<a t= >");
    ASSERT_TRUE(Walk(doc, {u"a"}));
    ASSERT_TRUE(doc.SetAttribute(u"u", u"2"));
    EXPECT_EQ(doc.GetAttribute(u"u"), u"2");
    EXPECT_EQ(doc.GetAttribute(u"t"), u"");
}

TEST(XmlDocumentBuild, ElementWithAttributesEqualsElementThenEachAttribute) {
    // In every insertion case: top level, an empty-form parent, after a sibling.
    const std::vector<CXmlAttributeText> attributes = {
        {u"ID", u"7"}, {u"t1", u"a&\"b"}, {u"ID", u"8"}, {u"z", u""}};
    for (std::size_t used : {std::size_t{0}, std::size_t{2}, std::size_t{4}}) {
        CXmlDocument one;
        CXmlDocument each;
        for (CXmlDocument* doc : {&one, &each}) {
            doc->SetText(u"<?xml version=\"1.0\"?>\r\n");
            doc->AddElement(u"r");
            doc->EnterElement();
        }
        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(one.AddElement(u"x", std::span(attributes.data(), used)));
            ASSERT_TRUE(each.AddElement(u"x"));
            for (std::size_t i = 0; i < used; ++i)
                each.SetAttribute(attributes[i].Name, attributes[i].Value);
        }
        EXPECT_EQ(one.GetText(), each.GetText()) << used;
        EXPECT_TRUE(one.CheckIndex());
        one.EnterElement();
        ASSERT_TRUE(one.AddElement(u"child", std::span(attributes.data(), used)));
        EXPECT_TRUE(one.CheckIndex());
        EXPECT_EQ(one.GetAttribute(u"ID"), used >= 3 ? u"8" : used >= 1 ? u"7" : u"");
    }
}

TEST(XmlDocumentBuild, RefusesWithoutCurrentElementOrWithUnwritableName) {
    CXmlDocument doc;
    const std::u16string text = u"<a/>";
    doc.SetText(text);
    EXPECT_FALSE(doc.SetAttribute(u"x", u"1"));
    Walk(doc, {u"a"});
    EXPECT_FALSE(doc.SetAttribute(u"", u"1"));
    EXPECT_FALSE(doc.SetAttribute(u"a b", u"1"));
    EXPECT_FALSE(doc.SetAttribute(u"x\"", u"1"));
    EXPECT_FALSE(doc.AddElement(u""));
    EXPECT_FALSE(doc.AddElement(u"a>b"));
    EXPECT_EQ(doc.GetText(), text);
    EXPECT_EQ(doc.GetTagName(), u"a");
}

TEST(XmlDocumentCursor, FindContinuesAfterCurrentAndAfterTheElementLeft) {
    CXmlDocument doc;
    doc.SetText(u"<r><x n=\"1\"><y/></x><z/><x n=\"2\"/><x n=\"3\"/></r>");
    ASSERT_TRUE(Walk(doc, {u"r", u"x"}));
    EXPECT_EQ(doc.GetAttribute(u"n"), u"1");
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_FALSE(doc.FindElement(u"z")); // not among x's children
    ASSERT_TRUE(doc.FindElement(u"y"));
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.GetAttribute(u"n"), u"1");
    ASSERT_TRUE(doc.FindElement(u"x"));
    EXPECT_EQ(doc.GetAttribute(u"n"), u"2");
    ASSERT_TRUE(doc.FindElement(u"x"));
    EXPECT_EQ(doc.GetAttribute(u"n"), u"3");
    // Never backwards, never around: a failed find leaves the cursor where it was.
    EXPECT_FALSE(doc.FindElement(u"z"));
    EXPECT_FALSE(doc.FindElement(u"x"));
    EXPECT_EQ(doc.GetAttribute(u"n"), u"3");
    // Leaving x and re-entering r resumes after the child left.
    ASSERT_TRUE(Walk(doc, {u"r", u"x"}));
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_EQ(doc.GetAttribute(u"n"), u"1");
    ASSERT_TRUE(doc.FindElement(u"x"));
    EXPECT_EQ(doc.GetAttribute(u"n"), u"2");
}

TEST(XmlDocumentCursor, ElementNamesMatchExactlyAndWholly) {
    CXmlDocument doc;
    doc.SetText(u"<r><List2/><list/><List a=\"1\"/></r>");
    ASSERT_TRUE(Walk(doc, {u"r", u"List"}));
    EXPECT_EQ(doc.GetAttribute(u"a"), u"1");
    EXPECT_FALSE(Walk(doc, {u"r", u"Lis"}));
    EXPECT_EQ(doc.GetAttribute(u"A"), u"");
}

TEST(XmlDocumentCursor, MovesAtTheEdgesFailQuietly) {
    CXmlDocument doc;
    doc.SetText(u"<a><b/></a>");
    EXPECT_FALSE(doc.EnterElement());
    EXPECT_FALSE(doc.LeaveElement());
    EXPECT_EQ(doc.GetAttribute(u"x"), u"");
    ASSERT_TRUE(Walk(doc, {u"a"}));
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_FALSE(doc.FindElement(u"c"));
    // Without a current element, entering fails and leaving goes back up to a.
    EXPECT_FALSE(doc.EnterElement());
    EXPECT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.GetTagName(), u"a");
    EXPECT_FALSE(doc.LeaveElement());

    EXPECT_FALSE(doc.SetText(nullptr));
    EXPECT_EQ(doc.GetText(), u"");
    EXPECT_FALSE(doc.FindElement(u""));
}

TEST(XmlDocumentParse, OtherNodeKindsHideNoElementsAndKeepTheText) {
    const std::u16string text = u"<?xml version=\"1.0\"?>\n"
                                u"<!DOCTYPE r [\n<!ENTITY e \"<fake>\">\n<!-- ] > -->\n<!ELEMENT r ANY>\n]>\n"
                                u"<!-- <hidden/> -->\n"
                                u"<r t=\"a>b\" u='\"'>text &amp; <![CDATA[<no/>]]><?pi <no/>?><c/></r>\n";
    CXmlDocument doc;
    EXPECT_TRUE(doc.SetText(text)) << std::string(doc.GetResult().begin(), doc.GetResult().end());
    EXPECT_EQ(doc.GetText(), text);
    ASSERT_TRUE(Walk(doc, {u"r"}));
    EXPECT_EQ(doc.GetAttribute(u"t"), u"a>b");
    EXPECT_EQ(doc.GetAttribute(u"u"), u"\"");
    EXPECT_EQ(ChildNames(doc), u"c ");
}

TEST(XmlDocumentParse, LoneEndTagIsReportedAndIgnored) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText(u"<a><b/></c><d/></a>"));
    EXPECT_TRUE(ResultHas(doc, u"<lone_end_tag tagname=\"c\" offset=\"7\"/>"));
    ASSERT_TRUE(Walk(doc, {u"a"}));
    EXPECT_EQ(ChildNames(doc), u"b d ");
    EXPECT_TRUE(doc.CheckIndex());

    // Elements opened after a lone end tag are still closed by their own end tags.
    EXPECT_FALSE(doc.SetText(u"<a></x><b><c></b></a>"));
    EXPECT_EQ(doc.GetResult(), u"<lone_end_tag tagname=\"x\" offset=\"3\"/>"
                               u"<unended_start_tag tagname=\"c\" offset=\"10\" offset2=\"13\"/>");
}

TEST(XmlDocumentParse, UnendedStartTagGivesUpItsChildren) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText(u"<a><b><c/><d></d></a><e/>"));
    EXPECT_TRUE(ResultHas(doc, u"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"17\"/>"));
    EXPECT_TRUE(ResultHas(doc, u"<root_has_sibling/>"));
    ASSERT_TRUE(Walk(doc, {u"a"}));
    EXPECT_EQ(ChildNames(doc), u"b c d ");
    ASSERT_TRUE(Walk(doc, {u"a", u"b"}));
    EXPECT_EQ(ChildNames(doc), u"");
    EXPECT_TRUE(doc.CheckIndex());

    // At the end of the text every open element is unended, nested ones included.
    EXPECT_FALSE(doc.SetText(u"<a><b><c><d/>"));
    doc.ResetPosition();
    std::u16string top;
    while (doc.FindElement(u""))
        top += doc.GetTagName();
    EXPECT_EQ(top, u"abcd");
    EXPECT_TRUE(doc.CheckIndex());
}

TEST(XmlDocumentParse, BuildingOnMalformedTextKeepsTheIndexSound) {
    CXmlDocument doc;
    doc.SetText(u"<r><a><c/></r>");
    ASSERT_TRUE(Walk(doc, {u"r", u"a"}));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(u"b"));
    EXPECT_EQ(doc.GetText(), u"<r><a>\r\n<b/>\r\n<c/></r>");
    ASSERT_TRUE(doc.AddElement(u"b2"));
    ASSERT_TRUE(doc.SetAttribute(u"k", u"v"));
    EXPECT_TRUE(doc.CheckIndex());
    ASSERT_TRUE(Walk(doc, {u"r", u"c"}));
}

TEST(XmlDocumentParse, SyntaxErrorsAreRecordedAndReadingGoesOn) {
    const struct {
        std::u16string_view Text;
        std::u16string_view Record;
    } cases[] = {
        {u"<r>< x><y/></r>", u"<first_tag_syntax offset=\"3\"/>"},
        {u"<r><!#x><y/></r>", u"<exclamation_tag_syntax offset=\"3\"/>"},
        {u"<r><!-x><y/></r>", u"<comment_tag_syntax offset=\"3\"/>"},
        {u"<r><![CDTA[x]]><y/></r>", u"<cdata_section_syntax offset=\"3\"/>"},
        {u"<!DOCTYPE r [ ] x><r><y/></r>", u"<doctype_tag_syntax offset=\"0\"/>"},
        {u"<r><y/></r><!-- open", u"<unterminated_tag_syntax type=\"comment\" offset=\"11\"/>"},
        {u"<r><y/></r><![CDATA[", u"<unterminated_tag_syntax type=\"cdata_section\" offset=\"11\"/>"},
        {u"<r><y/></r><?pi", u"<unterminated_tag_syntax type=\"processing_instruction\" offset=\"11\"/>"},
        {u"<r><y/></r><", u"<unterminated_tag_syntax type=\"tag\" offset=\"11\"/>"},
        {u"<r><y/></r></r", u"<unterminated_tag_syntax type=\"end_tag\" offset=\"11\"/>"},
        {u"<r><y/></r><z a=\">", u"<unterminated_tag_syntax type=\"start_tag\" offset=\"11\"/>"},
    };
    for (const auto& c : cases) {
        CXmlDocument doc;
        EXPECT_FALSE(doc.SetText(std::u16string(c.Text)));
        EXPECT_TRUE(ResultHas(doc, c.Record)) << std::string(c.Text.begin(), c.Text.end());
        ASSERT_TRUE(Walk(doc, {u"r", u"y"})) << std::string(c.Text.begin(), c.Text.end());
        EXPECT_TRUE(doc.CheckIndex());
    }
}

TEST(XmlDocumentParse, ResultStopsGrowingAfterItsLimit) {
    std::u16string text = u"<a>";
    for (int i = 0; i < 2000; ++i)
        text += u"</b>";
    text += u"</a>";
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText(text));
    EXPECT_GT(doc.GetResult().size(), 999u);
    EXPECT_LT(doc.GetResult().size(), 1100u);
    ASSERT_TRUE(Walk(doc, {u"a"}));
}

TEST(XmlDocumentParse, LongTagsKeepTheirFullLengths) {
    // Names and tags longer than packed length fields could hold.
    const std::u16string name(3000, u'n');
    const std::u16string value(5'000'000, u'v');
    const std::u16string text = u"<r><" + name + u" t=\"" + value + u"\"><c/></" + name + u"><d/></r>";
    CXmlDocument doc;
    EXPECT_TRUE(doc.SetText(text));
    ASSERT_TRUE(Walk(doc, {u"r", name, u"c"}));
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.GetAttribute(u"t").size(), value.size());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(u"e"));
    EXPECT_TRUE(doc.CheckIndex());
    ASSERT_TRUE(Walk(doc, {u"r", u"d"}));
}

TEST(XmlDocumentParse, DeepNestingNeedsNoDeepStack) {
    std::u16string text;
    constexpr int depth = 200000;
    for (int i = 0; i < depth; ++i)
        text += u"<e>";
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText(text)); // every element unended
    EXPECT_TRUE(doc.CheckIndex());
    for (int i = 0; i < depth; ++i)
        text += u"</e>";
    EXPECT_TRUE(doc.SetText(text));
    EXPECT_TRUE(doc.CheckIndex());
    int entered = 0;
    while (doc.FindElement(u"e") && doc.EnterElement())
        ++entered;
    EXPECT_EQ(entered, depth);
    EXPECT_TRUE(doc.AddElement(u"x")); // an edit at the bottom reaches every ancestor
    EXPECT_TRUE(doc.CheckIndex());
    EXPECT_EQ(doc.GetText().substr(depth * 3, 12), u"\r\n<x/>\r\n</e>");
}

} // namespace
