// The list container under every combination, macro, emulation and named catalogue: text items,
// one child list per item, a macro's play settings and the view state of the list box showing it.
#pragma once

#include <string>
#include <vector>

class CActionList {
public:
    // More rows than any list box of the program shows.
    static constexpr int MaxViewRows = 1000;

    int SizeOfView = 0;
    int ViewStartAt = 0;
    int CursorPos = 0;
    std::vector<std::u16string> List;
    std::vector<CActionList> SubLists;
    int Cycles = 1;
    bool IsAutoInterval = false;
    int Delay = 30;
    int PlayMode = 0;

    int Count() const { return static_cast<int>(List.size()); }

    // Row operations take a row relative to ViewStartAt.
    std::u16string GetItemText(int row) const;
    CActionList GetSubList(int row) const;
    void SetItemText(int row, const std::u16string& text);
    void SetSubList(int row, const CActionList& list);
    void InsertItem(int row, const std::u16string& text);
    void DeleteItem(int row);

    // Adds text at the end and scrolls so that it is the selected, last visible row.
    void AppendItem(const std::u16string& text);
    // Selects the item at an absolute index, scrolling it to the top when it is outside the view.
    void SetCursorIndex(int index);

    // Keeps the view state within the list: at most MaxViewRows rows shown, the first one shown and
    // the cursor on items the list holds (both 0 when it holds none). A profile may say anything.
    void ClampView();

    void Clear();
    void Assign(const CActionList& other);
    int IndexOfText(const std::u16string& text) const;
    // Same items (case-sensitive) and play settings; view state and child lists do not count.
    bool ContentEquals(const CActionList& other) const;
    // On a catalogue of named entries: selects the first entry holding content, or adds one
    // named "default" holding a copy of it.
    void SelectOrAddContent(const CActionList& content);

private:
    long long AbsoluteIndex(int row) const { return static_cast<long long>(ViewStartAt) + row; }
    bool HoldsItem(long long index) const {
        return index >= 0 && index < static_cast<long long>(List.size());
    }
    CActionList EmptyChild() const;
};
