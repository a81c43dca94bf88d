#include "xml/XmlEncoding.h"

#include "xml/CodePages.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#if defined(_WIN32)
#include <climits>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <iconv.h>
#include <langinfo.h>
#endif

namespace XmlEncoding {
namespace {

#if defined(_WIN32)
static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

// These code pages take no conversion flags, so undecodable bytes cannot be found in them.
bool TakesNoFlags(int codePage) {
    return codePage == 42 || (codePage >= 50220 && codePage <= 50229) ||
           (codePage >= 57002 && codePage <= 57011) || codePage == 65000;
}

// Appends the decoded bytes; false, with nothing appended, when they do not decode.
bool AppendDecoded(int codePage, DWORD flags, std::string_view bytes, std::u16string& out) {
    const int length = static_cast<int>(bytes.size());
    const int units =
        MultiByteToWideChar(static_cast<UINT>(codePage), flags, bytes.data(), length, nullptr, 0);
    if (units <= 0)
        return false;
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(units));
    const int written = MultiByteToWideChar(static_cast<UINT>(codePage), flags, bytes.data(), length,
                                            reinterpret_cast<wchar_t*>(out.data() + start), units);
    out.resize(start + static_cast<std::size_t>(std::max(written, 0)));
    return written > 0;
}

bool SystemToUtf16(int codePage, std::string_view bytes, std::u16string& out) {
    if (!IsValidCodePage(static_cast<UINT>(codePage)) || bytes.size() > INT_MAX)
        return false;
    if (bytes.empty())
        return true;
    if (TakesNoFlags(codePage))
        return AppendDecoded(codePage, 0, bytes, out);
    if (AppendDecoded(codePage, MB_ERR_INVALID_CHARS, bytes, out))
        return true;
    // Some bytes do not decode: one character at a time (of up to 4 bytes), so that each undecodable
    // byte becomes U+FFFD, as iconv makes it elsewhere, rather than the system's default character.
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t length = 1;
        while (length <= 4 && i + length <= bytes.size() &&
               !AppendDecoded(codePage, MB_ERR_INVALID_CHARS, bytes.substr(i, length), out))
            ++length;
        if (length <= 4 && i + length <= bytes.size()) {
            i += length;
        } else {
            out += Replacement;
            ++i;
        }
    }
    return true;
}

bool SystemFromUtf16(int codePage, std::u16string_view text, std::string& out, bool& loss) {
    if (!IsValidCodePage(static_cast<UINT>(codePage)) || text.size() > INT_MAX)
        return false;
    // A lone surrogate has a representation nowhere: "?", like any character the code page lacks.
    std::u16string repaired(text);
    for (std::size_t i = 0; i < repaired.size(); ++i) {
        const char16_t c = repaired[i];
        if (c < 0xD800 || c > 0xDFFF)
            continue;
        if (c <= 0xDBFF && i + 1 < repaired.size() && repaired[i + 1] >= 0xDC00 &&
            repaired[i + 1] <= 0xDFFF) {
            ++i;
        } else {
            repaired[i] = u'?';
            loss = true;
        }
    }
    if (repaired.empty())
        return true;
    // GB18030 takes no flags either, but it has every character.
    const bool plain = TakesNoFlags(codePage) || codePage == 54936;
    // No best fit: a character the code page lacks becomes "?", not a look-alike.
    const DWORD flags = plain ? 0 : WC_NO_BEST_FIT_CHARS;
    const char defaultChar = '?';
    BOOL usedDefault = FALSE;
    const auto* wide = reinterpret_cast<const wchar_t*>(repaired.data());
    const int length = static_cast<int>(repaired.size());
    const int size = WideCharToMultiByte(static_cast<UINT>(codePage), flags, wide, length, nullptr, 0,
                                         plain ? nullptr : &defaultChar, plain ? nullptr : &usedDefault);
    if (size <= 0)
        return false;
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(size));
    usedDefault = FALSE;
    const int written =
        WideCharToMultiByte(static_cast<UINT>(codePage), flags, wide, length, out.data() + start, size,
                            plain ? nullptr : &defaultChar, plain ? nullptr : &usedDefault);
    out.resize(start + static_cast<std::size_t>(std::max(written, 0)));
    if (written <= 0)
        return false;
    if (plain) {
        // Only a round trip tells whether these code pages lacked a character.
        std::u16string back;
        if (!SystemToUtf16(codePage, std::string_view(out).substr(start), back) || back != repaired)
            loss = true;
    } else if (usedDefault) {
        loss = true;
    }
    return true;
}
#else
// iconv's name for the host's own UTF-16 byte order.
constexpr const char* NativeUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

