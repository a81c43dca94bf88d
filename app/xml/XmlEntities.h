#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// One named character entity: the five of XML and the HTML 4 character entities.
struct SXmlEntity {
    std::string_view Name;
    char32_t CodePoint;
};

// All named entities, sorted by name (byte order) for lookup.
std::span<const SXmlEntity> XmlEntityTable();

// The code point of a named entity: the exact name first, then the name folded to lower case;
// 0 when unknown.
char32_t LookupEntity(std::string_view name);

// Attribute value escaping: & < > " ' become entity references, everything else is kept.
void AppendEscapedAttribute(std::u16string& out, std::u16string_view value);
std::u16string EscapeAttribute(std::u16string_view value);
// The length of the escaped value.
std::size_t EscapedAttributeLength(std::u16string_view value);

// Replaces every reference "&...;" of at most 9 characters between "&" and ";" (decimal or
// hexadecimal character number, or entity name); anything else keeps its literal "&".
std::u16string DecodeReferences(std::u16string_view value);
void AppendDecodedReferences(std::u16string& out, std::u16string_view value);

// Appends one code point as UTF-16 (a surrogate pair above U+FFFF).
void AppendCodePoint(std::u16string& out, char32_t codePoint);
