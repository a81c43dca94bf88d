// The engine against libxml2: for well-formed documents both must see the same element tree and the
// same decoded attribute values.
#include "xml/XmlDocument.h"
#include "xml/XmlEncoding.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

struct STree {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Attributes; // sorted by name
    std::vector<STree> Children;
    bool operator==(const STree&) const = default;
};

std::string Utf8(std::u16string_view text) {
    std::string out;
    bool loss = false;
    XmlEncoding::AppendUtf16AsUtf8(text, out, loss);
    return out;
}

std::string Dump(const STree& tree) {
    std::string out = "<" + tree.Name;
    for (const auto& [name, value] : tree.Attributes)
        out += " " + name + "=[" + value + "]";
    out += ">";
    for (const STree& child : tree.Children)
        out += Dump(child);
    return out + "</>";
}

STree FromEngine(CXmlDocument& doc) {
    STree tree;
    tree.Name = Utf8(doc.GetTagName());
    for (std::size_t n = 0;; ++n) {
        const std::u16string name = doc.GetAttributeName(n);
        if (name.empty())
            break;
        tree.Attributes.emplace_back(Utf8(name), Utf8(doc.GetAttribute(name)));
    }
    std::sort(tree.Attributes.begin(), tree.Attributes.end());
    doc.EnterElement();
    while (doc.FindElement(u""))
        tree.Children.push_back(FromEngine(doc));
    doc.LeaveElement();
    return tree;
}

std::string Text(const xmlChar* text) {
    return text ? reinterpret_cast<const char*>(text) : "";
}

std::string QualifiedName(const xmlNs* ns, const xmlChar* name) {
    return ns && ns->prefix ? Text(ns->prefix) + ":" + Text(name) : Text(name);
}

STree FromLibxml(xmlNode* node) {
    STree tree;
    tree.Name = QualifiedName(node->ns, node->name);
    for (const xmlNs* ns = node->nsDef; ns; ns = ns->next)
        tree.Attributes.emplace_back(ns->prefix ? "xmlns:" + Text(ns->prefix) : "xmlns", Text(ns->href));
    for (xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
        xmlChar* value = xmlNodeListGetString(node->doc, attribute->children, 1);
        tree.Attributes.emplace_back(QualifiedName(attribute->ns, attribute->name), Text(value));
        xmlFree(value);
    }
    std::sort(tree.Attributes.begin(), tree.Attributes.end());
    for (xmlNode* child = node->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE)
            tree.Children.push_back(FromLibxml(child));
    return tree;
}

constexpr int LibxmlOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// Compares both readings of a document; libxml2 must accept it.
void ExpectSameTree(CXmlDocument& doc, xmlDoc* reference, const std::string& what) {
    ASSERT_NE(reference, nullptr) << what << ": not well-formed for libxml2";
    EXPECT_TRUE(doc.IsWellFormed()) << what << ": " << Utf8(doc.GetResult());
    EXPECT_TRUE(doc.CheckIndex()) << what;
    doc.ResetPosition();
    ASSERT_TRUE(doc.FindElement(u"")) << what;
    const STree ours = FromEngine(doc);
    EXPECT_FALSE(doc.FindElement(u"")) << what << ": a second top-level element";
    const STree theirs = FromLibxml(xmlDocGetRootElement(reference));
    EXPECT_TRUE(ours == theirs) << what << "\n ours:    " << Dump(ours) << "\n libxml2: " << Dump(theirs);
    xmlFreeDoc(reference);
}

TEST(XmlDifferential, CorpusFilesReadAsLibxml2ReadsThem) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(ZELK_XML_CORPUS))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 10u);
    for (const auto& path : files) {
        CXmlDocument doc;
        ASSERT_TRUE(doc.LoadFile(path)) << path;
        ExpectSameTree(doc, xmlReadFile(path.c_str(), nullptr, LibxmlOptions), path.filename().string());
    }
}

// Random well-formed documents with every node kind, both quote styles, references of all sorts and
// characters beyond U+FFFF.
class CDocumentGenerator {
public:
    explicit CDocumentGenerator(unsigned seed) : m_Random(seed) {}

