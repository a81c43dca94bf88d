#include "xml/XmlParser.h"

#include "xml/XmlElementIndex.h"
#include "xml/XmlMarkup.h"
#include "xml/XmlResult.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::size_t npos = std::u16string_view::npos;

// One node read from the text. Text between tags needs no record and is never returned.
struct SNode {
    enum EKind { StartTag, EndTag, Other, SyntaxError, Unterminated };
    EKind Kind = Other;
    std::size_t End = 0;     // offset after the node
    std::size_t NameEnd = 0; // tags: end of the name
    bool EmptyForm = false;
    std::u16string_view Error; // the record name of a syntax error, or the unterminated node's type
};

class CParser {
public:
    CParser(std::u16string_view text, CXmlElementIndex& index, CXmlResult& result, std::size_t maxElements)
        : m_Text(text), m_Index(index), m_Result(result), m_MaxElements(maxElements) {}

    bool Run();

private:
    struct SOpen {
        std::uint32_t Element;
        std::u16string_view Name;
        std::size_t* NameCount;
    };

    SNode ReadNode(std::size_t at) const;
    SNode ReadDeclaration(std::size_t at) const;
    std::size_t SkipPast(std::size_t from, std::u16string_view end) const;
    SNode Fail(std::u16string_view error, std::size_t at) const;

    void OpenElement(std::size_t at, const SNode& node);
    void CloseElement(std::size_t at, const SNode& node);
    void CloseUnended(std::size_t keep, std::size_t at);
    void AddOffsetRecord(std::u16string_view record, std::size_t at);

    std::u16string_view m_Text;
    CXmlElementIndex& m_Index;
    CXmlResult& m_Result;
    std::size_t m_MaxElements;
    std::vector<SOpen> m_Open;
    // How many open elements bear each name, so a lone end tag is known without walking the stack. Kept
    // from the first end tag that does not close the innermost element on (well-formed text needs none).
    std::unordered_map<std::u16string_view, std::size_t> m_OpenNames;
    bool m_Counting = false;
    bool m_Faulty = false;
};

// Offset after the next occurrence of `end` at or after `from`, npos when there is none.
std::size_t CParser::SkipPast(std::size_t from, std::u16string_view end) const {
    const std::size_t found = m_Text.find(end, from);
    return found == npos ? npos : found + end.size();
}

// A tag that cannot be read: the rest of it up to the next ">" is skipped.
SNode CParser::Fail(std::u16string_view error, std::size_t at) const {
    SNode node;
    node.Kind = SNode::SyntaxError;
    node.Error = error;
    const std::size_t gt = SkipPast(at + 1, u">");
    node.End = gt == npos ? m_Text.size() : gt;
    return node;
}

