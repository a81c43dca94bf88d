#include "xml/XmlDocument.h"

#include "xml/XmlCodec.h"
#include "xml/XmlEncoding.h"
#include "xml/XmlEntities.h"
#include "xml/XmlMarkup.h"
#include "xml/XmlParser.h"

#include "zelk/RegularFile.h"

#include <algorithm>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr std::u16string_view LineEnd = u"\r\n";

void AddFileError(CXmlResult& result, int error) {
    std::string message = std::strerror(error);
    message = message.substr(0, message.find('\n'));
    std::u16string text;
    XmlEncoding::AppendUtf8AsUtf16(message, text);
    result.Add(u"file_error", {{u"msg", text}, {u"n", CXmlResult::Number(error)}});
}

// A quick test before the attribute scan: an attribute's name appears in the tag after its name.
bool MayHaveAttribute(std::u16string_view tag, std::u16string_view name) {
    return !name.empty() && tag.find(name, TagNameEnd(tag)) != std::u16string_view::npos;
}

// fopen with the path in the system's own file-name encoding (wide on Windows), for writing.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#if defined(_WIN32)
    const std::string narrow(mode);
    return _wfopen(path.c_str(), std::wstring(narrow.begin(), narrow.end()).c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

} // namespace

CXmlDocument::CXmlDocument() {
    m_Index.Free();
}

bool CXmlDocument::SetText(const char16_t* text) {
    if (!text) {
        m_Text.clear();
        m_Text.shrink_to_fit();
        m_Result.Clear();
        Parse();
        m_Index.Free();
        return false;
    }
    return SetText(std::u16string(text));
}

bool CXmlDocument::SetText(std::u16string text) {
    m_Text = std::move(text);
    m_Result.Clear();
    Parse();
    return IsWellFormed();
}

bool CXmlDocument::IsWellFormed() const {
    return m_Index[0].FirstChild != 0 && !(m_Index[0].Flags & SXmlElement::NotWellFormed);
}

void CXmlDocument::Parse(std::size_t maxElements) {
    ParseXmlText(m_Text, m_Index, m_Result, maxElements);
    ResetCursor();
}

bool CXmlDocument::ReachedElementLimit() const {
    return (m_Index[0].Flags & SXmlElement::TooManyElements) != 0;
}

// Only a top-level element can be left open by the end of the text (an end tag further in closes
// everything it encloses), so its mark tells.
bool CXmlDocument::EndsInsideAnElement() const {
    if (IsWellFormed())
        return false;
    for (std::uint32_t element = m_Index[0].FirstChild; element != 0; element = m_Index[element].NextSibling)
        if (m_Index[element].Flags & SXmlElement::Unended)
            return true;
    return false;
}

void CXmlDocument::ResetCursor() {
    m_Parent = m_Current = m_Child = 0;
}

bool CXmlDocument::LoadFile(const std::filesystem::path& path) {
    CProblem problem;
    return LoadFile(path, std::numeric_limits<std::uintmax_t>::max(), std::numeric_limits<std::size_t>::max(),
                    problem);
}

bool CXmlDocument::LoadFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                            std::size_t maxElements, CProblem& problem) {
    m_Result.Clear();
    m_Text.clear();
    m_Text.shrink_to_fit(); // the old text is not kept beside the new one
    const auto fail = [&](int error) {
        m_Result.Clear();
        AddFileError(m_Result, error);
        m_Text.clear();
        m_Text.shrink_to_fit();
        m_Index.Free();
        ResetCursor();
        return false;
    };
    std::uintmax_t size = 0;
    std::FILE* file = OpenRegularFileForReading(path, size, problem);
    if (file == nullptr)
        return fail(errno != 0 ? errno : EINVAL);
    const CProblem tooLarge(ProblemCode::FileTooLarge, 0, maxBytes);
    if (size > maxBytes) {
        std::fclose(file);
        problem = tooLarge;
        return fail(EFBIG);
    }
    bool failed = false;
    int error = 0;
    std::uintmax_t total = 0;
    const auto read = [&](char* to, std::size_t capacity) -> std::size_t {
        if (total > maxBytes)
            return 0; // the file grew past the bound since its size was taken
        const std::size_t got = std::fread(to, 1, capacity, file);
        total += got;
        if (got < capacity && std::ferror(file)) {
            failed = true;
            error = errno;
            return 0;
        }
        return got;
    };
    m_Text = XmlCodec::ReadDocument(read, static_cast<std::size_t>(size), m_Result);
    if (std::fclose(file) != 0 && !failed) {
        failed = true;
        error = errno;
    }
    if (total > maxBytes) {
        problem = tooLarge;
        return fail(EFBIG);
    }
    if (failed) {
        problem = SystemProblem(error);
        return fail(error);
    }
    Parse(maxElements);
    return true;
}