class CIconv {
public:
    CIconv(const char* to, const char* from) : m_Handle(iconv_open(to, from)) {}
    ~CIconv() {
        if (IsOpen())
            iconv_close(m_Handle);
    }
    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;
    bool IsOpen() const { return m_Handle != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return m_Handle; }

private:
    iconv_t m_Handle;
};

// What is written for input that iconv cannot convert, and how many input bytes that skips (0: the
// conversion ends there).
struct SInvalidInput {
    std::string_view Written;
    std::size_t Skipped;
};

// Runs all of `input` through `converter`, then ends any shift state, appending the output to `out`,
// whose units are that of the output encoding. `room` units are made at first; the string grows as
// needed. At input that does not convert, `invalid(error, rest)` says what to do: `error` is errno
// (EILSEQ for bytes that do not convert, EINVAL for a character cut off at the end, or the same while
// ending the shift state) and `rest` the input still to convert.
template <typename Unit, typename Invalid>
void AppendConverted(const CIconv& converter, std::string_view input, std::basic_string<Unit>& out,
                     std::size_t room, Invalid invalid) {
    const std::size_t start = out.size();
    out.resize(start + room);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t used = 0; // bytes written behind `start`
    const auto capacity = [&] { return (out.size() - start) * sizeof(Unit); };
    const auto grow = [&](std::size_t bytes) {
        out.resize(out.size() + std::max(out.size() / 2, (bytes + sizeof(Unit) - 1) / sizeof(Unit)) + 8);
    };
    bool flushing = false; // all input read; ending any shift state
    for (;;) {
        char* o = reinterpret_cast<char*>(out.data() + start) + used;
        std::size_t oLeft = capacity() - used;
        const std::size_t done = flushing ? iconv(converter.Handle(), nullptr, nullptr, &o, &oLeft)
                                          : iconv(converter.Handle(), &in, &inLeft, &o, &oLeft);
        used = capacity() - oLeft;
        if (done != static_cast<std::size_t>(-1)) {
            if (flushing)
                break;
            flushing = true;
            continue;
        }
        const int error = errno;
        if (error == E2BIG) {
            grow(16);
            continue;
        }
        if (flushing)
            break;
        const SInvalidInput what = invalid(error, std::string_view(in, inLeft));
        if (capacity() - used < what.Written.size())
            grow(what.Written.size());
        std::memcpy(reinterpret_cast<char*>(out.data() + start) + used, what.Written.data(),
                    what.Written.size());
        used += what.Written.size();
        if (what.Skipped == 0)
            break;
        in += what.Skipped;
        inLeft -= what.Skipped;
    }
    out.resize(start + used / sizeof(Unit));
}
#endif

void AppendUtf16Bytes(std::string_view bytes, bool bigEndian, std::u16string& out) {
    const std::size_t units = bytes.size() / 2;
    const std::size_t start = out.size();
    out.resize(start + units);
    for (std::size_t i = 0; i < units; ++i) {
        const auto b0 = static_cast<unsigned char>(bytes[2 * i]);
        const auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
        out[start + i] = static_cast<char16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
    }
    if (bytes.size() % 2)
        out += Replacement;
}

void AppendUtf16AsBytes(std::u16string_view text, bool bigEndian, std::string& out) {
    const std::size_t start = out.size();
    out.resize(start + text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto hi = static_cast<char>(text[i] >> 8);
        const auto lo = static_cast<char>(text[i] & 0xFF);
        out[start + 2 * i] = bigEndian ? hi : lo;
        out[start + 2 * i + 1] = bigEndian ? lo : hi;
    }
}

// Length of the UTF-8 sequence starting at bytes[i], or 0 when it is broken (`cutOff` set when only
// the end of the data broke it). `codePoint` receives the decoded character.
std::size_t ReadUtf8Sequence(std::string_view bytes, std::size_t i, char32_t& codePoint, bool& cutOff) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    cutOff = false;
    std::size_t need;
    unsigned char low = 0x80, high = 0xBF;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        codePoint = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        codePoint = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    std::size_t j = i + 1;
    for (std::size_t k = 0; k < need; ++k, ++j) {
        if (j >= bytes.size()) {
            cutOff = true;
            codePoint = j - i; // the broken part's length
            return 0;
        }
        const auto c = static_cast<unsigned char>(bytes[j]);
        if (c < (k == 0 ? low : 0x80) || c > (k == 0 ? high : 0xBF)) {
            codePoint = j - i;
            return 0;
        }
        codePoint = (codePoint << 6) | (c & 0x3F);
    }
    return need + 1;
}

} // namespace

