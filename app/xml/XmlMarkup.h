#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

// Reading the parts of one tag: its name and its attributes. Every position is an offset into the
// tag text given, which starts with "<" and, for a complete tag, ends with ">".

namespace XmlCharacters {
// A set of characters below 64, as bits: each test of a character is a comparison and a shift.
constexpr std::uint64_t Set(std::initializer_list<char> characters) {
    std::uint64_t set = 0;
    for (const char c : characters)
        set |= std::uint64_t{1} << c;
    return set;
}
constexpr bool In(std::uint64_t set, char16_t c) {
    return c < 64 && ((set >> c) & 1) != 0;
}
constexpr std::uint64_t Spaces = Set({' ', '\t', '\r', '\n'});
// What ends a tag's name: white space, "/" or ">".
constexpr std::uint64_t TagNameEnds = Spaces | Set({'/', '>'});
// What ends an attribute's name: white space, "=", "/", ">" or a quote.
constexpr std::uint64_t AttributeNameEnds = TagNameEnds | Set({'=', '"', '\''});
// What the search for a start tag's end stops at: a quote or ">".
constexpr std::uint64_t QuotesAndTagEnd = Set({'"', '\'', '>'});
} // namespace XmlCharacters

inline bool IsXmlSpace(char16_t c) {
    return XmlCharacters::In(XmlCharacters::Spaces, c);
}

// Exact equality of two names or texts; one comparison per character.
inline bool SameText(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// End of the tag's name: the first token after "<", ending at white space, "/" or ">".
std::size_t TagNameEnd(std::u16string_view tag);

// Whether the name is usable for an element or attribute the engine writes.
bool IsWritableName(std::u16string_view name);

struct SXmlAttributeSpan {
    std::size_t NameStart = 0, NameEnd = 0;
    bool HasEquals = false;
    // The value as written, quotes included; empty (at the name's end) without "=".
    std::size_t TokenStart = 0, TokenEnd = 0;
    // The value inside its quotes.
    std::size_t ValueStart = 0, ValueEnd = 0;
};

// Walks the attributes of a start tag (or of a declaration such as "<?xml ...?>"). Tolerates any
// malformed text: a name without "=" has an empty value, a value without quotes must follow "="
// directly and ends at white space or a quote, and a stray quoted part is skipped. Quotes pair up as they do
// when the parser looks for the tag's end, so what lies outside quotes for one lies outside quotes for the
// other.
class CXmlAttributeScanner {
public:
    explicit CXmlAttributeScanner(std::u16string_view tag) : m_Tag(tag), m_Pos(TagNameEnd(tag)) {}
    bool Next(SXmlAttributeSpan& span);
    // Finds the first attribute of that name, exactly or ignoring ASCII case.
    bool Find(std::u16string_view name, SXmlAttributeSpan& span, bool ignoreCase = false);

private:
    std::u16string_view m_Tag;
    std::size_t m_Pos;
};

bool EqualsIgnoreAsciiCase(std::u16string_view a, std::u16string_view b);
