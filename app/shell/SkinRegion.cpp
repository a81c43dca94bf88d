#include "shell/SkinRegion.h"

namespace {

const std::string& TextFor(const std::map<std::string, std::string>& texts, const std::string& language) {
    static const std::string none;
    const auto found = texts.find(language);
    return found == texts.end() ? none : found->second;
}

} // namespace

const std::string& SkinRegion::Caption(const std::string& language) const {
    return TextFor(captions, language);
}

const std::string& SkinRegion::Tip(const std::string& language) const {
    return TextFor(tips, language);
}