int CodePageFromName(std::u16string_view name) {
    while (!name.empty() && (name.front() == u' ' || name.front() == u'\t'))
        name.remove_prefix(1);
    while (!name.empty() && (name.back() == u' ' || name.back() == u'\t'))
        name.remove_suffix(1);
    std::string folded;
    for (const char16_t c : name) {
        if (c == 0 || c > 0x7E)
            return 0;
        folded += static_cast<char>(c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c);
    }
    return CodePageOfAlias(folded);
}

std::u16string CodePageName(int codePage) {
    if (const SCodePage* page = FindCodePage(codePage))
        return std::u16string(page->Name);
    std::u16string number;
    for (const char c : std::to_string(codePage))
        number += static_cast<char16_t>(c);
    return number;
}

int AnsiCodePage() {
#if defined(_WIN32)
    const int system = static_cast<int>(GetACP());
    const int codePage = FindCodePage(system) ? system : 0;
#else
    std::u16string set;
    for (const char* c = nl_langinfo(CODESET); c && *c; ++c)
        set += static_cast<char16_t>(static_cast<unsigned char>(*c));
    const int codePage = CodePageFromName(set);
#endif
    if (codePage == 0 || codePage == Utf8 || codePage == 20127 || !IsCodePageAvailable(codePage))
        return 1252;
    return codePage;
}

bool IsCodePageAvailable(int codePage) {
    const SCodePage* page = FindCodePage(codePage);
    if (!page)
        return false;
    if (!page->IconvName)
        return true;
#if defined(_WIN32)
    return IsValidCodePage(static_cast<UINT>(codePage)) != 0;
#else
    const CIconv converter(NativeUtf16, page->IconvName);
    return converter.IsOpen();
#endif
}

std::size_t DecodeUtf8(std::string_view bytes, char16_t* out, bool last, std::size_t& used) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    char16_t* o = out;
    std::size_t i = 0;
    while (i < n) {
        // Runs of ASCII eight bytes at a time: most of a document.
        while (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            if (word & 0x8080808080808080u)
                break;
            for (std::size_t k = 0; k < 8; ++k)
                o[k] = p[i + k];
            o += 8;
            i += 8;
        }
        if (i >= n)
            break;
        if (p[i] < 0x80) {
            *o++ = p[i++];
            continue;
        }
        char32_t codePoint = 0;
        bool cutOff;
        const std::size_t length = ReadUtf8Sequence(bytes, i, codePoint, cutOff);
        if (length == 0) {
            if (cutOff && !last)
                break; // the rest of it comes with the next piece
            // A broken sequence: its longest well-formed start becomes one replacement.
            *o++ = Replacement;
            i += std::max<std::size_t>(1, codePoint);
            continue;
        }
        if (codePoint > 0xFFFF) {
            codePoint -= 0x10000;
            *o++ = static_cast<char16_t>(0xD800 + (codePoint >> 10));
            *o++ = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
        } else {
            *o++ = static_cast<char16_t>(codePoint);
        }
        i += length;
    }
    used = i;
    return static_cast<std::size_t>(o - out);
}

void AppendUtf8AsUtf16(std::string_view bytes, std::u16string& out) {
    // Through a small buffer: growing `out` by a zero-filled worst case costs more than the copy.
    constexpr std::size_t Piece = 4096;
    char16_t units[Piece];
    out.reserve(out.size() + bytes.size()); // never more units than bytes
    while (!bytes.empty()) {
        const std::string_view piece = bytes.substr(0, Piece);
        std::size_t used = 0;
        out.append(units, DecodeUtf8(piece, units, piece.size() == bytes.size(), used));
        bytes.remove_prefix(used);
    }
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t codePoint;
        bool cutOff;
        const std::size_t length = ReadUtf8Sequence(bytes, i, codePoint, cutOff);
        if (length == 0)
            return cutOff;
        i += length;
    }
    return true;
}