bool CXmlDocument::SaveFile(const std::filesystem::path& path) {
    m_Result.Clear();
    std::FILE* file = OpenFile(path, "wb");
    if (!file) {
        AddFileError(m_Result, errno);
        return false;
    }
    int error = 0;
    const auto write = [&](const char* bytes, std::size_t length) {
        if (std::fwrite(bytes, 1, length, file) == length)
            return true;
        error = errno;
        return false;
    };
    std::u16string encoding;
    std::size_t length = 0;
    bool ok = XmlCodec::WriteDocument(m_Text, write, m_Result, encoding, length);
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        AddFileError(m_Result, error);
        return false;
    }
    m_Result.Add(u"write",
                 {{u"encoding", encoding}, {u"length", CXmlResult::Number(static_cast<long long>(length))}});
    return true;
}

void CXmlDocument::Reserve(std::size_t textLength, std::size_t elementCount) {
    m_Text.reserve(textLength);
    m_Index.Reserve(elementCount + 1); // record 0 is the document
}

void CXmlDocument::ResetPosition() {
    ResetCursor();
}

std::u16string_view CXmlDocument::StartTag(std::uint32_t element) const {
    const SXmlElement& e = m_Index[element];
    return std::u16string_view(m_Text).substr(e.Start, e.StartTagLength);
}

bool CXmlDocument::HasName(std::uint32_t element, std::u16string_view name) const {
    // The name, then the end of the name (which the name itself does not hold).
    const std::u16string_view tag = StartTag(element);
    return tag.size() > name.size() + 1 && SameText(tag.substr(1, name.size()), name) &&
           XmlCharacters::In(XmlCharacters::TagNameEnds, tag[name.size() + 1]);
}

bool CXmlDocument::FindElement(std::u16string_view name) {
    // No tag's name holds white space, "/" or ">".
    for (const char16_t c : name)
        if (XmlCharacters::In(XmlCharacters::TagNameEnds, c))
            return false;
    std::uint32_t x = m_Current ? m_Index[m_Current].NextSibling : m_Index[m_Parent].FirstChild;
    for (; x; x = m_Index[x].NextSibling) {
        if (name.empty() || HasName(x, name)) {
            m_Current = x;
            m_Child = 0;
            return true;
        }
    }
    return false;
}

bool CXmlDocument::EnterElement() {
    if (!m_Current)
        return false;
    m_Parent = m_Current;
    m_Current = m_Child;
    m_Child = 0;
    return true;
}

bool CXmlDocument::LeaveElement() {
    if (!m_Parent)
        return false;
    m_Child = m_Current;
    m_Current = m_Parent;
    m_Parent = m_Index[m_Current].Parent;
    return true;
}

std::uint32_t CXmlDocument::NewEmptyElement(std::size_t start, std::size_t tagLength) {
    SXmlElement element;
    element.Start = start;
    element.Length = element.StartTagLength = tagLength;
    element.Flags = SXmlElement::EmptyForm;
    return m_Index.Append(element);
}

bool CXmlDocument::AddElement(std::u16string_view name) {
    return AddElement(name, {});
}