SNode CParser::ReadNode(std::size_t at) const {
    const std::size_t n = m_Text.size();
    SNode node;
    auto unterminated = [&](std::u16string_view type) {
        node.Kind = SNode::Unterminated;
        node.Error = type;
        node.End = n;
        return node;
    };
    auto closedBy = [&](std::size_t from, std::u16string_view end, std::u16string_view type) {
        const std::size_t past = SkipPast(from, end);
        if (past == npos)
            return unterminated(type);
        node.Kind = SNode::Other;
        node.End = past;
        return node;
    };

    if (at + 1 >= n)
        return unterminated(u"tag");
    const char16_t c = m_Text[at + 1];
    if (c == u'/') {
        std::size_t i = at + 2;
        while (i < n && !IsXmlSpace(m_Text[i]) && m_Text[i] != u'>')
            ++i;
        if (i == at + 2 && i < n)
            return Fail(u"first_tag_syntax", at);
        const std::size_t past = SkipPast(i, u">");
        if (past == npos)
            return unterminated(u"end_tag");
        node.Kind = SNode::EndTag;
        node.NameEnd = i;
        node.End = past;
        return node;
    }
    if (c == u'?')
        return closedBy(at + 2, u"?>", u"processing_instruction");
    if (c == u'!') {
        const std::u16string_view rest = m_Text.substr(at + 2);
        if (rest.empty())
            return unterminated(u"tag");
        if (rest[0] == u'-') {
            if (rest.size() < 2)
                return unterminated(u"comment");
            if (rest[1] != u'-')
                return Fail(u"comment_tag_syntax", at);
            return closedBy(at + 4, u"-->", u"comment");
        }
        if (rest[0] == u'[') {
            constexpr std::u16string_view open = u"[CDATA[";
            const std::size_t common = std::min(open.size(), rest.size());
            if (rest.substr(0, common) != open.substr(0, common))
                return Fail(u"cdata_section_syntax", at);
            if (common < open.size())
                return unterminated(u"cdata_section");
            return closedBy(at + 2 + open.size(), u"]]>", u"cdata_section");
        }
        if ((rest[0] >= u'A' && rest[0] <= u'Z') || (rest[0] >= u'a' && rest[0] <= u'z'))
            return ReadDeclaration(at);
        return Fail(u"exclamation_tag_syntax", at);
    }
    if (IsXmlSpace(c) || c == u'<' || c == u'>' || c == u'=' || c == u'"' || c == u'\'')
        return Fail(u"first_tag_syntax", at);

    std::size_t i = at + 1;
    while (i < n && !XmlCharacters::In(XmlCharacters::TagNameEnds, m_Text[i]))
        ++i;
    node.NameEnd = i;
    // The tag ends at the first ">" outside quotes.
    while (i < n) {
        const char16_t d = m_Text[i];
        if (!XmlCharacters::In(XmlCharacters::QuotesAndTagEnd, d)) {
            ++i;
            continue;
        }
        if (d == u'>')
            break;
        for (++i; i < n && m_Text[i] != d;)
            ++i;
        if (i < n)
            ++i;
    }
    if (i >= n)
        return unterminated(u"start_tag");
    node.Kind = SNode::StartTag;
    node.End = i + 1;
    node.EmptyForm = m_Text[i - 1] == u'/';
    return node;
}

// "<!DOCTYPE ...>" or another declaration, with an internal subset in brackets.
SNode CParser::ReadDeclaration(std::size_t at) const {
    const std::size_t n = m_Text.size();
    SNode node;
    char16_t quote = 0;
    bool inSubset = false;
    bool subsetDone = false;
    for (std::size_t i = at + 2; i < n; ++i) {
        const char16_t c = m_Text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (inSubset) {
            if (c == u']') {
                inSubset = false;
                subsetDone = true;
            } else if (c == u'<' && m_Text.substr(i, 4) == u"<!--") {
                const std::size_t past = SkipPast(i + 4, u"-->");
                if (past == npos)
                    break;
                i = past - 1;
            }
        } else if (c == u'>') {
            node.Kind = SNode::Other;
            node.End = i + 1;
            return node;
        } else if (c == u'[' && !subsetDone) {
            inSubset = true;
        } else if (subsetDone && !IsXmlSpace(c)) {
            return Fail(u"doctype_tag_syntax", i - 1);
        }
    }
    node.Kind = SNode::Unterminated;
    node.Error = u"document_type";
    node.End = n;
    return node;
}

void CParser::AddOffsetRecord(std::u16string_view record, std::size_t at) {
    if (!m_Result.IsFull())
        m_Result.Add(record, {{u"offset", CXmlResult::Number(static_cast<long long>(at))}});
}

void CParser::OpenElement(std::size_t at, const SNode& node) {
    SXmlElement element;
    element.Start = at;
    element.StartTagLength = node.End - at;
    const std::uint32_t parent = m_Open.empty() ? 0 : m_Open.back().Element;
    if (node.EmptyForm) {
        element.Length = element.StartTagLength;
        element.Flags = SXmlElement::EmptyForm;
    }
    const std::uint32_t index = m_Index.Append(element);
    m_Index.LinkLastChild(parent, index);
    if (!node.EmptyForm) {
        const std::u16string_view name = m_Text.substr(at + 1, node.NameEnd - at - 1);
        std::size_t* count = nullptr;
        if (m_Counting) {
            count = &m_OpenNames[name];
            ++*count;
        }
        m_Open.push_back({index, name, count});
    }
}

