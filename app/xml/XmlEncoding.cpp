#include "xml/XmlEncoding.h"

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

struct SCodePage {
    int Number;
    std::u16string_view Name;
    const char* IconvName; // nullptr: converted by our own code; on Windows the system converts by number
};

constexpr SCodePage CodePages[] = {
    {Utf8, u"UTF-8", nullptr},
    {Utf16LE, u"UTF-16LE", nullptr},
    {Utf16BE, u"UTF-16BE", nullptr},
    {65000, u"UTF-7", "UTF-7"},
    {20127, u"us-ascii", "ASCII"},
    {28591, u"ISO-8859-1", "ISO-8859-1"},
    {28592, u"ISO-8859-2", "ISO-8859-2"},
    {28593, u"ISO-8859-3", "ISO-8859-3"},
    {28594, u"ISO-8859-4", "ISO-8859-4"},
    {28595, u"ISO-8859-5", "ISO-8859-5"},
    {28596, u"ISO-8859-6", "ISO-8859-6"},
    {28597, u"ISO-8859-7", "ISO-8859-7"},
    {28598, u"ISO-8859-8", "ISO-8859-8"},
    {38598, u"ISO-8859-8-I", "ISO-8859-8"},
    {28599, u"ISO-8859-9", "ISO-8859-9"},
    {28603, u"ISO-8859-13", "ISO-8859-13"},
    {28605, u"ISO-8859-15", "ISO-8859-15"},
    {874, u"windows-874", "CP874"},
    {1250, u"windows-1250", "CP1250"},
    {1251, u"windows-1251", "CP1251"},
    {1252, u"windows-1252", "CP1252"},
    {1253, u"windows-1253", "CP1253"},
    {1254, u"windows-1254", "CP1254"},
    {1255, u"windows-1255", "CP1255"},
    {1256, u"windows-1256", "CP1256"},
    {1257, u"windows-1257", "CP1257"},
    {1258, u"windows-1258", "CP1258"},
    {932, u"shift_jis", "CP932"},
    {936, u"GBK", "CP936"},
    {54936, u"GB18030", "GB18030"},
    {949, u"ks_c_5601-1987", "CP949"},
    {950, u"big5", "CP950"},
    {1361, u"Johab", "JOHAB"},
    {51932, u"EUC-JP", "EUC-JP"},
    {51936, u"EUC-CN", "EUC-CN"},
    {51949, u"EUC-KR", "EUC-KR"},
    {50220, u"ISO-2022-JP", "ISO-2022-JP"},
    {50225, u"ISO-2022-KR", "ISO-2022-KR"},
    {20866, u"KOI8-R", "KOI8-R"},
    {21866, u"KOI8-U", "KOI8-U"},
    {37, u"IBM037", "IBM037"},
    {437, u"IBM437", "IBM437"},
    {850, u"IBM850", "IBM850"},
    {852, u"IBM852", "IBM852"},
    {855, u"IBM855", "IBM855"},
    {857, u"IBM857", "IBM857"},
    {858, u"IBM00858", "IBM858"},
    {860, u"IBM860", "IBM860"},
    {861, u"IBM861", "IBM861"},
    {862, u"DOS-862", "IBM862"},
    {863, u"IBM863", "IBM863"},
    {864, u"IBM864", "IBM864"},
    {865, u"IBM865", "IBM865"},
    {866, u"cp866", "IBM866"},
    {869, u"IBM869", "IBM869"},
    {10000, u"macintosh", "MACINTOSH"},
    {10007, u"x-mac-cyrillic", "MACCYRILLIC"},
    {10029, u"x-mac-ce", "MAC-CENTRALEUROPE"},
};

struct SAlias {
    std::string_view Name; // lower case
    int CodePage;
};

