#include "xml/XmlCodec.h"
#include "xml/XmlDocument.h"
#include "xml/XmlEncoding.h"
#include "xml/XmlResult.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

// Wine, which runs the Windows build here, lacks a few code pages that Windows has.
bool UnderWine() {
#if defined(_WIN32)
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

namespace fs = std::filesystem;

class XmlFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_Dir = fs::temp_directory_path() / ("zelk-xml-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_Dir);
    }
    void TearDown() override { fs::remove_all(m_Dir); }

    fs::path Write(const std::string& bytes) {
        const fs::path path = m_Dir / ("in" + std::to_string(m_Count++) + ".xml");
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Loads the bytes and returns the attribute "t" of the top-level element "a".
    std::u16string LoadT(const std::string& bytes) {
        EXPECT_TRUE(m_Doc.LoadFile(Write(bytes)));
        m_Doc.ResetPosition();
        EXPECT_TRUE(m_Doc.FindElement(u"a")) << Narrow(m_Doc.GetResult());
        return m_Doc.GetAttribute(u"t");
    }
    bool ResultHas(std::u16string_view record) const {
        return m_Doc.GetResult().find(record) != std::u16string::npos;
    }
    static std::string Narrow(std::u16string_view text) {
        std::string out;
        bool loss = false;
        XmlEncoding::AppendUtf16AsUtf8(text, out, loss);
        return out;
    }
    static std::string Utf16(std::u16string_view text, bool bigEndian) {
        std::string out;
        for (const char16_t c : text) {
            const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
            out += bigEndian ? hi : lo;
            out += bigEndian ? lo : hi;
        }
        return out;
    }

    fs::path m_Dir;
    int m_Count = 0;
    CXmlDocument m_Doc;
};

const std::u16string Sample = u"<a t=\"\u00e9\u20ac\u4e2d\U0001F600\"/>";
const std::u16string SampleValue = u"\u00e9\u20ac\u4e2d\U0001F600";

TEST_F(XmlFile, ByteOrderMarksDecideTheEncoding) {
    EXPECT_EQ(LoadT("\xEF\xBB\xBF" + Narrow(Sample)), SampleValue);
    EXPECT_TRUE(ResultHas(u"<bom/>"));
    EXPECT_EQ(m_Doc.GetText(), Sample);

    // Whatever the declaration says.
    const std::u16string declared = u"<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + Sample;
    EXPECT_EQ(LoadT("\xFF\xFE" + Utf16(declared, false)), SampleValue);
    EXPECT_TRUE(ResultHas(u"<read encoding=\"UTF-16LE\""));
    EXPECT_EQ(m_Doc.GetText(), declared);
    EXPECT_EQ(LoadT("\xFE\xFF" + Utf16(declared, true)), SampleValue);
    EXPECT_TRUE(ResultHas(u"<endian_swap/>"));
}

TEST_F(XmlFile, Utf16WithoutMarkIsRecognised) {
    const std::u16string text = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n" + Sample;
    EXPECT_EQ(LoadT(Utf16(text, false)), SampleValue);
    EXPECT_FALSE(ResultHas(u"<bom/>"));
    EXPECT_EQ(LoadT(Utf16(text, true)), SampleValue);
    EXPECT_EQ(m_Doc.GetText(), text);
    // A lone surrogate and a dangling last byte cannot be read.
    EXPECT_EQ(LoadT(Utf16(u"<a t=\"\xD800x\"/>", false) + "!"), u"\uFFFDx");
    EXPECT_EQ(m_Doc.GetText().back(), u'\uFFFD');
}

TEST_F(XmlFile, DeclaredEncodingsAreConverted) {
    EXPECT_EQ(LoadT("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a t=\"\xE9\x80\"/>"), u"\u00e9\u20ac");
    EXPECT_EQ(m_Doc.GetResult(), u"<read encoding=\"windows-1252\" length=\"56\"/><converted_to "
                                 u"encoding=\"windows-1252\" length=\"56\"/>");
    EXPECT_EQ(LoadT("<?xml version='1.0' encoding='GB2312'?><a t=\"\xD6\xD0\xCE\xC4\"/>"), u"\u4e2d\u6587");
    EXPECT_EQ(LoadT("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><a t=\"\xE9\x80\"/>"), u"\u00e9\u0080");
    EXPECT_EQ(LoadT("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><a t=\"\x93\xFA\x96\x7B\"/>"),
              u"\u65e5\u672c");
    // HTML declares its charset in a meta element.
    ASSERT_TRUE(
        m_Doc.LoadFile(Write("<html><head><META HTTP-EQUIV=\"Content-Type\" "
                             "CONTENT=\"text/html; charset=big5\"></head><p t=\"\xA4\xA4\"/></html>")));
    EXPECT_NE(m_Doc.GetText().find(u"<p t=\"\u4e2d\"/>"), std::u16string::npos);
}

TEST_F(XmlFile, UnknownEncodingIsReportedAndTheTextStillRead) {
    EXPECT_EQ(LoadT("<?xml version=\"1.0\" encoding=\"x-klingon\"?><a t=\"\xC3\xA9\"/>"), u"\u00e9");
    EXPECT_TRUE(ResultHas(u"<unsupported_encoding encoding=\"x-klingon\"/>"));
    EXPECT_TRUE(ResultHas(u"<utf8_detection/>"));
}

TEST_F(XmlFile, UndeclaredTextIsCheckedForUtf8ThenReadAsAnsi) {
    // No mark, no declaration, no leading "<": valid UTF-8 is UTF-8.
    EXPECT_EQ(LoadT("\r\n<a t=\"\xC3\xA9\xE2\x82\xAC\"/>"), u"\u00e9\u20ac");
    EXPECT_TRUE(ResultHas(u"<utf8_detection/>"));
    EXPECT_TRUE(ResultHas(u"<converted_to encoding=\"UTF-8\""));
    // Cut off only by the end of the data still counts as UTF-8.
    EXPECT_EQ(LoadT(" <a t=\"\xC3\xA9\"/>\xE2\x82"), u"\u00e9");
    EXPECT_EQ(m_Doc.GetText().back(), u'\uFFFD');
    // Not UTF-8: the ANSI code page.
    EXPECT_EQ(LoadT(" <a t=\"\xE9\x80\"/>"), u"\u00e9\u20ac");
    EXPECT_TRUE(ResultHas(u"<converted_to encoding=\"windows-1252\""));
    // A leading "<" means UTF-8 without a check; broken sequences become U+FFFD.
    EXPECT_EQ(LoadT("<a t=\"\xE9x\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80\"/>"),
              u"\uFFFDx\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_FALSE(ResultHas(u"<utf8_detection/>"));
}

TEST_F(XmlFile, ZeroCharactersAreRemoved) {
    EXPECT_EQ(LoadT(std::string("<a t=\"x\0y\"/>\0", 13)), u"xy");
    EXPECT_TRUE(ResultHas(u"<nulls_removed count=\"2\"/>"));
    EXPECT_EQ(LoadT(Utf16(std::u16string(u"<a t=\"x\0y\"/>", 12), false)), u"xy");
    EXPECT_TRUE(ResultHas(u"<nulls_removed count=\"1\"/>"));
}

TEST_F(XmlFile, EmptyMissingAndUnreadableFiles) {
    EXPECT_TRUE(m_Doc.LoadFile(Write("")));
    EXPECT_EQ(m_Doc.GetText(), u"");
    EXPECT_FALSE(m_Doc.IsWellFormed());

    m_Doc.SetText(u"<old/>");
    EXPECT_FALSE(m_Doc.LoadFile(m_Dir / "missing.xml"));
    EXPECT_EQ(m_Doc.GetText(), u"");
    EXPECT_TRUE(ResultHas(u"<file_error msg=\"No such file or directory\" n=\"2\"/>"));
    EXPECT_FALSE(m_Doc.FindElement(u"old"));

    EXPECT_FALSE(m_Doc.LoadFile(m_Dir));
    EXPECT_TRUE(ResultHas(u"<file_error"));
    EXPECT_EQ(m_Doc.GetText(), u"");

    m_Doc.SetText(u"<a/>");
    EXPECT_FALSE(m_Doc.SaveFile(m_Dir / "no" / "such" / "dir.xml"));
    EXPECT_TRUE(ResultHas(u"<file_error"));
}

TEST_F(XmlFile, SavingWritesTheTextUnchangedInItsDeclaredEncoding) {
    const fs::path path = m_Dir / "out.xml";
    const std::u16string utf8Text =
        u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a t=\"\u00e9\U0001F600\"/>\r\n";
    m_Doc.SetText(utf8Text);
    ASSERT_TRUE(m_Doc.SaveFile(path));
    EXPECT_EQ(Read(path),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a t=\"\xC3\xA9\xF0\x9F\x98\x80\"/>\r\n");
    EXPECT_EQ(m_Doc.GetResult(),
              u"<converted_from encoding=\"UTF-8\" length=\"57\"/><write encoding=\"UTF-8\" length=\"57\"/>");
    CXmlDocument reread;
    ASSERT_TRUE(reread.LoadFile(path));
    EXPECT_EQ(reread.GetText(), utf8Text);

    m_Doc.SetText(u"<?xml version=\"1.0\" encoding=\"windows-1252\"?><a t=\"\u00e9\u20ac\u4e2d\"/>");
    ASSERT_TRUE(m_Doc.SaveFile(path));
    EXPECT_EQ(Read(path), "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a t=\"\xE9\x80?\"/>");
    EXPECT_TRUE(ResultHas(u"<conversion_loss/>"));

    // UTF-16 is written without a mark and read back as such.
    const std::u16string utf16Text = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a t=\"\U0001F600\"/>";
    m_Doc.SetText(utf16Text);
    ASSERT_TRUE(m_Doc.SaveFile(path));
    EXPECT_EQ(Read(path), Utf16(utf16Text, false));
    ASSERT_TRUE(reread.LoadFile(path));
    EXPECT_EQ(reread.GetText(), utf16Text);

    // No declaration: UTF-8. A lone surrogate cannot be written.
    m_Doc.SetText(std::u16string(u"<a t=\"") + char16_t(0xDC00) + u"\"/>");
    ASSERT_TRUE(m_Doc.SaveFile(path));
    EXPECT_EQ(Read(path), "<a t=\"\xEF\xBF\xBD\"/>");
    EXPECT_TRUE(ResultHas(u"<conversion_loss/>"));

    // An encoding that cannot be written here falls back to UTF-8 and says so.
    m_Doc.SetText(u"<?xml version=\"1.0\" encoding=\"x-klingon\"?><a t=\"\u00e9\"/>");
    ASSERT_TRUE(m_Doc.SaveFile(path));
    EXPECT_EQ(Read(path), "<?xml version=\"1.0\" encoding=\"x-klingon\"?><a t=\"\xC3\xA9\"/>");
    EXPECT_TRUE(ResultHas(u"<unsupported_encoding encoding=\"x-klingon\"/>"));
}

// Files are read and written in pieces of 64 KiB (65536 bytes or characters): a character, a zero byte
// or a broken sequence across a piece's end reads and writes as anywhere else.
TEST_F(XmlFile, LongFilesReadTheSameAcrossPieceEnds) {
    const std::string head = "<a t=\"";
    const struct {
        std::string Bytes;
        std::u16string Text;
    } cases[] = {
        {"\xE4\xB8\xAD", u"\u4e2d"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {std::string("\xC3\0\xA9", 3), u"\u00e9"}, // zero bytes go before the decoding
        {"\xE4\xB8x", u"\uFFFDx"},                 // a broken sequence is one replacement
    };
    for (const auto& c : cases) {
        for (std::size_t back = 0; back < c.Bytes.size() + 1; ++back) {
            const std::size_t fill = 65536 - head.size() - back;
            const std::string bytes = head + std::string(fill, 'y') + c.Bytes + "\"/>";
            EXPECT_EQ(LoadT(bytes), std::u16string(fill, u'y') + c.Text) << Narrow(c.Text) << back;
            EXPECT_TRUE(ResultHas(u"<read encoding=\"UTF-8\" length=\"" +
                                  CXmlResult::Number(static_cast<long long>(bytes.size())) + u"\"/>"));
        }
    }
    const std::string nulls = head + std::string(65530, '\0') + "z\"/>" + std::string(70000, '\0');
    EXPECT_EQ(LoadT(nulls), u"z");
    EXPECT_TRUE(
        ResultHas(u"<nulls_removed count=\"135530\"/><converted_to encoding=\"UTF-8\" length=\"10\"/>"));
}

TEST_F(XmlFile, LongTextsAreWrittenWholeAcrossPieceEnds) {
    const fs::path path = m_Dir / "long.xml";
    const std::u16string head = u"<a t=\"";
    for (std::size_t back = 0; back < 3; ++back) {
        const std::u16string fill(65536 - head.size() - back, u'y');
        m_Doc.SetText(head + fill + u"\U0001F600\"/>");
        ASSERT_TRUE(m_Doc.SaveFile(path));
        EXPECT_EQ(Read(path), Narrow(head + fill) + "\xF0\x9F\x98\x80\"/>") << back;
        EXPECT_FALSE(ResultHas(u"<conversion_loss/>"));
    }
    // A lone surrogate at a piece's end is still one replacement.
    const std::u16string fill(65535 - head.size(), u'y');
    m_Doc.SetText(head + fill + char16_t(0xD800) + u"z\"/>");
    ASSERT_TRUE(m_Doc.SaveFile(path));
    EXPECT_EQ(Read(path), Narrow(head + fill) + "\xEF\xBF\xBDz\"/>");
    EXPECT_TRUE(ResultHas(u"<conversion_loss/>"));
}

TEST(XmlEncodingUtf8, EveryKindOfCharacterConvertsBothWays) {
    const std::u16string text = u"A\u007F\u0080\u07FF\u0800\uD7FF\uE000\uFFFF\U00010000\U0010FFFF";
    const std::string bytes = "A\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"
                              "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
    std::string out;
    bool loss = false;
    XmlEncoding::AppendUtf16AsUtf8(text, out, loss);
    EXPECT_EQ(out, bytes);
    EXPECT_FALSE(loss);
    std::u16string back;
    XmlEncoding::AppendUtf8AsUtf16(bytes, back);
    EXPECT_EQ(back, text);
    EXPECT_TRUE(XmlEncoding::IsValidUtf8(bytes));
    // Lone surrogates, at the end too, become U+FFFD.
    out.clear();
    XmlEncoding::AppendUtf16AsUtf8(std::u16string{char16_t(0xDC00), u'x', char16_t(0xD800)}, out, loss);
    EXPECT_EQ(out, "\xEF\xBF\xBDx\xEF\xBF\xBD");
    EXPECT_TRUE(loss);
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    for (const char* bad : {"\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xF8\x88\x80\x80\x80", "\x80", "\xC3\x28"})
        EXPECT_FALSE(XmlEncoding::IsValidUtf8(bad)) << bad;
    EXPECT_TRUE(XmlEncoding::IsValidUtf8("ok\xF0\x9F\x98"));
}

TEST(XmlEncodingNames, AliasesMapToCodePages) {
    using XmlEncoding::CodePageFromName;
    EXPECT_EQ(CodePageFromName(u"utf-8"), 65001);
    EXPECT_EQ(CodePageFromName(u"UTF8"), 65001);
    EXPECT_EQ(CodePageFromName(u"utf-16"), 1200);
    EXPECT_EQ(CodePageFromName(u"Unicode"), 1200);
    EXPECT_EQ(CodePageFromName(u"UTF-16BE"), 1201);
    EXPECT_EQ(CodePageFromName(u"gb2312"), 936);
    EXPECT_EQ(CodePageFromName(u"GBK"), 936);
    EXPECT_EQ(CodePageFromName(u"big5"), 950);
    EXPECT_EQ(CodePageFromName(u"Shift_JIS"), 932);
    EXPECT_EQ(CodePageFromName(u" windows-1252 "), 1252);
    EXPECT_EQ(CodePageFromName(u"x-klingon"), 0);
    EXPECT_EQ(CodePageFromName(u"utf-8\u00e9"), 0);
    // Every code page the table names converts here.
    for (const int codePage :
         {874,  932,   936,   949,   950,   1250,  1251,  1252,  1253,  1254,  1255,  1256, 1257,
          1258, 20127, 20866, 21866, 28591, 28592, 28595, 28605, 51932, 51949, 54936, 65000}) {
        const bool wineLacksIt = codePage == 51932 || codePage == 51949 || codePage == 54936;
        if (wineLacksIt && UnderWine())
            continue; // EUC-JP, EUC-KR and GB18030
        EXPECT_TRUE(XmlEncoding::IsCodePageAvailable(codePage)) << codePage;
    }
}

TEST(XmlEncodingNames, DeclaredEncodingIsFoundInXmlAndHtml) {
    using XmlCodec::FindDeclaredEncoding;
    EXPECT_EQ(FindDeclaredEncoding(u"<?xml version=\"1.0\" encoding = 'GBK' ?><a/>"), u"GBK");
    EXPECT_EQ(FindDeclaredEncoding(u"<?xml version=\"1.0\"?><a encoding=\"GBK\"/>"), u"");
    EXPECT_EQ(FindDeclaredEncoding(u"<meta http-equiv=\"content-type\" content=\"text/html;charset=utf-8\">"),
              u"utf-8");
    EXPECT_EQ(FindDeclaredEncoding(u"<meta name=\"x\" content=\"charset=gbk\">"), u"");
    EXPECT_EQ(FindDeclaredEncoding(std::u16string(2000, u' ') + u"<?xml version=\"1.0\" encoding=\"GBK\"?>"),
              u"");
}

} // namespace
