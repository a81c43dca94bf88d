#include "xml/XmlCodec.h"

#include "xml/XmlEncoding.h"
#include "xml/XmlMarkup.h"
#include "xml/XmlResult.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace XmlCodec {
namespace {

constexpr std::size_t DeclarationSearchLength = 1024;

std::size_t FindIgnoringCase(std::u16string_view text, std::u16string_view what, std::size_t from) {
    if (what.size() > text.size())
        return std::u16string_view::npos;
    for (std::size_t i = from; i + what.size() <= text.size(); ++i)
        if (EqualsIgnoreAsciiCase(text.substr(i, what.size()), what))
            return i;
    return std::u16string_view::npos;
}

std::u16string_view Value(std::u16string_view tag, const SXmlAttributeSpan& span) {
    return tag.substr(span.ValueStart, span.ValueEnd - span.ValueStart);
}

// The charset named in a Content-Type value such as "text/html; charset=gb2312".
std::u16string_view CharsetOf(std::u16string_view contentType) {
    const std::size_t at = FindIgnoringCase(contentType, u"charset", 0);
    if (at == std::u16string_view::npos)
        return {};
    std::size_t i = at + 7;
    while (i < contentType.size() && IsXmlSpace(contentType[i]))
        ++i;
    if (i >= contentType.size() || contentType[i] != u'=')
        return {};
    ++i;
    while (i < contentType.size() &&
           (IsXmlSpace(contentType[i]) || contentType[i] == u'"' || contentType[i] == u'\''))
        ++i;
    std::size_t end = i;
    while (end < contentType.size() && !IsXmlSpace(contentType[end]) && contentType[end] != u';' &&
           contentType[end] != u'"' && contentType[end] != u'\'')
        ++end;
    return contentType.substr(i, end - i);
}

void Add(CXmlResult& result, std::u16string_view record, std::u16string_view encoding, std::size_t length) {
    result.Add(record,
               {{u"encoding", encoding}, {u"length", CXmlResult::Number(static_cast<long long>(length))}});
}

} // namespace

std::u16string FindDeclaredEncoding(std::u16string_view head) {
    head = head.substr(0, std::min(head.size(), DeclarationSearchLength));
    const std::size_t xml = head.find(u"<?xml");
    if (xml != std::u16string_view::npos && xml + 5 < head.size() && IsXmlSpace(head[xml + 5])) {
        std::size_t end = head.find(u"?>", xml);
        end = end == std::u16string_view::npos ? head.size() : end + 2;
        const std::u16string_view declaration = head.substr(xml, end - xml);
        CXmlAttributeScanner scanner(declaration);
        SXmlAttributeSpan span;
        if (scanner.Find(u"encoding", span))
            return std::u16string(Value(declaration, span));
        return {};
    }
    for (std::size_t meta = FindIgnoringCase(head, u"<meta", 0); meta != std::u16string_view::npos;
         meta = FindIgnoringCase(head, u"<meta", meta + 5)) {
        if (meta + 5 < head.size() && !IsXmlSpace(head[meta + 5]))
            continue;
        std::size_t end = head.find(u'>', meta);
        end = end == std::u16string_view::npos ? head.size() : end + 1;
        const std::u16string_view tag = head.substr(meta, end - meta);
        SXmlAttributeSpan equiv;
        if (!CXmlAttributeScanner(tag).Find(u"http-equiv", equiv, true) ||
            !EqualsIgnoreAsciiCase(Value(tag, equiv), u"content-type"))
            continue;
        SXmlAttributeSpan content;
        if (CXmlAttributeScanner(tag).Find(u"content", content, true))
            return std::u16string(CharsetOf(Value(tag, content)));
    }
    return {};
}

namespace {

// What the first bytes of a file say about its encoding: a byte-order mark, zero bytes beside the first
// character (UTF-16 without a mark), a declaration, or a leading "<". Code page 0: not known yet.
struct SEncodingChoice {
    int CodePage = 0;
    std::size_t Skip = 0;       // length of the byte-order mark
    std::u16string Unsupported; // a declared encoding that cannot be converted here
};

SEncodingChoice ChooseEncoding(std::string_view bytes) {
    using namespace XmlEncoding;
    const auto byte = [&](std::size_t i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : -1;
    };
    SEncodingChoice choice;
    if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        choice.CodePage = Utf8;
        choice.Skip = 3;
    } else if (byte(0) == 0xFF && byte(1) == 0xFE) {
        choice.CodePage = Utf16LE;
        choice.Skip = 2;
    } else if (byte(0) == 0xFE && byte(1) == 0xFF) {
        choice.CodePage = Utf16BE;
        choice.Skip = 2;
    }
    if (choice.CodePage != 0)
        return choice;