    std::u16string Document() {
        std::u16string text;
        if (Chance(2))
            text += u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
        if (Chance(3))
            text += u"<!DOCTYPE root [\n<!ELEMENT root ANY>\n<!-- ] > -->\n<!ENTITY e \"<x>\">\n]>\n";
        text += Misc();
        Element(text, 0);
        text += Misc();
        return text;
    }

private:
    bool Chance(int oneIn) { return Pick(oneIn) == 0; }
    std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_Random); }
    template <std::size_t N> std::u16string_view PickFrom(const std::u16string_view (&items)[N]) {
        return items[Pick(N)];
    }

    std::u16string Misc() {
        static constexpr std::u16string_view items[] = {u"", u"\r\n", u"<!-- note <a b='c'/> -->",
                                                        u"<?pi <x/>?>", u" "};
        return std::u16string(PickFrom(items));
    }

    std::u16string Space() {
        static constexpr std::u16string_view items[] = {u" ", u"  ", u"\r\n", u"\t", u"\n "};
        return std::u16string(PickFrom(items));
    }

    std::u16string Value(char16_t quote) {
        static constexpr std::u16string_view pieces[] = {u"abc",
                                                         u"Key 1",
                                                         u" ",
                                                         u"&amp;",
                                                         u"&lt;",
                                                         u"&gt;",
                                                         u"&quot;",
                                                         u"&apos;",
                                                         u"&#233;",
                                                         u"&#x20AC;",
                                                         u"&#x1F600;",
                                                         u"&#10;",
                                                         u"&#9;",
                                                         u"&#x3c;",
                                                         u"\u00e9",
                                                         u"\u4e2d\u6587",
                                                         u"\U0001F600",
                                                         u">",
                                                         u"&lt;20 ms&gt;",
                                                         u"=",
                                                         u"/",
                                                         u";",
                                                         u"#"};
        std::u16string value;
        const std::size_t count = Pick(8);
        for (std::size_t i = 0; i < count; ++i) {
            value += PickFrom(pieces);
            if (Chance(4))
                value += quote == u'"' ? u'\'' : u'"';
        }
        return value;
    }

    void Element(std::u16string& text, int depth) {
        static constexpr std::u16string_view names[] = {
            u"a",       u"List",  u"x", u"KEY", u"ComboKey", u"b1", u"d\u00e9j\u00e0", u"\u540d\u524d",
            u"x-y.z_1", u"\u03a9"};
        static constexpr std::u16string_view attributes[] = {
            u"ID", u"t1", u"Level", u"value", u"na\u00efve", u"\u5c5e\u6027", u"x", u"y"};
        const std::u16string name(depth == 0 ? u"root" : PickFrom(names));
        text += u'<';
        text += name;
        std::vector<std::u16string_view> used;
        for (std::size_t i = Pick(4); i > 0; --i) {
            const std::u16string_view attribute = PickFrom(attributes);
            if (std::find(used.begin(), used.end(), attribute) != used.end())
                continue;
            used.push_back(attribute);
            const char16_t quote = Chance(2) ? u'"' : u'\'';
            text += Space();
            text += attribute;
            text += Chance(4) ? u" = " : u"=";
            text += quote;
            text += Value(quote);
            text += quote;
        }
        if (Chance(5))
            text += Space();
        const std::size_t children = depth < 5 ? Pick(5) : 0;
        if (children == 0 && Chance(2)) {
            text += u"/>";
            return;
        }
        text += u'>';
        for (std::size_t i = 0; i < children; ++i) {
            text += Content();
            Element(text, depth + 1);
        }
        text += Content();
        text += u"</";
        text += name;
        if (Chance(6))
            text += Space();
        text += u'>';
    }

    std::u16string Content() {
        static constexpr std::u16string_view items[] = {u"",
                                                        u"\r\n",
                                                        u"text &amp; more",
                                                        u"<!-- c > x -->",
                                                        u"<![CDATA[<fake a='1'/> & ]]>",
                                                        u"<?pi data?>",
                                                        u"&#x41;&lt;",
                                                        u"\u4e2d ]] > \U0001F600"};
        return std::u16string(PickFrom(items));
    }

    std::mt19937 m_Random;
};

TEST(XmlDifferential, GeneratedDocumentsReadAsLibxml2ReadsThem) {
    CDocumentGenerator generator(20240611);
    for (int i = 0; i < 400; ++i) {
        const std::u16string text = generator.Document();
        const std::string bytes = Utf8(text);
        CXmlDocument doc;
        doc.SetText(text);
        ExpectSameTree(doc,
                       xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "generated.xml", "UTF-8",
                                     LibxmlOptions),
                       "document " + std::to_string(i) + ":\n" + bytes);
        if (HasFailure())
            break;
    }
}

} // namespace
