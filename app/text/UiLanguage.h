// The UI languages. Every run starts in the first; the main window's language button moves on by
// NextUiLanguage. A language is also a column of the text table (UiTexts.cpp).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

enum class UiLanguage : std::size_t {
    Chinese, // "zh-CN"
    English, // "en-US"
};

inline constexpr std::size_t UiLanguageCount = 2;
// The language codes, in the order of UiLanguage.
inline constexpr std::string_view UiLanguageCodes[UiLanguageCount] = {"zh-CN", "en-US"};

inline constexpr UiLanguage StartUiLanguage = UiLanguage::Chinese;

// The language the language button switches to.
inline constexpr UiLanguage NextUiLanguage(UiLanguage language) {
    return language == UiLanguage::Chinese ? UiLanguage::English : UiLanguage::Chinese;
}

inline constexpr std::string_view LanguageCode(UiLanguage language) {
    return UiLanguageCodes[static_cast<std::size_t>(language)];
}

inline std::optional<UiLanguage> UiLanguageOfCode(std::string_view code) {
    for (std::size_t index = 0; index < UiLanguageCount; ++index)
        if (UiLanguageCodes[index] == code)
            return static_cast<UiLanguage>(index);
    return std::nullopt;
}

// English captions are wider than the Chinese the windows were laid out for; a few controls move.
inline constexpr bool IsEnglishUi(UiLanguage language) {
    return language == UiLanguage::English;
}
