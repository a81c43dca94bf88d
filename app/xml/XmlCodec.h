#pragma once

#include <string>
#include <string_view>

class CXmlResult;

// Turning the bytes of a document file into its text and back, choosing the encoding the way a
// document declares it.
namespace XmlCodec {

// The encoding a document declares in its first characters: the "encoding" of an "<?xml"
// declaration, or the charset of an HTML "meta" element whose "http-equiv" is "Content-Type".
// Empty when none is declared.
std::u16string FindDeclaredEncoding(std::u16string_view head);

// The text of a file's bytes: a byte-order mark, then a declared encoding, then a leading "<"
// (UTF-8), then a UTF-8 check decide the encoding; the system ANSI code page is the last resort.
// Zero characters are dropped; characters that cannot be read become U+FFFD.
std::u16string DecodeDocumentBytes(std::string bytes, CXmlResult& result);

// The bytes of a text in the encoding it declares (UTF-8 when none is declared or the declared one
// cannot be written), without a byte-order mark. `encoding` receives the name of the encoding used.
std::string EncodeDocumentText(std::u16string_view text, CXmlResult& result, std::u16string& encoding);

} // namespace XmlCodec
