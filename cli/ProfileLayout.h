// The layout of the lists in a profile that zelk-cli builds (by import or set): the one the desktop
// program saves. show --json prints a list's layout only where it departs from this, so that import
// gives back the same file.
#pragma once

#include "model/KeyboardData.h"

#include <string>
#include <vector>

// Rows of the child list of every content item.
inline constexpr int ChildRows = 9;

// Rows of a key's list of that kind: a combination's 6, every other kind's 9.
int ContentRows(int mode);

// The empty profile: every key unset on both levels, no colour, empty catalogues, each list with its
// rows and the view at the top.
void ClearProfile(CKeyboardData& data);

// A list of items in this layout: view at the top, each item with a blank child list.
CActionList LaidOutList(int rows, const std::vector<std::u16string>& items);

// A list with nothing but its rows: what every child list of an item is.
CActionList BlankList(int rows);

// The play settings are those of a fresh list (cycles 1, fixed interval off, delay 30, mode 0).
bool HasDefaultPlay(const CActionList& list);
