// zelk-cli import and set: a profile from the JSON that show --json prints, or that a person writes
// leaving out what can be derived. Every value is checked against the key catalogue and what the
// keyboard can hold; the first fault refuses the whole document and names its place.
#pragma once

#include "model/KeyboardData.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <string_view>

// Why a document was refused: where ("keys[4].levels[0].code") and why.
struct CJsonRefusal {
    std::string Place;
    std::string Reason;
    std::string Line() const { return Place.empty() ? Reason : Place + ": " + Reason; }
};

// A document larger than this is refused unread: no profile comes near it.
inline constexpr std::size_t MaxProfileJsonSize = 8u << 20;

// Whether text looks like a JSON document rather than a profile file: its first non-blank byte is '{'.
bool LooksLikeJson(std::string_view text);

// Reads a whole document into data (which holds the key catalogue): keys not listed are unset, the
// catalogues hold what the document lists. On refusal data is left as it was.
bool ReadProfileJson(std::string_view text, CKeyboardData& data, CJsonRefusal& refusal);

// One level's assignment of key (1..87), as an entry of "levels", onto setting; "entry" names an entry
// of data's catalogues. The other level is not touched.
bool ReadLevelJson(const nlohmann::json& level, const CKeyboardData& data, int key, KeySetting& setting,
                   CJsonRefusal& refusal);

// One entry of the catalogue of that kind (ModeCombo, ModeMacro or ModeEmulation), as in "catalogues".
bool ReadEntryJson(const nlohmann::json& entry, const CKeyboardData& data, int mode, std::u16string& name,
                   CActionList& content, CJsonRefusal& refusal);

// A colour, {"red": R, "green": G, "blue": B} or "#rrggbb".
bool ReadColourJson(const nlohmann::json& colour, AreaLight& light, CJsonRefusal& refusal);

// The key index a legend names: "Esc", "F12", "A", "Left Shift", "` ~" (either character alone when no
// other key has it, any letter case); 0 when it names none.
int KeyOfLegend(std::string_view legend);
