// The edit that opens over a list row of the key assignment editor: to rename an entry of a names
// list, or to change a delay of a macro's steps. It remembers the item it was opened for, as an
// index of its list, because the list may scroll before the edit is committed and the text must land
// on that item, not on whatever the row shows by then.
#pragma once

#include <QRect>
#include <QString>

#include <optional>
#include <string>

class QLineEdit;
class QWidget;

class CRowNameEditor {
public:
    enum class Purpose { Rename, Delay };
    // What a commit gives back: the typed text for the item it was opened for.
    struct CTyped {
        Purpose purpose;
        int item;
        std::u16string text;
    };

    // box is the window's edit 1003, hidden until Open.
    explicit CRowNameEditor(QLineEdit* box);

    void Open(QRect row, Purpose purpose, int item, const std::u16string& text);
    bool IsOpen() const { return Current.has_value(); }
    // Hides the edit; what it held, or nothing when it was not open. Focus that was in the edit goes
    // to focusAfter, so what is typed next lands in no other edit.
    std::optional<CTyped> Commit(QWidget* focusAfter);

    QLineEdit* Box() const { return Edit; }

private:
    QLineEdit* Edit;
    struct COpened {
        Purpose purpose;
        int item;
    };
    std::optional<COpened> Current;
};
