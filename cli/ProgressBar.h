// Progress of a long transfer: a bar redrawn on one line of standard error when that is a terminal,
// sized to the terminal's width; nothing at all otherwise, so that pipes and logs get only results.
// Progress arrives as posted messages on the transfer's thread.
#pragma once

#include "zelk/ZelkHWI.h"

#include <cstdio>
#include <string>

class CProgressBar : public CMessageTarget {
public:
    // scale is the progress value that means 100 %.
    CProgressBar(std::string caption, int scale, std::FILE* out = stderr);
    void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void Show(int value);
    // Ends the bar's line.
    void Finish();
    bool OnTerminal() const { return Terminal; }

    // The bar's line for a terminal of the given width: "Caption [####....]  42%", always shorter
    // than the width so that the cursor never wraps; narrow terminals get "Caption  42%" or less.
    static std::string Line(const std::string& caption, int percent, int columns);
    // The width of the terminal out is on; the COLUMNS variable, or 80, when the system does not say.
    static int TerminalColumns(std::FILE* out);

private:
    std::string Caption;
    int Scale;
    std::FILE* Out;
    bool Terminal;
    int LastPercent = -1;
};