constexpr SAlias Aliases[] = {
    {"utf-8", 65001},
    {"utf8", 65001},
    {"unicode-1-1-utf-8", 65001},
    {"unicode-2-0-utf-8", 65001},
    {"x-unicode20utf8", 65001},
    {"utf-7", 65000},
    {"utf7", 65000},
    {"unicode-1-1-utf-7", 65000},
    {"unicode-2-0-utf-7", 65000},
    {"x-unicode20utf7", 65000},
    {"csunicode11utf7", 65000},
    {"utf-16", 1200},
    {"utf16", 1200},
    {"utf-16le", 1200},
    {"utf16le", 1200},
    {"unicode", 1200},
    {"ucs-2", 1200},
    {"iso-10646-ucs-2", 1200},
    {"csunicode", 1200},
    {"utf-16be", 1201},
    {"utf16be", 1201},
    {"unicodefffe", 1201},
    {"us-ascii", 20127},
    {"ascii", 20127},
    {"us", 20127},
    {"ansi_x3.4-1968", 20127},
    {"ansi_x3.4-1986", 20127},
    {"iso646-us", 20127},
    {"iso_646.irv:1991", 20127},
    {"cp367", 20127},
    {"ibm367", 20127},
    {"csascii", 20127},
    {"iso-ir-6", 20127},
    {"iso-8859-1", 28591},
    {"iso8859-1", 28591},
    {"iso_8859-1", 28591},
    {"iso_8859-1:1987", 28591},
    {"latin1", 28591},
    {"l1", 28591},
    {"iso-ir-100", 28591},
    {"cp819", 28591},
    {"ibm819", 28591},
    {"csisolatin1", 28591},
    {"iso-8859-2", 28592},
    {"iso8859-2", 28592},
    {"iso_8859-2", 28592},
    {"iso_8859-2:1987", 28592},
    {"latin2", 28592},
    {"l2", 28592},
    {"iso-ir-101", 28592},
    {"csisolatin2", 28592},
    {"iso-8859-3", 28593},
    {"iso8859-3", 28593},
    {"iso_8859-3", 28593},
    {"latin3", 28593},
    {"l3", 28593},
    {"iso-ir-109", 28593},
    {"csisolatin3", 28593},
    {"iso-8859-4", 28594},
    {"iso8859-4", 28594},
    {"iso_8859-4", 28594},
    {"latin4", 28594},
    {"l4", 28594},
    {"iso-ir-110", 28594},
    {"csisolatin4", 28594},
    {"iso-8859-5", 28595},
    {"iso8859-5", 28595},
    {"iso_8859-5", 28595},
    {"cyrillic", 28595},
    {"iso-ir-144", 28595},
    {"csisolatincyrillic", 28595},
    {"iso-8859-6", 28596},
    {"iso8859-6", 28596},
    {"iso_8859-6", 28596},
    {"arabic", 28596},
    {"iso-ir-127", 28596},
    {"ecma-114", 28596},
    {"csisolatinarabic", 28596},
    {"iso-8859-7", 28597},
    {"iso8859-7", 28597},
    {"iso_8859-7", 28597},
    {"greek", 28597},
    {"greek8", 28597},
    {"iso-ir-126", 28597},
    {"ecma-118", 28597},
    {"elot_928", 28597},
    {"csisolatingreek", 28597},
    {"iso-8859-8", 28598},
    {"iso8859-8", 28598},
    {"iso_8859-8", 28598},
    {"hebrew", 28598},
    {"iso-ir-138", 28598},
    {"csisolatinhebrew", 28598},
    {"iso-8859-8 visual", 28598},
    {"iso-8859-8-i", 38598},
    {"logical", 38598},
    {"iso-8859-9", 28599},
    {"iso8859-9", 28599},
    {"iso_8859-9", 28599},
    {"latin5", 28599},
    {"l5", 28599},
    {"iso-ir-148", 28599},
    {"csisolatin5", 28599},
    {"iso-8859-13", 28603},
    {"iso8859-13", 28603},
    {"latin7", 28603},
    {"iso-8859-15", 28605},
    {"iso8859-15", 28605},
    {"iso_8859-15", 28605},
    {"latin9", 28605},
    {"latin-9", 28605},
    {"l9", 28605},
    {"csisolatin9", 28605},
    {"windows-874", 874},
    {"dos-874", 874},
    {"cp874", 874},
    {"tis-620", 874},
    {"iso-8859-11", 874},
    {"windows-1250", 1250},
    {"cp1250", 1250},
    {"x-cp1250", 1250},
    {"windows-1251", 1251},
    {"cp1251", 1251},
    {"x-cp1251", 1251},
    {"windows-1252", 1252},
    {"cp1252", 1252},
    {"x-ansi", 1252},
    {"windows-1253", 1253},
    {"cp1253", 1253},
    {"windows-1254", 1254},
    {"cp1254", 1254},
    {"windows-1255", 1255},
    {"cp1255", 1255},
    {"windows-1256", 1256},
    {"cp1256", 1256},
    {"windows-1257", 1257},
    {"cp1257", 1257},
    {"windows-1258", 1258},
    {"cp1258", 1258},
    {"shift_jis", 932},
    {"shift-jis", 932},
    {"sjis", 932},
    {"x-sjis", 932},
    {"ms_kanji", 932},
    {"csshiftjis", 932},
    {"cswindows31j", 932},
    {"windows-31j", 932},
    {"cp932", 932},
    {"gb2312", 936},
    {"gbk", 936},
    {"cp936", 936},
    {"ms936", 936},
    {"windows-936", 936},
    {"gb_2312-80", 936},
    {"gb_2312", 936},
    {"chinese", 936},
    {"csgb2312", 936},
    {"csgb231280", 936},
    {"csiso58gb231280", 936},
    {"iso-ir-58", 936},
    {"x-gbk", 936},
    {"gb18030", 54936},
    {"big5", 950},
    {"big-5", 950},
    {"cn-big5", 950},
    {"x-x-big5", 950},
    {"csbig5", 950},
    {"cp950", 950},
    {"ks_c_5601-1987", 949},
    {"ks_c_5601-1989", 949},
    {"ks_c_5601", 949},
    {"ksc_5601", 949},
    {"ksc5601", 949},
    {"korean", 949},
    {"csksc56011987", 949},
    {"iso-ir-149", 949},
    {"cp949", 949},
    {"uhc", 949},
    {"windows-949", 949},
    {"johab", 1361},
    {"euc-jp", 51932},
    {"x-euc-jp", 51932},
    {"cseucpkdfmtjapanese", 51932},
    {"extended_unix_code_packed_format_for_japanese", 51932},
    {"euc-cn", 51936},
    {"x-euc-cn", 51936},
    {"euc-kr", 51949},
    {"cseuckr", 51949},
    {"iso-2022-jp", 50220},
    {"csiso2022jp", 50220},
    {"iso-2022-kr", 50225},
    {"csiso2022kr", 50225},
    {"koi8-r", 20866},
    {"koi8r", 20866},
    {"cskoi8r", 20866},
    {"koi", 20866},
    {"koi8", 20866},
    {"koi8-u", 21866},
    {"koi8-ru", 21866},
    {"ibm037", 37},
    {"cp037", 37},
    {"ebcdic-cp-us", 37},
    {"ibm437", 437},
    {"cp437", 437},
    {"437", 437},
    {"cspc8codepage437", 437},
    {"ibm850", 850},
    {"cp850", 850},
    {"850", 850},
    {"ibm852", 852},
    {"cp852", 852},
    {"852", 852},
    {"ibm855", 855},
    {"cp855", 855},
    {"855", 855},
    {"ibm857", 857},
    {"cp857", 857},
    {"857", 857},
    {"ibm00858", 858},
    {"ibm858", 858},
    {"cp858", 858},
    {"cp00858", 858},
    {"ibm860", 860},
    {"cp860", 860},
    {"860", 860},
    {"ibm861", 861},
    {"cp861", 861},
    {"861", 861},
    {"dos-862", 862},
    {"ibm862", 862},
    {"cp862", 862},
    {"862", 862},
    {"ibm863", 863},
    {"cp863", 863},
    {"863", 863},
    {"ibm864", 864},
    {"cp864", 864},
    {"864", 864},
    {"ibm865", 865},
    {"cp865", 865},
    {"865", 865},
    {"cp866", 866},
    {"ibm866", 866},
    {"866", 866},
    {"ibm869", 869},
    {"cp869", 869},
    {"869", 869},
    {"macintosh", 10000},
    {"mac", 10000},
    {"x-mac-roman", 10000},
    {"csmacintosh", 10000},
    {"x-mac-cyrillic", 10007},
    {"x-mac-ce", 10029},
};

