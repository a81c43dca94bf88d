// The help command: the HTML user manual (beside the program or installed under share/zelk), in the UI
// language, opened with the desktop's viewer.
#pragma once

#include "text/UiLanguage.h"

#include <QString>

class QWidget;

// The manual in the language (manual/index.html, or index.zh-CN.html for Chinese), beside the program or in
// the installed data.
QString HelpManualPath(UiLanguage language);
// Opens the manual; says so when it is missing or nothing could show it.
void OpenHelp(QWidget* owner, UiLanguage language);
