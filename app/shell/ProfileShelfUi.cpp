#include "shell/ProfileShelfUi.h"

#include "device_ui/ProgressDialog.h"
#include "model/Profile.h"
#include "model/ProfileShelf.h"
#include "shell/StatusLine.h"
#include "skin/Prompts.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QWidget>

#include <memory>

bool ApplyShelfProfile(QWidget* window, CKeyboardData& data, const std::string& name) {
    const UiLanguage language = data.UiLanguage;
    const QString shown = QString::fromStdString(name);
    auto profile = std::make_unique<CKeyboardData>();
    BuildKeyCatalogue(*profile);
    profile->Clear();
    CProblem problem;
    if (!LoadShelfProfile(ProfileShelfFolder(), name, *profile, problem)) {
        ShowMessage(
            window,
            UiText(language, TextId::ShelfProfileNotApplied).arg(shown, ProblemUiText(problem, language)));
        return false;
    }
    CApplyResult result;
    if (!RunApplyProfile(window, data, ProfileToApply(*profile), result))
        return false;
    if (auto* status = window != nullptr ? window->findChild<CStatusLine*>() : nullptr)
        status->ShowShelfProfile(shown);
    const QString loss = TransferLossText(language);
    ShowMessage(window, !loss.isEmpty()        ? loss
                        : result.AlreadyHeld() ? UiText(language, TextId::ShelfAlreadyHeld).arg(shown)
                                               : UiText(language, TextId::ShelfApplied).arg(shown));
    return true;
}

bool SaveToShelfNamed(QWidget* window, const CKeyboardData& data, const QString& name) {
    const UiLanguage language = data.UiLanguage;
    const std::string text = name.trimmed().toStdString();
    CProblem problem;
    bool saved = SaveProfileToShelf(ProfileShelfFolder(), data, text, false, problem);
    if (!saved && problem.Code == ProblemCode::ShelfProfileExists) {
        const auto answer = QMessageBox::question(
            window, ProgramName(), UiText(language, TextId::ShelfReplaceQuestion).arg(name.trimmed()));
        if (answer != QMessageBox::Yes)
            return false;
        saved = SaveProfileToShelf(ProfileShelfFolder(), data, text, true, problem);
    }
    ShowMessage(window, saved
                            ? UiText(language, TextId::ShelfSaved).arg(name.trimmed())
                            : UiText(language, TextId::ShelfNotSaved).arg(ProblemUiText(problem, language)));
    return saved;
}

bool SaveToShelfAsking(QWidget* window, const CKeyboardData& data, const QString& suggested) {
    const UiLanguage language = data.UiLanguage;
    bool chosen = false;
    const QString name = QInputDialog::getText(window, UiText(language, TextId::SaveToShelfTitle),
                                               UiText(language, TextId::SaveToShelfName), QLineEdit::Normal,
                                               suggested, &chosen);
    return chosen && SaveToShelfNamed(window, data, name);
}
