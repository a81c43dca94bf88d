#include "xml/XmlCodec.h"

#include "xml/XmlEncoding.h"
#include "xml/XmlMarkup.h"
#include "xml/XmlResult.h"

#include <algorithm>

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

std::u16string DecodeDocumentBytes(std::string bytes, CXmlResult& result) {
    using namespace XmlEncoding;
    std::u16string text;
    if (bytes.empty())
        return text;

    const auto byte = [&](std::size_t i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : -1;
    };
    int codePage = 0;
    std::size_t skip = 0;
    if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        codePage = Utf8;
        skip = 3;
    } else if (byte(0) == 0xFF && byte(1) == 0xFE) {
        codePage = Utf16LE;
        skip = 2;
    } else if (byte(0) == 0xFE && byte(1) == 0xFF) {
        codePage = Utf16BE;
        skip = 2;
    }
    if (skip)
        result.Add(u"bom");

    if (codePage == 0) {
        // UTF-16 without a mark shows itself by the zero byte beside its first character.
        if (byte(0) > 0 && byte(1) == 0)
            codePage = Utf16LE;
        else if (byte(0) == 0 && byte(1) > 0)
            codePage = Utf16BE;
        std::u16string head;
        const std::string_view headBytes = std::string_view(bytes).substr(0, DeclarationSearchLength);
        if (codePage)
            ConvertToUtf16(codePage, headBytes, head);
        else
            AppendUtf8AsUtf16(headBytes, head);
        const std::u16string declared = FindDeclaredEncoding(head);
        if (!declared.empty()) {
            const int declaredPage = CodePageFromName(declared);
            const bool utf16 = declaredPage == Utf16LE || declaredPage == Utf16BE;
            if (declaredPage == 0 || !IsCodePageAvailable(declaredPage))
                result.Add(u"unsupported_encoding", {{u"encoding", declared}});
            else if (codePage == 0 && !utf16) // a UTF-16 name read as 8-bit text is wrong about itself
                codePage = declaredPage;
        }
        if (codePage == 0 && declared.empty() && byte(0) == '<')
            codePage = Utf8;
    }

    std::string_view body = std::string_view(bytes).substr(skip);
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

    bytes.erase(0, skip);
    const std::size_t before = bytes.size();
    std::erase(bytes, '\0');
    const std::size_t nulls = before - bytes.size();
    if (codePage == 0) {
        codePage = IsValidUtf8(bytes) ? Utf8 : AnsiCodePage();
        result.Add(u"utf8_detection");
    }
    Add(result, u"read", CodePageName(codePage), before);
    if (nulls)
        result.Add(u"nulls_removed", {{u"count", CXmlResult::Number(static_cast<long long>(nulls))}});
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

std::string EncodeDocumentText(std::u16string_view text, CXmlResult& result, std::u16string& encoding) {
    using namespace XmlEncoding;
    const std::u16string declared = FindDeclaredEncoding(text);
    int codePage = Utf8;
    if (!declared.empty()) {
        codePage = CodePageFromName(declared);
        if (codePage == 0 || !IsCodePageAvailable(codePage)) {
            result.Add(u"unsupported_encoding", {{u"encoding", declared}});
            codePage = Utf8;
        }
    }
    std::string bytes;
    bool loss = false;
    if (!ConvertFromUtf16(codePage, text, bytes, loss)) {
        codePage = Utf8;
        bytes.clear();
        AppendUtf16AsUtf8(text, bytes, loss);
    }
    encoding = CodePageName(codePage);
    Add(result, u"converted_from", encoding, bytes.size());
    if (loss)
        result.Add(u"conversion_loss");
    return bytes;
}

} // namespace XmlCodec
