#include "text/UiTexts.h"

#include <gtest/gtest.h>

#include <set>

TEST(UiLanguage, TheLanguageButtonVisitsEveryLanguageAndReturnsToTheFirst) {
    std::set<UiLanguage> seen;
    UiLanguage language = StartUiLanguage;
    do {
        EXPECT_TRUE(seen.insert(language).second);
        language = NextUiLanguage(language);
    } while (language != StartUiLanguage && seen.size() <= UiLanguageCount);
    EXPECT_EQ(seen.size(), UiLanguageCount);
}

TEST(UiLanguage, CodesNameTheLanguages) {
    EXPECT_EQ(StartUiLanguage, UiLanguage::Chinese);
    EXPECT_EQ(LanguageCode(UiLanguage::Chinese), "zh-CN");
    EXPECT_EQ(LanguageCode(UiLanguage::English), "en-US");
    EXPECT_EQ(UiLanguageOfCode("zh-CN"), UiLanguage::Chinese);
    EXPECT_EQ(UiLanguageOfCode("en-US"), UiLanguage::English);
    EXPECT_EQ(UiLanguageOfCode("en"), std::nullopt);
    EXPECT_EQ(UiLanguageOfCode(""), std::nullopt);
}

TEST(UiTexts, StartUpMessagesSayItInEveryLanguageOnePerLine) {
    EXPECT_EQ(TextInEveryLanguage(TextId::SkinFileMissing),
              "找不到皮肤资源文件 %1。\nThe skin resource file %1 is missing or damaged.");
}

TEST(UiTexts, Utf16TextDecodesTheTablesUtf8) {
    EXPECT_EQ(Utf16Text(TextId::FirmwareNotIntelHex, UiLanguage::Chinese),
              u"该文件不是 Intel-HEX 文件（不以“:”开头）");
    EXPECT_EQ(Utf16Text(TextId::None, UiLanguage::English), u"");
}
