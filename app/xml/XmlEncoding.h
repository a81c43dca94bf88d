#pragma once

#include <string>
#include <string_view>

// Character encodings of document files, named by Windows code page numbers. UTF-8 and UTF-16 are
// converted here; every other code page goes through the C library's iconv (on Windows, the system's
// code page conversions).
namespace XmlEncoding {

constexpr int Utf8 = 65001;
constexpr int Utf16LE = 1200;
constexpr int Utf16BE = 1201;
constexpr char16_t Replacement = 0xFFFD;

// The code page of an encoding name (IANA or Windows alias, any case), 0 when unknown.
int CodePageFromName(std::u16string_view name);
// The usual name of a code page ("UTF-8", "windows-1252", "GBK"); a number when it has none.
std::u16string CodePageName(int codePage);
// The code page for text in no known encoding: the locale's character set when it is a legacy one,
// otherwise windows-1252.
int AnsiCodePage();
// Whether text in that code page can be converted on this system.
bool IsCodePageAvailable(int codePage);

// UTF-8: every byte sequence that is not well-formed becomes U+FFFD.
void AppendUtf8AsUtf16(std::string_view bytes, std::u16string& out);
// Appends UTF-16 as UTF-8; a lone surrogate becomes U+FFFD and sets `loss`.
void AppendUtf16AsUtf8(std::u16string_view text, std::string& out, bool& loss);

// The same conversions one piece of a longer text at a time, into room the caller gives: `out` holds at
// least bytes.size() units (DecodeUtf8) or 3 * text.size() bytes (EncodeUtf8). Unless the piece is the
// last, a character that runs on past the piece's end is left for the next piece: `used` tells how much
// of the piece was converted. Pieces converted this way give exactly what the whole text would give.
std::size_t DecodeUtf8(std::string_view bytes, char16_t* out, bool last, std::size_t& used);
std::size_t EncodeUtf8(std::u16string_view text, char* out, bool last, std::size_t& used, bool& loss);
// Valid UTF-8, or broken only by a sequence cut off at the end of the data.
bool IsValidUtf8(std::string_view bytes);
// Replaces every lone surrogate at or after `from` with U+FFFD.
void RepairUtf16(std::u16string& text, std::size_t from = 0);

// Converts from or to any available code page; false when the code page cannot be converted.
// Undecodable bytes become U+FFFD; characters without a representation become "?" and set `loss`.
bool ConvertToUtf16(int codePage, std::string_view bytes, std::u16string& out);
bool ConvertFromUtf16(int codePage, std::u16string_view text, std::string& out, bool& loss);

} // namespace XmlEncoding
