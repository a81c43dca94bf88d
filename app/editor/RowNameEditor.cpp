#include "editor/RowNameEditor.h"

#include <QLineEdit>

CRowNameEditor::CRowNameEditor(QLineEdit* box) : Edit(box) {
    Edit->setAlignment(Qt::AlignCenter);
    Edit->hide();
}

void CRowNameEditor::Open(QRect row, Purpose purpose, int item, const std::u16string& text) {
    Edit->setGeometry(row);
    Edit->setText(QString::fromStdU16String(text));
    Edit->setEnabled(true);
    Edit->show();
    Edit->setFocus();
    Edit->selectAll();
    Current = COpened{purpose, item};
}

std::optional<CRowNameEditor::CTyped> CRowNameEditor::Commit(QWidget* focusAfter) {
    if (!Current)
        return std::nullopt;
    const COpened opened = *Current;
    Current.reset();
    const bool hadFocus = Edit->hasFocus();
    Edit->setEnabled(false);
    Edit->hide();
    if (hadFocus && focusAfter != nullptr)
        focusAfter->setFocus();
    return CTyped{opened.purpose, opened.item, Edit->text().toStdU16String()};
}