const SCodePage* FindCodePage(int number) {
    for (const SCodePage& page : CodePages)
        if (page.Number == number)
            return &page;
    return nullptr;
}

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
    for (const SAlias& alias : Aliases)
        if (alias.Name == folded)
            return alias.CodePage;
    return 0;
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

    const std::size_t start = out.size();
    out.resize(start + bytes.size() + 8);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t used = 0; // bytes written behind `start`
    auto room = [&](std::size_t wanted) {
        if ((out.size() - start) * 2 - used < wanted)
            out.resize(out.size() + std::max<std::size_t>(out.size() / 2, wanted) + 8);
    };
    bool flushing = false; // all input read; ending any shift state
    for (;;) {
        char* o = reinterpret_cast<char*>(out.data() + start) + used;
        std::size_t oLeft = (out.size() - start) * 2 - used;
        const std::size_t done = flushing ? iconv(converter.Handle(), nullptr, nullptr, &o, &oLeft)
                                          : iconv(converter.Handle(), &in, &inLeft, &o, &oLeft);
        used = (out.size() - start) * 2 - oLeft;
        if (done != static_cast<std::size_t>(-1)) {
            if (flushing)
                break;
            flushing = true;
            continue;
        }
        const int error = errno;
        if (error == E2BIG) {
            room(16);
            continue;
        }
        if (flushing)
            break;
        room(2);
        const char16_t replacement = Replacement;
        std::memcpy(reinterpret_cast<char*>(out.data() + start) + used, &replacement, 2);
        used += 2;
        if (error == EILSEQ && inLeft > 0) {
            ++in;
            --inLeft;
            continue;
        }
        break; // EINVAL: the data ends inside a character
    }
    out.resize(start + used / 2);
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

    const std::size_t start = out.size();
    out.resize(start + text.size() * 2 + 16);
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
    std::size_t inLeft = text.size() * 2;
    std::size_t used = 0;
    bool flushing = false;
    for (;;) {
        char* o = out.data() + start + used;
        std::size_t oLeft = out.size() - start - used;
        const std::size_t done = flushing ? iconv(converter.Handle(), nullptr, nullptr, &o, &oLeft)
                                          : iconv(converter.Handle(), &in, &inLeft, &o, &oLeft);
        used = out.size() - start - oLeft;
        if (done != static_cast<std::size_t>(-1)) {
            if (flushing)
                break;
            flushing = true;
            continue;
        }
        const int error = errno;
        if (error == E2BIG) {
            out.resize(out.size() + out.size() / 2 + 16);
            continue;
        }
        if (flushing)
            break;
        // A character without a representation (or a lone surrogate) is written as "?".
        loss = true;
        if (out.size() - start - used < 1)
            out.resize(out.size() + 16);
        out[start + used++] = '?';
        if (error != EILSEQ || inLeft < 2)
            break;
        char16_t unit;
        std::memcpy(&unit, in, 2);
        std::size_t skip = 2;
        if (unit >= 0xD800 && unit <= 0xDBFF && inLeft >= 4) {
            char16_t next;
            std::memcpy(&next, in + 2, 2);
            if (next >= 0xDC00 && next <= 0xDFFF)
                skip = 4;
        }
        in += skip;
        inLeft -= skip;
    }
    out.resize(start + used);
    return true;
#endif
}

} // namespace XmlEncoding