    // UTF-16 without a mark shows itself by the zero byte beside its first character.
    if (byte(0) > 0 && byte(1) == 0)
        choice.CodePage = Utf16LE;
    else if (byte(0) == 0 && byte(1) > 0)
        choice.CodePage = Utf16BE;
    std::u16string head;
    const std::string_view headBytes = bytes.substr(0, DeclarationSearchLength);
    if (choice.CodePage)
        ConvertToUtf16(choice.CodePage, headBytes, head);
    else
        AppendUtf8AsUtf16(headBytes, head);
    const std::u16string declared = FindDeclaredEncoding(head);
    if (!declared.empty()) {
        const int declaredPage = CodePageFromName(declared);
        const bool utf16 = declaredPage == Utf16LE || declaredPage == Utf16BE;
        if (declaredPage == 0 || !IsCodePageAvailable(declaredPage))
            choice.Unsupported = declared;
        else if (choice.CodePage == 0 && !utf16) // a UTF-16 name read as 8-bit text is wrong about itself
            choice.CodePage = declaredPage;
    }
    if (choice.CodePage == 0 && declared.empty() && byte(0) == '<')
        choice.CodePage = Utf8;
    return choice;
}

void AddChoiceRecords(const SEncodingChoice& choice, CXmlResult& result) {
    if (choice.Skip)
        result.Add(u"bom");
    if (!choice.Unsupported.empty())
        result.Add(u"unsupported_encoding", {{u"encoding", choice.Unsupported}});
}

void AddReadRecords(CXmlResult& result, int codePage, std::size_t length, std::size_t nulls) {
    Add(result, u"read", XmlEncoding::CodePageName(codePage), length);
    if (nulls)
        result.Add(u"nulls_removed", {{u"count", CXmlResult::Number(static_cast<long long>(nulls))}});
}

// Fills the room from `read` unless the file ends first; returns the bytes read.
std::size_t ReadFully(const ByteReader& read, char* to, std::size_t capacity) {
    std::size_t filled = 0;
    while (filled < capacity) {
        const std::size_t got = read(to + filled, capacity - filled);
        if (got == 0)
            break;
        filled += got;
    }
    return filled;
}

// Drops the zero bytes of a piece; returns its new length.
std::size_t RemoveNulls(char* bytes, std::size_t length) {
    if (std::memchr(bytes, 0, length) == nullptr)
        return length;
    return static_cast<std::size_t>(std::remove(bytes, bytes + length, '\0') - bytes);
}

constexpr std::size_t FilePiece = std::size_t{1} << 16;

} // namespace

std::u16string DecodeDocumentBytes(std::string bytes, CXmlResult& result) {
    using namespace XmlEncoding;
    std::u16string text;
    if (bytes.empty())
        return text;

    const SEncodingChoice choice = ChooseEncoding(bytes);
    AddChoiceRecords(choice, result);
    int codePage = choice.CodePage;
    std::string_view body = std::string_view(bytes).substr(choice.Skip);
    if (codePage == Utf16LE || codePage == Utf16BE) {
        Add(result, u"read", CodePageName(codePage), body.size());
        ConvertToUtf16(codePage, body, text);
        const std::size_t before = text.size();
        std::erase(text, u'\0');
        if (text.size() != before)
            result.Add(u"nulls_removed",
                       {{u"count", CXmlResult::Number(static_cast<long long>(before - text.size()))}});
        if (codePage == Utf16BE)
            result.Add(u"endian_swap");
        return text;
    }

    bytes.erase(0, choice.Skip);
    const std::size_t before = bytes.size();
    std::erase(bytes, '\0');
    const std::size_t nulls = before - bytes.size();
    if (codePage == 0) {
        codePage = IsValidUtf8(bytes) ? Utf8 : AnsiCodePage();
        result.Add(u"utf8_detection");
    }
    AddReadRecords(result, codePage, before, nulls);
    if (!ConvertToUtf16(codePage, bytes, text)) {
        // The code page cannot be converted here after all: read what UTF-8 can.
        result.Add(u"unsupported_encoding", {{u"encoding", CodePageName(codePage)}});
        codePage = Utf8;
        text.clear();
        AppendUtf8AsUtf16(bytes, text);
    }
    Add(result, u"converted_to", CodePageName(codePage), text.size());
    return text;
}