bool CXmlDocument::AddElement(std::u16string_view name, std::span<const CXmlAttributeText> attributes) {
    if (!IsWritableName(name))
        return false;
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        bool repeated = false;
        for (std::size_t j = 0; j < i; ++j)
            repeated = repeated || attributes[j].Name == attributes[i].Name;
        if (repeated || !IsWritableName(attributes[i].Name)) {
            // Rare: let each attribute take its turn, as separate SetAttribute calls would.
            if (!AddElement(name))
                return false;
            for (const CXmlAttributeText& attribute : attributes)
                SetAttribute(attribute.Name, attribute.Value);
            return true;
        }
    }
    m_Edit.clear();
    m_Edit += u'<';
    m_Edit += name;
    for (const CXmlAttributeText& attribute : attributes) {
        m_Edit += u' ';
        m_Edit += attribute.Name;
        m_Edit += u"=\"";
        AppendEscapedAttribute(m_Edit, attribute.Value);
        m_Edit += u'"';
    }
    m_Edit += u"/>";
    const std::size_t tagLength = m_Edit.size();
    m_Edit += LineEnd;
    const std::uint32_t parent = m_Parent;
    std::uint32_t added;

    if (parent == 0) {
        added = NewEmptyElement(m_Text.size(), tagLength);
        m_Text += m_Edit;
        m_Index.LinkLastChild(0, added);
        m_Index[0].Length = m_Text.size();
    } else if (const std::uint32_t after = m_Current ? m_Current : m_Index.LastChild(parent)) {
        // After an existing element, past the white space behind it when markup follows, so the new
        // element starts on the line after it.
        const SXmlElement& p = m_Index[parent];
        const std::size_t contentEnd = p.Start + p.Length - p.EndTagLength;
        std::size_t at = m_Index[after].Start + m_Index[after].Length;
        std::size_t q = at;
        while (q < contentEnd && IsXmlSpace(m_Text[q]))
            ++q;
        if (q < m_Text.size() && m_Text[q] == u'<')
            at = q;
        m_Text.insert(at, m_Edit);
        added = NewEmptyElement(at, tagLength);
        m_Index.LinkAfter(after, added);
        m_Index.ShiftBehind(parent, m_Index[added].NextSibling, static_cast<std::ptrdiff_t>(m_Edit.size()));
    } else if (m_Index[parent].Flags & SXmlElement::EmptyForm) {
        // The parent's "/>" opens: its start tag ends with ">", the child follows on its own line, then
        // the parent's new end tag.
        SXmlElement& p = m_Index[parent];
        const std::u16string_view tag = StartTag(parent);
        const std::u16string_view parentName = tag.substr(1, TagNameEnd(tag) - 1);
        m_Edit.insert(0, u">\r\n");
        m_Edit += u"</";
        m_Edit += parentName;
        m_Edit += u'>';
        const std::size_t slash = p.Start + p.StartTagLength - 2;
        p.StartTagLength -= 1;
        p.EndTagLength = parentName.size() + 3;
        p.Flags &= ~SXmlElement::EmptyForm;
        m_Text.replace(slash, 2, m_Edit); // the name's view into the text is not used past here
        const std::size_t childStart = p.Start + p.StartTagLength + LineEnd.size();
        added = NewEmptyElement(childStart, tagLength);
        m_Index.LinkLastChild(parent, added);
        m_Index.ShiftBehind(parent, 0, static_cast<std::ptrdiff_t>(m_Edit.size()) - 2);
    } else {
        // No child yet: before the end tag (or after an unended start tag), on a line of its own.
        const SXmlElement& p = m_Index[parent];
        const std::size_t at = p.Start + p.Length - p.EndTagLength;
        std::size_t inserted = m_Edit.size();
        std::size_t childStart = at;
        if (at == 0 || m_Text[at - 1] != u'\n') {
            m_Edit.insert(0, LineEnd);
            inserted += LineEnd.size();
            childStart += LineEnd.size();
        }
        m_Text.insert(at, m_Edit);
        added = NewEmptyElement(childStart, tagLength);
        m_Index.LinkLastChild(parent, added);
        m_Index.ShiftBehind(parent, 0, static_cast<std::ptrdiff_t>(inserted));
    }
    m_Current = added;
    m_Child = 0;
    return true;
}

