// What the program asks of the person in front of it: message boxes captioned with the program's
// name, whether to save unsaved changes, file paths, colours, choices from pop-up menus, and opening
// a document with the desktop's viewer. Every window asks through Prompts(); tests replace its entries with
// their own answers.
#pragma once

#include "model/KeyboardData.h"
#include "text/UiTexts.h"

#include <QPoint>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QFileDialog;
class QWidget;

// The caption of every window and message box.
const QString& ProgramName();

// A text of the table in the UI language.
QString UiText(UiLanguage language, TextId id);
// The words for a problem of the device library in the UI language.
QString ProblemUiText(const CProblem& problem, UiLanguage language);
// A message and, when there is a problem, a line giving its reason ("Reason: ...").
QString WithReason(const QString& message, const CProblem& problem, UiLanguage language);

// SaveBackup saves a profile too, proposing zelk-backup-YYYYMMDD-HHMM.pro (the time now).
enum class PathQuestion { SaveProfile, OpenProfile, OpenFirmware, SaveBackup };

// One entry of a pop-up menu: a command, or a sub-menu when it has entries of its own.
struct CMenuEntry {
    QString text;
    int command = 0;
    std::vector<CMenuEntry> entries;
};

enum class SaveChoice { Save, Discard, Cancel };

// The question asked before unsaved changes would be lost, with its buttons' texts, all in the UI
// language. Without a cancel text there is no way back (the program is ending): only Save or Discard.
struct CSaveQuestion {
    QString text;
    QString save;
    QString discard;
    QString cancel;
};

struct CPrompts {
    std::function<void(QWidget* owner, const QString& text)> ShowMessage;
    // Cancel also when the question was closed without an answer.
    std::function<SaveChoice(QWidget* owner, const CSaveQuestion& question)> AskSaveChanges;
    // The chosen path; empty when the person cancelled. The system's dialogs open in the folder last
    // used in this run for the same kind of file.
    std::function<QString(QWidget* owner, PathQuestion question)> AskPath;
    // The colour dialog opened fully with a colour preselected; nothing when cancelled.
    std::function<std::optional<AreaLight>(QWidget* owner, const AreaLight& initial)> AskColour;
    // The command of the entry chosen from a pop-up menu at a global point; 0 when none was.
    std::function<int(QWidget* owner, const std::vector<CMenuEntry>& menu, QPoint at)> ChooseFromMenu;
    // False when no viewer took the document.
    std::function<bool(const QUrl& url)> OpenUrl;
};

// Sets a file dialog up for the question: save or open mode and, for profiles, the filter
// "pro(*.pro);;All Files(*.*)" and the default suffix "pro", which a name typed without one gets.
void SetUpPathDialog(QFileDialog& dialog, PathQuestion question);

// The system's message boxes, file, colour and menu dialogs and desktop services. The file and colour
// dialogs are Qt's own, so they follow the program's language and its dark look, not the desktop's.
CPrompts SystemPrompts();
// The prompts every window uses; the system's unless replaced.
CPrompts& Prompts();

// Shorthands for the entries above; a message with an empty text is not shown.
void ShowMessage(QWidget* owner, const QString& text);
// Cancel when nobody answers.
SaveChoice AskSaveChanges(QWidget* owner, const CSaveQuestion& question);
QString AskPath(QWidget* owner, PathQuestion question);