// Closes every open element above position `keep` of the stack as unended; `at` is where the text
// that ended them starts.
void CParser::CloseUnended(std::size_t keep, std::size_t at) {
    for (std::size_t i = keep; i < m_Open.size(); ++i) {
        const SOpen& open = m_Open[i];
        SXmlElement& element = m_Index[open.Element];
        element.Length = element.StartTagLength;
        element.Flags |= SXmlElement::Unended;
        m_Index.MoveChildrenAfter(open.Element);
        if (open.NameCount)
            --*open.NameCount;
        if (!m_Result.IsFull())
            m_Result.Add(u"unended_start_tag",
                         {{u"tagname", open.Name},
                          {u"offset", CXmlResult::Number(static_cast<long long>(element.Start))},
                          {u"offset2", CXmlResult::Number(static_cast<long long>(at))}});
    }
    if (keep < m_Open.size())
        m_Faulty = true;
    m_Open.resize(keep);
}

void CParser::CloseElement(std::size_t at, const SNode& node) {
    const std::u16string_view name = m_Text.substr(at + 2, node.NameEnd - at - 2);
    std::size_t match = m_Open.size();
    if (!m_Open.empty() && SameText(m_Open.back().Name, name)) {
        match = m_Open.size() - 1;
    } else {
        if (!m_Counting) {
            m_Counting = true;
            for (SOpen& open : m_Open) {
                open.NameCount = &m_OpenNames[open.Name];
                ++*open.NameCount;
            }
        }
        const auto counted = m_OpenNames.find(name);
        if (counted != m_OpenNames.end() && counted->second > 0) {
            match = m_Open.size() - 1;
            while (!SameText(m_Open[match].Name, name))
                --match;
        }
    }
    if (match == m_Open.size()) {
        m_Faulty = true;
        if (!m_Result.IsFull())
            m_Result.Add(u"lone_end_tag",
                         {{u"tagname", name}, {u"offset", CXmlResult::Number(static_cast<long long>(at))}});
        return;
    }
    CloseUnended(match + 1, at);
    SXmlElement& element = m_Index[m_Open[match].Element];
    element.Length = node.End - element.Start;
    element.EndTagLength = node.End - at;
    if (m_Open[match].NameCount)
        --*m_Open[match].NameCount;
    m_Open.pop_back();
}

bool CParser::Run() {
    const std::size_t n = m_Text.size();
    m_Index.Reset(n);
    std::size_t at = m_Text.find(u'<');
    while (at != npos && at < n) {
        const SNode node = ReadNode(at);
        if (node.Kind == SNode::StartTag && m_Index.Size() > m_MaxElements) {
            m_Faulty = true;
            m_Index[0].Flags |= SXmlElement::TooManyElements;
            AddOffsetRecord(u"too_many_elements", at);
            break;
        }
        switch (node.Kind) {
        case SNode::StartTag:
            OpenElement(at, node);
            break;
        case SNode::EndTag:
            CloseElement(at, node);
            break;
        case SNode::Other:
            break;
        case SNode::SyntaxError:
            m_Faulty = true;
            AddOffsetRecord(node.Error, at);
            break;
        case SNode::Unterminated:
            m_Faulty = true;
            if (!m_Result.IsFull())
                m_Result.Add(
                    u"unterminated_tag_syntax",
                    {{u"type", node.Error}, {u"offset", CXmlResult::Number(static_cast<long long>(at))}});
            break;
        }
        at = m_Text.find(u'<', node.End);
    }
    CloseUnended(0, n);

    const std::uint32_t root = m_Index[0].FirstChild;
    if (root == 0) {
        m_Faulty = true;
        m_Result.Add(u"no_root_element");
    } else if (m_Index[root].NextSibling != 0) {
        m_Faulty = true;
        m_Result.Add(u"root_has_sibling");
    }
    if (m_Faulty)
        m_Index[0].Flags |= SXmlElement::NotWellFormed;
    return !m_Faulty;
}

} // namespace

bool ParseXmlText(std::u16string_view text, CXmlElementIndex& index, CXmlResult& result,
                  std::size_t maxElements) {
    CParser parser(text, index, result, maxElements);
    return parser.Run();
}