bool CXmlDocument::SetAttribute(std::u16string_view name, std::u16string_view value) {
    if (!m_Current || !IsWritableName(name))
        return false;
    SXmlElement& e = m_Index[m_Current];
    const std::u16string_view tag = StartTag(m_Current);
    m_Edit.clear();
    SXmlAttributeSpan span;
    std::size_t at, removed = 0;
    if (MayHaveAttribute(tag, name) && CXmlAttributeScanner(tag).Find(name, span)) {
        if (!span.HasEquals)
            m_Edit += u'=';
        at = span.TokenStart;
        removed = span.TokenEnd - span.TokenStart;
    } else {
        at = tag.size() - ((e.Flags & SXmlElement::EmptyForm) ? 2 : 1);
        m_Edit += u' ';
        m_Edit += name;
        m_Edit += u'=';
    }
    m_Edit += u'"';
    AppendEscapedAttribute(m_Edit, value);
    m_Edit += u'"';
    m_Text.replace(e.Start + at, removed, m_Edit);
    const auto delta = static_cast<std::ptrdiff_t>(m_Edit.size()) - static_cast<std::ptrdiff_t>(removed);
    e.StartTagLength += static_cast<std::size_t>(delta);
    m_Index.ShiftBehind(m_Current, e.FirstChild, delta);
    return true;
}

bool CXmlDocument::SetAttribute(std::u16string_view name, int value) {
    return SetAttribute(name, CXmlResult::Number(value));
}

std::u16string CXmlDocument::GetAttribute(std::u16string_view name) const {
    if (!m_Current)
        return {};
    const std::u16string_view tag = StartTag(m_Current);
    SXmlAttributeSpan span;
    if (!MayHaveAttribute(tag, name) || !CXmlAttributeScanner(tag).Find(name, span))
        return {};
    return DecodeReferences(tag.substr(span.ValueStart, span.ValueEnd - span.ValueStart));
}

std::u16string_view CXmlDocument::CurrentStartTag() const {
    return m_Current ? StartTag(m_Current) : std::u16string_view();
}

std::u16string CXmlDocument::GetAttributeName(std::size_t n) const {
    if (!m_Current)
        return {};
    const std::u16string_view tag = StartTag(m_Current);
    CXmlAttributeScanner scanner(tag);
    SXmlAttributeSpan span;
    for (std::size_t i = 0; scanner.Next(span); ++i)
        if (i == n)
            return std::u16string(tag.substr(span.NameStart, span.NameEnd - span.NameStart));
    return {};
}

std::u16string CXmlDocument::GetTagName() const {
    if (!m_Current)
        return {};
    const std::u16string_view tag = StartTag(m_Current);
    return std::u16string(tag.substr(1, TagNameEnd(tag) - 1));
}

long CXmlDocument::GetLineNumber() const {
    if (!m_Current)
        return 0;
    const auto start = m_Text.begin() + static_cast<std::ptrdiff_t>(m_Index[m_Current].Start);
    return 1 + static_cast<long>(std::count(m_Text.begin(), start, u'\n'));
}

bool CXmlDocument::CheckIndex() const {
    if (!m_Index.IsConsistent(m_Text.size()))
        return false;
    for (std::uint32_t i = 1; i < m_Index.Size(); ++i) {
        const SXmlElement& e = m_Index[i];
        if (m_Text[e.Start] != u'<' || m_Text[e.Start + e.StartTagLength - 1] != u'>')
            return false;
        if (e.EndTagLength && m_Text.compare(e.Start + e.Length - e.EndTagLength, 2, u"</") != 0)
            return false;
    }
    return true;
}
