// The help command: the HTML user manual (beside the program or installed under share/zelk), in the UI
// language, opened with the desktop's viewer.
#pragma once

#include <QString>

#include <string>

class QWidget;

// manual/index.html, or index.zh-CN.html for Chinese, beside the program or in the installed data.
QString HelpManualPath(const std::string& language);
// Opens the manual; says so when it is missing or nothing could show it.
void OpenHelp(QWidget* owner, const std::string& language);
