// What every windowed test suite shares: the painted skins its main() loads, and area geometry in
// Qt's terms.
#pragma once

#include "shell/Prompts.h"
#include "shell/SkinRegion.h"
#include "shell/SkinResources.h"

#include <QPoint>
#include <QRect>

// Loaded by main() from the resource file beside the test program.
extern CSkinResources* TheTestSkins;
inline const CSkinResources& TestSkins() {
    return *TheTestSkins;
}

inline QRect ToQRect(const SkinRect& rect) {
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

inline QPoint Centre(const SkinRect& rect) {
    return QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// Answers the program's prompts with the test's own while it lives (every entry starts unanswered:
// a question nobody set up reads as cancelled), and restores the program's prompts afterwards.
class CTestPrompts {
public:
    CTestPrompts() : Saved(Prompts()) { Prompts() = CPrompts{}; }
    ~CTestPrompts() { Prompts() = Saved; }
    CTestPrompts(const CTestPrompts&) = delete;
    CTestPrompts& operator=(const CTestPrompts&) = delete;

    CPrompts& operator*() { return Prompts(); }
    CPrompts* operator->() { return &Prompts(); }

private:
    CPrompts Saved;
};
