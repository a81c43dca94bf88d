#include "shell/UnsavedChangesGuard.h"

#include "model/KeyboardData.h"
#include "model/Profile.h"
#include "shell/MainWindowText.h"
#include "skin/Prompts.h"
#include "text/UiTexts.h"

#include <QWidget>

#include <filesystem>

namespace {

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QString Qt16(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

} // namespace

CUnsavedChangesGuard::CUnsavedChangesGuard(QWidget& window, CKeyboardData& data)
    : Window(window), Model(data) {
    // The task bar shows "Zelk*" while there are unsaved changes.
    Window.setWindowTitle(ProgramName() + QStringLiteral("[*]"));
}

void CUnsavedChangesGuard::TakeSnapshot() {
    Snapshot.Take(Model);
}

bool CUnsavedChangesGuard::HasUnsavedChanges() const {
    return !Snapshot.Matches(Model);
}

bool CUnsavedChangesGuard::MarkTitle() {
    const bool unsaved = HasUnsavedChanges();
    Window.setWindowModified(unsaved);
    return unsaved;
}

bool CUnsavedChangesGuard::SaveAsked() {
    const QString path = AskPath(&Window, PathQuestion::SaveProfile);
    if (path.isEmpty())
        return false;
    if (!SaveProfile(Model, ToPath(path))) {
        ShowMessage(&Window, UiText(Model.UiLanguage, TextId::ProfileNotSaved).arg(path));
        return false;
    }
    TakeSnapshot();
    return true;
}

CSaveQuestion CUnsavedChangesGuard::SaveQuestion(bool ending) const {
    const UiLanguage language = Model.UiLanguage;
    return {Qt16(SaveChangesQuestion(language, ending)), Qt16(SaveAnswer(language)),
            Qt16(DiscardAnswer(language)), ending ? QString() : Qt16(CancelAnswer(language))};
}

bool CUnsavedChangesGuard::Settle() {
    if (!HasUnsavedChanges())
        return true;
    switch (AskSaveChanges(&Window, SaveQuestion(false))) {
    case SaveChoice::Save:
        return SaveAsked();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

void CUnsavedChangesGuard::OfferSaveBeforeEnding() {
    // Without a way back, a save that was cancelled or failed leads to the question again.
    while (HasUnsavedChanges() && AskSaveChanges(&Window, SaveQuestion(true)) == SaveChoice::Save) {
        if (SaveAsked())
            return;
    }
}
