#include "model/ActionList.h"

#include <algorithm>
#include <cstddef>
#include <utility>

// Index arithmetic runs in 64 bits: view members come from profile files unchecked, and a sum
// such as ViewStartAt + 200000 must not overflow.

CActionList CActionList::EmptyChild() const {
    CActionList child;
    child.SizeOfView = SizeOfView;
    return child;
}

std::u16string CActionList::GetItemText(int row) const {
    const long long index = AbsoluteIndex(row);
    if (!HoldsItem(index)) {
        return {};
    }
    return List[static_cast<std::size_t>(index)];
}

CActionList CActionList::GetSubList(int row) const {
    const long long index = AbsoluteIndex(row);
    if (!HoldsItem(index) || static_cast<std::size_t>(index) >= SubLists.size()) {
        return EmptyChild();
    }
    return SubLists[static_cast<std::size_t>(index)];
}

void CActionList::SetCursorIndex(int index) {
    if (List.empty()) {
        // Clamping would give index -1; keep the view on the (absent) first row instead.
        ViewStartAt = 0;
        CursorPos = 0;
        return;
    }
    long long i = index;
    const long long count = static_cast<long long>(List.size());
    if (i < 0) {
        i = 0;
    }
    if (i >= count) {
        i = count - 1;
    }
    const long long first = ViewStartAt;
    if (first <= i && i < first + SizeOfView) {
        CursorPos = static_cast<int>(i - first);
    } else {
        ViewStartAt = static_cast<int>(i);
        CursorPos = 0;
    }
    ClampView();
}

void CActionList::SetItemText(int row, const std::u16string& text) {
    const long long index = AbsoluteIndex(row);
    if (HoldsItem(index)) {
        List[static_cast<std::size_t>(index)] = text;
    } else {
        AppendItem(text);
    }
}

void CActionList::SetSubList(int row, const CActionList& list) {
    const long long index = AbsoluteIndex(row);
    if (!HoldsItem(index) || static_cast<std::size_t>(index) >= SubLists.size()) {
        return;
    }
    // Copy first: list may live inside the child it replaces.
    CActionList copy(list);
    SubLists[static_cast<std::size_t>(index)] = std::move(copy);
}

void CActionList::InsertItem(int row, const std::u16string& text) {
    const long long index = AbsoluteIndex(row);
    if (!HoldsItem(index)) {
        AppendItem(text);
        return;
    }
    const auto position = static_cast<std::size_t>(index);
    List.insert(List.begin() + static_cast<std::ptrdiff_t>(position), text);
    if (position <= SubLists.size()) {
        SubLists.insert(SubLists.begin() + static_cast<std::ptrdiff_t>(position), EmptyChild());
    }
    ClampView();
}

void CActionList::AppendItem(const std::u16string& text) {
    List.push_back(text);
    SubLists.push_back(EmptyChild());

    const long long visibleToEnd = static_cast<long long>(List.size()) - ViewStartAt;
    if (visibleToEnd - SizeOfView < 1) {
        CursorPos = static_cast<int>(visibleToEnd - 1);
    } else {
        ViewStartAt = static_cast<int>(ViewStartAt + (visibleToEnd - SizeOfView));
        CursorPos = SizeOfView - 1;
    }
    ClampView();
}

void CActionList::DeleteItem(int row) {
    if (List.empty()) {
        return;
    }
    long long count = static_cast<long long>(List.size());
    long long index = AbsoluteIndex(row);
    if (index >= count) {
        index = count - 1;
    }
    if (index < 0) {
        // A row before the first item (a view scrolled to a negative start) removes the first.
        index = 0;
    }
    const auto position = static_cast<std::size_t>(index);
    List.erase(List.begin() + static_cast<std::ptrdiff_t>(position));
    if (position < SubLists.size()) {
        SubLists.erase(SubLists.begin() + static_cast<std::ptrdiff_t>(position));
    }
    count -= 1;

    if (count == 0) {
        ViewStartAt = 0;
        CursorPos = 0;
        return;
    }
    if (ViewStartAt >= count) {
        ViewStartAt = static_cast<int>(count - 1);
    }
    if (ViewStartAt < 0) {
        ViewStartAt = 0;
    }
    if (CursorPos >= count - ViewStartAt) {
        CursorPos = static_cast<int>(count - ViewStartAt - 1);
    }
    if (CursorPos < 0) {
        CursorPos = 0;
    }
    ClampView();
}

void CActionList::ClampView() {
    SizeOfView = std::clamp(SizeOfView, 0, MaxViewRows);
    const long long count = static_cast<long long>(List.size());
    ViewStartAt = static_cast<int>(std::clamp<long long>(ViewStartAt, 0, std::max(count - 1, 0LL)));
    long long rows = count - ViewStartAt;
    if (SizeOfView > 0)
        rows = std::min<long long>(rows, SizeOfView);
    CursorPos = static_cast<int>(std::clamp<long long>(CursorPos, 0, std::max(rows - 1, 0LL)));
}

void CActionList::Clear() {
    List.clear();
    SubLists.clear();
    ViewStartAt = 0;
    CursorPos = 0;
    Cycles = 1;
    Delay = 30;
    IsAutoInterval = false;
    PlayMode = 0;
}

void CActionList::Assign(const CActionList& other) {
    // Copy before clearing: other may be this list or one of its own children.
    CActionList copy(other);
    *this = std::move(copy);
}

int CActionList::IndexOfText(const std::u16string& text) const {
    for (std::size_t i = 0; i < List.size(); ++i) {
        if (List[i] == text) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CActionList::ContentEquals(const CActionList& other) const {
    return List == other.List && Cycles == other.Cycles && IsAutoInterval == other.IsAutoInterval &&
           Delay == other.Delay && PlayMode == other.PlayMode;
}

void CActionList::SelectOrAddContent(const CActionList& content) {
    for (std::size_t i = 0; i < SubLists.size(); ++i) {
        if (SubLists[i].ContentEquals(content)) {
            SetCursorIndex(static_cast<int>(i));
            return;
        }
    }
    CActionList copy(content);
    AppendItem(u"default");
    // Appending always selects the new, last entry.
    SubLists.back() = std::move(copy);
}
