// Progress of a long transfer on the terminal: a redrawn bar on a terminal, plain percentage lines
// otherwise. Progress arrives as posted messages on the transfer's thread.
#pragma once

#include "ZelkHWI.h"

#include <cstdio>
#include <string>

class CProgressBar : public CMessageTarget {
public:
    // scale is the progress value that means 100 %.
    CProgressBar(std::string caption, int scale, std::FILE* out = stdout);
    void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void Show(int value);
    // Ends the bar's line.
    void Finish();
    bool OnTerminal() const { return Terminal; }

private:
    std::string Caption;
    int Scale;
    std::FILE* Out;
    bool Terminal;
    int LastPercent = -1;
};
