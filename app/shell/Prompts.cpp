#include "shell/Prompts.h"

#include "catalogue/UiLanguage.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>

namespace {

QString AskSystemPath(QWidget* owner, PathQuestion question) {
    QFileDialog dialog(owner);
    SetUpPathDialog(dialog, question);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void AddEntries(QMenu& menu, const std::vector<CMenuEntry>& entries) {
    for (const CMenuEntry& entry : entries) {
        if (entry.entries.empty()) {
            menu.addAction(entry.text)->setData(entry.command);
        } else {
            AddEntries(*menu.addMenu(entry.text), entry.entries);
        }
    }
}

} // namespace

const QString& ProgramName() {
    static const QString name = QStringLiteral("Zelk");
    return name;
}

QString UiText(const std::string& language, const char* chinese, const char* english) {
    return QString::fromUtf8(ByLanguage(language, chinese, english));
}

void SetUpPathDialog(QFileDialog& dialog, PathQuestion question) {
    const bool saving = question == PathQuestion::SaveProfile;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (question != PathQuestion::OpenFirmware) {
        dialog.setNameFilter(QStringLiteral("pro(*.pro);;All Files(*.*)"));
        dialog.setDefaultSuffix(QStringLiteral("pro"));
    }
}

CPrompts SystemPrompts() {
    CPrompts prompts;
    prompts.ShowMessage = [](QWidget* owner, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, ProgramName(), text, QMessageBox::Ok, owner);
        box.exec();
    };
    prompts.AskPath = AskSystemPath;
    prompts.AskColour = [](QWidget* owner, const AreaLight& initial) -> std::optional<AreaLight> {
        QColorDialog dialog(QColor(initial.Red & 0xFF, initial.Green & 0xFF, initial.Blue & 0xFF), owner);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        const QColor chosen = dialog.selectedColor();
        return AreaLight{chosen.red(), chosen.green(), chosen.blue()};
    };
    prompts.ChooseFromMenu = [](QWidget* owner, const std::vector<CMenuEntry>& entries, QPoint at) {
        QMenu menu(owner);
        AddEntries(menu, entries);
        const QAction* chosen = menu.exec(at);
        return chosen != nullptr ? chosen->data().toInt() : 0;
    };
    prompts.OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return prompts;
}

CPrompts& Prompts() {
    static CPrompts prompts = SystemPrompts();
    return prompts;
}

void ShowMessage(QWidget* owner, const QString& text) {
    if (!text.isEmpty() && Prompts().ShowMessage)
        Prompts().ShowMessage(owner, text);
}

QString AskPath(QWidget* owner, PathQuestion question) {
    return Prompts().AskPath ? Prompts().AskPath(owner, question) : QString();
}
