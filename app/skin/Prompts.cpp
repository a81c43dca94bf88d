#include "skin/Prompts.h"

#include "skin/DialogOverlay.h"
#include "text/ProblemTexts.h"
#include "text/UiTexts.h"

#include <QColorDialog>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>

namespace {

// The skins' dark look for Qt's own dialogs.
QPalette DarkPalette() {
    QPalette palette;
    const QColor text(0xec, 0xec, 0xec);
    const QColor window(0x1b, 0x1d, 0x22);
    const QColor button(0x2a, 0x2d, 0x35);
    const QColor accent(0xf0, 0x78, 0x20);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, QColor(0x14, 0x15, 0x19));
    palette.setColor(QPalette::AlternateBase, QColor(0x22, 0x25, 0x2b));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::PlaceholderText, QColor(0x8a, 0x8d, 0x93));
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Light, QColor(0x4a, 0x4e, 0x58));
    palette.setColor(QPalette::Midlight, QColor(0x3a, 0x3d, 0x46));
    palette.setColor(QPalette::Mid, QColor(0x30, 0x33, 0x3b));
    palette.setColor(QPalette::Dark, QColor(0x10, 0x11, 0x14));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, window);
    palette.setColor(QPalette::Link, QColor(0xf0, 0xa0, 0x60));
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    const QColor disabled(0x6b, 0x6e, 0x75);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabled);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x50, 0x40, 0x30));
    return palette;
}

// The folder a file dialog last ended in, for profiles and for firmware files; kept for this run only.
QString& LastFolder(PathQuestion question) {
    static QString profiles;
    static QString firmware;
    return question == PathQuestion::OpenFirmware ? firmware : profiles;
}

QString AskSystemPath(QWidget* owner, PathQuestion question) {
    QFileDialog dialog(owner);
    // Qt's own dialog, not the desktop's: it speaks the program's language and wears its dark look.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setPalette(DarkPalette());
    if (!LastFolder(question).isEmpty())
        dialog.setDirectory(LastFolder(question));
    SetUpPathDialog(dialog, question);
    CDialogOverlay::HoldOverOwner(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedFiles().constFirst();
    LastFolder(question) = QFileInfo(chosen).absolutePath();
    return chosen;
}

SaveChoice AskSystemSaveChanges(QWidget* owner, const CSaveQuestion& question) {
    QMessageBox box(QMessageBox::NoIcon, ProgramName(), question.text, QMessageBox::NoButton, owner);
    QPushButton* save = box.addButton(question.save, QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(question.discard, QMessageBox::DestructiveRole);
    QPushButton* cancel = nullptr;
    if (!question.cancel.isEmpty()) {
        cancel = box.addButton(question.cancel, QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
    }
    box.setDefaultButton(save);
    CDialogOverlay::HoldOverOwner(box);
    box.exec();
    if (box.clickedButton() == save)
        return SaveChoice::Save;
    if (box.clickedButton() == discard)
        return SaveChoice::Discard;
    return SaveChoice::Cancel;
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

QString UiText(UiLanguage language, TextId id) {
    return QString::fromUtf8(Text(id, language));
}

QString ProblemUiText(const CProblem& problem, UiLanguage language) {
    return QString::fromStdString(ProblemText(problem, language));
}

QString WithReason(const QString& message, const CProblem& problem, UiLanguage language) {
    if (!problem)
        return message;
    return message + QStringLiteral("\n") +
           UiText(language, TextId::ProblemReason).arg(ProblemUiText(problem, language));
}

void SetUpPathDialog(QFileDialog& dialog, PathQuestion question) {
    const bool saving = question == PathQuestion::SaveProfile || question == PathQuestion::SaveBackup;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (question != PathQuestion::OpenFirmware) {
        dialog.setNameFilter(QStringLiteral("pro(*.pro);;All Files(*.*)"));
        dialog.setDefaultSuffix(QStringLiteral("pro"));
    }
    if (question == PathQuestion::SaveBackup)
        dialog.selectFile(QStringLiteral("zelk-backup-%1.pro")
                              .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm"))));
}

CPrompts SystemPrompts() {
    CPrompts prompts;
    prompts.ShowMessage = [](QWidget* owner, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, ProgramName(), text, QMessageBox::Ok, owner);
        CDialogOverlay::HoldOverOwner(box);
        box.exec();
    };
    prompts.AskSaveChanges = AskSystemSaveChanges;
    prompts.AskPath = AskSystemPath;
    prompts.AskColour = [](QWidget* owner, const AreaLight& initial) -> std::optional<AreaLight> {
        QColorDialog dialog(QColor(initial.Red & 0xFF, initial.Green & 0xFF, initial.Blue & 0xFF), owner);
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        dialog.setPalette(DarkPalette());
        CDialogOverlay::HoldOverOwner(dialog);
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

SaveChoice AskSaveChanges(QWidget* owner, const CSaveQuestion& question) {
    return Prompts().AskSaveChanges ? Prompts().AskSaveChanges(owner, question) : SaveChoice::Cancel;
}

QString AskPath(QWidget* owner, PathQuestion question) {
    return Prompts().AskPath ? Prompts().AskPath(owner, question) : QString();
}