std::u16string ReadDocument(const ByteReader& read, std::size_t sizeHint, CXmlResult& result) {
    using namespace XmlEncoding;
    const std::unique_ptr<char[]> bytes(new char[FilePiece]);
    std::size_t end = ReadFully(read, bytes.get(), FilePiece);
    bool last = end < FilePiece;
    if (end == 0)
        return {};
    const SEncodingChoice choice = ChooseEncoding(std::string_view(bytes.get(), end));
    if (choice.CodePage != Utf8) {
        // Any other encoding is converted from the whole file at once.
        std::string whole;
        whole.reserve(std::max(sizeHint, end));
        whole.append(bytes.get(), end);
        while (!last) {
            const std::size_t got = ReadFully(read, bytes.get(), FilePiece);
            whole.append(bytes.get(), got);
            last = got < FilePiece;
        }
        return DecodeDocumentBytes(std::move(whole), result);
    }

    // UTF-8 is converted as it comes, so the file's bytes are never held whole beside the text.
    AddChoiceRecords(choice, result);
    std::u16string text;
    text.reserve(sizeHint > choice.Skip ? sizeHint - choice.Skip : end); // never more units than bytes
    const std::unique_ptr<char16_t[]> units(new char16_t[FilePiece]);
    std::size_t begin = choice.Skip;
    std::size_t length = end - begin;
    end = begin + RemoveNulls(bytes.get() + begin, length);
    std::size_t nulls = begin + length - end;
    for (;;) {
        std::size_t used = 0;
        text.append(units.get(),
                    DecodeUtf8(std::string_view(bytes.get() + begin, end - begin), units.get(), last, used));
        begin += used;
        if (last)
            break;
        // The start of a character cut off by the piece's end goes in front of the next piece.
        const std::size_t kept = end - begin;
        std::memmove(bytes.get(), bytes.get() + begin, kept);
        const std::size_t got = ReadFully(read, bytes.get() + kept, FilePiece - kept);
        last = got < FilePiece - kept;
        length += got;
        const std::size_t remaining = RemoveNulls(bytes.get() + kept, got);
        nulls += got - remaining;
        begin = 0;
        end = kept + remaining;
    }
    AddReadRecords(result, Utf8, length, nulls);
    Add(result, u"converted_to", CodePageName(Utf8), text.size());
    return text;
}

namespace {

// The encoding a text is written in: the one it declares, UTF-8 when none is declared or the declared
// one cannot be written here.
int WritingCodePage(std::u16string_view text, CXmlResult& result) {
    using namespace XmlEncoding;
    const std::u16string declared = FindDeclaredEncoding(text);
    if (declared.empty())
        return Utf8;
    const int codePage = CodePageFromName(declared);
    if (codePage == 0 || !IsCodePageAvailable(codePage)) {
        result.Add(u"unsupported_encoding", {{u"encoding", declared}});
        return Utf8;
    }
    return codePage;
}

void AddWritingRecords(CXmlResult& result, int codePage, std::size_t length, bool loss,
                       std::u16string& encoding) {
    encoding = XmlEncoding::CodePageName(codePage);
    Add(result, u"converted_from", encoding, length);
    if (loss)
        result.Add(u"conversion_loss");
}

} // namespace

std::string EncodeDocumentText(std::u16string_view text, CXmlResult& result, std::u16string& encoding) {
    using namespace XmlEncoding;
    int codePage = WritingCodePage(text, result);
    std::string bytes;
    bool loss = false;
    if (!ConvertFromUtf16(codePage, text, bytes, loss)) {
        codePage = Utf8;
        bytes.clear();
        AppendUtf16AsUtf8(text, bytes, loss);
    }
    AddWritingRecords(result, codePage, bytes.size(), loss, encoding);
    return bytes;
}

bool WriteDocument(std::u16string_view text, const ByteWriter& write, CXmlResult& result,
                   std::u16string& encoding, std::size_t& length) {
    using namespace XmlEncoding;
    length = 0;
    const int codePage = WritingCodePage(text, result);
    bool loss = false;
    if (codePage != Utf8) {
        std::string bytes;
        if (ConvertFromUtf16(codePage, text, bytes, loss)) {
            const bool written = bytes.empty() || write(bytes.data(), bytes.size());
            length = written ? bytes.size() : 0;
            AddWritingRecords(result, codePage, bytes.size(), loss, encoding);
            return written;
        }
        loss = false; // converted anew below
    }
    // UTF-8 is converted and written piece by piece, so the bytes are never held whole beside the text.
    const std::unique_ptr<char[]> bytes(new char[3 * FilePiece]);
    bool written = true;
    std::size_t converted = 0;
    while (!text.empty()) {
        const std::u16string_view piece = text.substr(0, FilePiece);
        std::size_t used = 0;
        const std::size_t n = EncodeUtf8(piece, bytes.get(), piece.size() == text.size(), used, loss);
        converted += n;
        if (!write(bytes.get(), n)) {
            written = false;
            break;
        }
        length += n;
        text.remove_prefix(used);
    }
    AddWritingRecords(result, Utf8, converted, loss, encoding);
    return written;
}

} // namespace XmlCodec