std::size_t EncodeUtf8(std::u16string_view text, char* out, bool last, std::size_t& used, bool& loss) {
    const char16_t* p = text.data();
    const std::size_t n = text.size();
    char* o = out;
    std::size_t i = 0;
    while (i < n) {
        while (i + 4 <= n && (p[i] | p[i + 1] | p[i + 2] | p[i + 3]) < 0x80) {
            o[0] = static_cast<char>(p[i]);
            o[1] = static_cast<char>(p[i + 1]);
            o[2] = static_cast<char>(p[i + 2]);
            o[3] = static_cast<char>(p[i + 3]);
            o += 4;
            i += 4;
        }
        if (i >= n)
            break;
        char32_t c = p[i];
        if (c < 0x80) {
            *o++ = static_cast<char>(c);
            ++i;
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && i + 1 == n && !last)
                break; // its partner may start the next piece
            if (c <= 0xDBFF && i + 1 < n && p[i + 1] >= 0xDC00 && p[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (p[i + 1] - 0xDC00);
                ++i;
            } else {
                c = Replacement;
                loss = true;
            }
        }
        ++i;
        if (c < 0x800) {
            *o++ = static_cast<char>(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            *o++ = static_cast<char>(0xE0 | (c >> 12));
            *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        } else {
            *o++ = static_cast<char>(0xF0 | (c >> 18));
            *o++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        *o++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    used = i;
    return static_cast<std::size_t>(o - out);
}

void AppendUtf16AsUtf8(std::u16string_view text, std::string& out, bool& loss) {
    constexpr std::size_t Piece = 2048;
    char bytes[3 * Piece];
    out.reserve(out.size() + text.size()); // at least a byte per unit
    while (!text.empty()) {
        const std::u16string_view piece = text.substr(0, Piece);
        std::size_t used = 0;
        out.append(bytes, EncodeUtf8(piece, bytes, piece.size() == text.size(), used, loss));
        text.remove_prefix(used);
    }
}

void RepairUtf16(std::u16string& text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0xD800 || c > 0xDFFF)
            continue;
        if (c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
        else
            text[i] = Replacement;
    }
}

bool ConvertToUtf16(int codePage, std::string_view bytes, std::u16string& out) {
    if (codePage == Utf8) {
        AppendUtf8AsUtf16(bytes, out);
        return true;
    }
    if (codePage == Utf16LE || codePage == Utf16BE) {
        const std::size_t start = out.size();
        AppendUtf16Bytes(bytes, codePage == Utf16BE, out);
        RepairUtf16(out, start);
        return true;
    }
    const SCodePage* page = FindCodePage(codePage);
    if (!page || !page->IconvName)
        return false;
#if defined(_WIN32)
    return SystemToUtf16(codePage, bytes, out);
#else
    const CIconv converter(NativeUtf16, page->IconvName);
    if (!converter.IsOpen())
        return false;
    // An undecodable byte becomes U+FFFD, and decoding goes on after it; a character cut off at the end
    // becomes U+FFFD too.
    static constexpr char16_t replacement = Replacement;
    const std::string_view replacementBytes(reinterpret_cast<const char*>(&replacement), sizeof replacement);
    AppendConverted(converter, bytes, out, bytes.size() + 8, [&](int error, std::string_view rest) {
        return SInvalidInput{replacementBytes, error == EILSEQ && !rest.empty() ? 1u : 0u};
    });
    return true;
#endif
}

bool ConvertFromUtf16(int codePage, std::u16string_view text, std::string& out, bool& loss) {
    if (codePage == Utf8) {
        AppendUtf16AsUtf8(text, out, loss);
        return true;
    }
    if (codePage == Utf16LE || codePage == Utf16BE) {
        AppendUtf16AsBytes(text, codePage == Utf16BE, out);
        return true;
    }
    const SCodePage* page = FindCodePage(codePage);
    if (!page || !page->IconvName)
        return false;
#if defined(_WIN32)
    return SystemFromUtf16(codePage, text, out, loss);
#else
    const CIconv converter(page->IconvName, NativeUtf16);
    if (!converter.IsOpen())
        return false;
    // A character without a representation (or a lone surrogate) is written as "?", and encoding goes
    // on after it (after both halves of a surrogate pair).
    const std::string_view units(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    AppendConverted(converter, units, out, text.size() * 2 + 16, [&](int error, std::string_view rest) {
        loss = true;
        if (error != EILSEQ || rest.size() < 2)
            return SInvalidInput{"?", 0};
        char16_t unit;
        std::memcpy(&unit, rest.data(), 2);
        std::size_t skip = 2;
        if (unit >= 0xD800 && unit <= 0xDBFF && rest.size() >= 4) {
            char16_t next;
            std::memcpy(&next, rest.data() + 2, 2);
            if (next >= 0xDC00 && next <= 0xDFFF)
                skip = 4;
        }
        return SInvalidInput{"?", skip};
    });
    return true;
#endif
}

} // namespace XmlEncoding
