// The two UI languages and the one rule that picks a text by UiLanguage: English for "en-US",
// Chinese otherwise (every run starts in Chinese).
#pragma once

#include <string_view>

inline constexpr char ChineseUiLanguage[] = "zh-CN";
inline constexpr char EnglishUiLanguage[] = "en-US";

inline bool IsEnglishUi(std::string_view language) {
    return language == EnglishUiLanguage;
}

template <typename Text>
const Text& ByLanguage(std::string_view language, const Text& chinese, const Text& english) {
    return IsEnglishUi(language) ? english : chinese;
}
