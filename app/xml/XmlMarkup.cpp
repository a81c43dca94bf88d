#include "xml/XmlMarkup.h"

namespace {

bool IsQuote(char16_t c) {
    return c == u'"' || c == u'\'';
}

char16_t FoldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

} // namespace

std::size_t TagNameEnd(std::u16string_view tag) {
    std::size_t i = tag.empty() ? 0 : 1;
    while (i < tag.size() && !XmlCharacters::In(XmlCharacters::TagNameEnds, tag[i]))
        ++i;
    return i;
}

bool IsWritableName(std::u16string_view name) {
    if (name.empty())
        return false;
    for (const char16_t c : name) {
        if (c < 0x20 || IsXmlSpace(c) || IsQuote(c))
            return false;
        switch (c) {
        case u'<':
        case u'>':
        case u'/':
        case u'=':
        case u'&':
        case u'!':
        case u'?':
            return false;
        default:
            break;
        }
    }
    return true;
}

bool EqualsIgnoreAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

bool CXmlAttributeScanner::Next(SXmlAttributeSpan& span) {
    const std::size_t n = m_Tag.size();
    for (;;) {
        while (m_Pos < n && (IsXmlSpace(m_Tag[m_Pos]) || m_Tag[m_Pos] == u'/'))
            ++m_Pos;
        if (m_Pos >= n || m_Tag[m_Pos] == u'>')
            return false;
        if (m_Tag[m_Pos] == u'=') {
            ++m_Pos; // stray character where a name belongs
            continue;
        }
        if (IsQuote(m_Tag[m_Pos])) {
            // A stray quoted part is skipped whole, pairing quotes as the parser did when it looked
            // for the tag's end.
            const char16_t quote = m_Tag[m_Pos++];
            while (m_Pos < n && m_Tag[m_Pos] != quote)
                ++m_Pos;
            if (m_Pos < n)
                ++m_Pos;
            continue;
        }
        break;
    }
    span = SXmlAttributeSpan{};
    span.NameStart = m_Pos;
    while (m_Pos < n && !XmlCharacters::In(XmlCharacters::AttributeNameEnds, m_Tag[m_Pos]))
        ++m_Pos;
    span.NameEnd = m_Pos;
    span.TokenStart = span.TokenEnd = span.ValueStart = span.ValueEnd = m_Pos;

    std::size_t q = m_Pos;
    while (q < n && IsXmlSpace(m_Tag[q]))
        ++q;
    if (q >= n || m_Tag[q] != u'=')
        return true;
    span.HasEquals = true;
    const std::size_t afterEquals = ++q;
    while (q < n && IsXmlSpace(m_Tag[q]))
        ++q;
    if (q != afterEquals && (q >= n || !IsQuote(m_Tag[q]))) {
        // "name= other": no value, and what follows is read as the next attribute.
        q = afterEquals;
    }
    span.TokenStart = q;
    if (q < n && IsQuote(m_Tag[q])) {
        const char16_t quote = m_Tag[q];
        span.ValueStart = q + 1;
        std::size_t close = span.ValueStart;
        while (close < n && m_Tag[close] != quote)
            ++close;
        if (close < n) {
            span.ValueEnd = close;
            span.TokenEnd = close + 1;
        } else {
            // Unclosed quote: the value runs to the tag's end, leaving its ">" out.
            span.ValueEnd = (n > span.ValueStart && m_Tag[n - 1] == u'>') ? n - 1 : n;
            span.TokenEnd = span.ValueEnd;
        }
    } else {
        span.ValueStart = q;
        while (q < n && !IsXmlSpace(m_Tag[q]) && m_Tag[q] != u'>' && !IsQuote(m_Tag[q]) &&
               !(m_Tag[q] == u'/' && q + 1 < n && m_Tag[q + 1] == u'>'))
            ++q;
        span.ValueEnd = span.TokenEnd = q;
    }
    m_Pos = span.TokenEnd;
    return true;
}

bool CXmlAttributeScanner::Find(std::u16string_view name, SXmlAttributeSpan& span, bool ignoreCase) {
    while (Next(span)) {
        const std::u16string_view found = m_Tag.substr(span.NameStart, span.NameEnd - span.NameStart);
        if (ignoreCase ? EqualsIgnoreAsciiCase(found, name) : SameText(found, name))
            return true;
    }
    return false;
}
