#include "ProfileLayout.h"

#include "catalogue/ContentItem.h"

int ContentRows(int mode) {
    return mode == ModeCombo ? ComboViewRows : MacroViewRows;
}

void ClearProfile(CKeyboardData& data) {
    data.Clear();
    for (auto& levels : data.CurrentSettings) {
        for (KeySetting& setting : levels)
            setting.ComboKey.SizeOfView = ContentRows(ModeNotSet);
    }
}

CActionList BlankList(int rows) {
    CActionList list;
    list.SizeOfView = rows;
    return list;
}

CActionList LaidOutList(int rows, const std::vector<std::u16string>& items) {
    CActionList list = BlankList(rows);
    list.List = items;
    list.SubLists.assign(items.size(), BlankList(ChildRows));
    return list;
}

bool HasDefaultPlay(const CActionList& list) {
    const CActionList fresh;
    return list.Cycles == fresh.Cycles && list.IsAutoInterval == fresh.IsAutoInterval &&
           list.Delay == fresh.Delay && list.PlayMode == fresh.PlayMode;
}
