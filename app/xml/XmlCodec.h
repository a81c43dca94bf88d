#pragma once

#include <cstddef>
#include <functional>
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

// Where a document file's bytes come from: fills up to `capacity` bytes and returns how many, 0 at the
// end of the file (or on an error, which the caller notes itself).
using ByteReader = std::function<std::size_t(char* to, std::size_t capacity)>;
// Where they go: false when the bytes could not be written.
using ByteWriter = std::function<bool(const char* bytes, std::size_t length)>;

// The text of a file read through `read`, decoded as DecodeDocumentBytes decodes the whole file. A UTF-8
// file is converted piece by piece as it is read, into a text reserved from `sizeHint` (the file's size,
// 0 when unknown), so its bytes are never held whole beside the text.
std::u16string ReadDocument(const ByteReader& read, std::size_t sizeHint, CXmlResult& result);

// The bytes of a text in the encoding it declares (UTF-8 when none is declared or the declared one
// cannot be written), without a byte-order mark. `encoding` receives the name of the encoding used.
std::string EncodeDocumentText(std::u16string_view text, CXmlResult& result, std::u16string& encoding);
// The same bytes handed to `write` piece by piece (UTF-8) or at once (other encodings); false when a
// write failed. `length` receives the number of bytes written.
bool WriteDocument(std::u16string_view text, const ByteWriter& write, CXmlResult& result,
                   std::u16string& encoding, std::size_t& length);

} // namespace XmlCodec
