// The key assignment editor CMorvDialogKeyMapSettings: the modal skinned window in which the user
// gives one key on one layer its new function. Seven pages of areas drawn from the page's pictures,
// four text boxes and two skinned scroll bars; what is edited lives in a CKeyMapEdit until OK writes
// it to the model. Cancel, the close box, Escape and Enter leave the model untouched.
#pragma once

#include "editor/AreaTip.h"
#include "editor/EditHistory.h"
#include "editor/KeyCapture.h"
#include "editor/KeyMapEdit.h"
#include "editor/Recorder.h"
#include "editor/RowNameEditor.h"
#include "skin/SkinWindow.h"
#include "zelk/ZelkHWI.h"

#include <QString>

#include <memory>

class CSkinScrollBar;
class QLineEdit;
class QPlainTextEdit;

class CMorvDialogKeyMapSettings : public CSkinWindow {
    Q_OBJECT

public:
    // Opens on data's CurrentKey and CurrentLevel.
    CMorvDialogKeyMapSettings(CKeyboardData& data, const CSkinResources& resources,
                              QWidget* parent = nullptr);
    ~CMorvDialogKeyMapSettings() override;

    const CKeyMapEdit& Edit() const { return Editing; }
    // Runs an area's command, as a click on it does.
    void Dispatch(int id);
    // Ctrl+Z and Ctrl+Shift+Z: the editor's own changes, back to where it opened.
    void UndoEdit();
    void RedoEdit();
    // The tooltip shown now; empty while none is.
    QString ShownTip() const;

    bool AreaShown(const SkinRegion& area) const override;

    RecordingTarget Recording() const { return Recorder.Target(); }

    // Empty list rows and the frames take no focus.
    bool AreaFocusable(const SkinRegion& area) const override;
    // The tabs, the icons of a choice page and each list are groups the arrows move within.
    int AreaFocusGroup(const SkinRegion& area) const override;
    // Tabs are page tabs, picks check boxes, the mode switches radio buttons.
    SkinAreaSpeech AreaSpeech(const SkinRegion& area) const override;
    int CloseBoxId() const override;
    // The editor's title and the key it edits ("Key Settings F2").
    QString AccessibleWindowName() const override;

protected:
    // Tab enters the tabs at the shown page's, the icons at the pick.
    int GroupEntryArea(int group) const override;
    // Past the first or last row shown of the names or the record list, that list scrolls.
    bool ScrollFocusGroup(int group, int notification) override;
    bool TakesClick(const SkinRegion& area) const override { return AreaShown(area); }
    bool FocusKeysPaused() const override {
        return Capture.Running() || Recorder.Target() != RecordingTarget::None;
    }
    bool DrawsCaption(const SkinRegion& area) const override {
        return (area.labelOnly || area.listRow) && area.showText;
    }
    void OnAreaClicked(const SkinRegion& area) override;
    void paintEvent(QPaintEvent* event) override;
    // The fields of the number edits, which sit where the UI language puts them.
    void PaintBeforeAreas(QPainter& painter) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // Enter in NameEditor commits it, and in edits 1001 and 1002 does nothing; it never reaches
    // the dialog, where it would close the editor.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void OnPostedMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void done(int result) override;

private:
    void ShowPage(int page);
    // Ctrl+Tab and Ctrl+Page Down show the next page, with Shift or Page Up the previous; the focus
    // stays on the tabs when it was there.
    void StepPage(int step);
    void RunArea(int id);
    // What is edited now is a step of the editor's history, when it changed.
    void NoteEdit();
    // The page, its lists and settings shown afresh after Undo or Redo.
    void ShowRestoredEdit();
    void OnOk();
    void OnClear();
    // Ends what is in progress before a click is handled; false when the click goes no further.
    bool FinishInProgress(int clickedId);
    // The areas' active flags and captions from the edited state, before they are drawn.
    void PrepareAreas();
    void UpdateTip(QPoint point);
    // The bar covers the list as it is now; its position stays within the new range unless it is
    // put back to the start.
    void SetScrollRange(CSkinScrollBar* bar, const CActionList& list, bool toStart);
    // Both bars of the shown page cover their lists as they are now, keeping their positions.
    void UpdateScrollRanges();
    void OnScroll(CSkinScrollBar* bar, int notification, int position);
    void OnNameRow(int row);
    void OnRecordRow(int row);
    void OnNew();
    void OnDelete();
    // The row name editor over a row of the shown page, holding text for the item the row shows.
    void OpenNameEditor(int rowId, CRowNameEditor::Purpose purpose, const std::u16string& text);
    // Stores a rename or a delay in the item the editor was opened for, and hides it; false when it
    // was not open.
    bool CommitNameEditor();

    void StartRecording(RecordingTarget target);
    void StopRecording();
    void OnHookKey(std::uintptr_t wParam, std::intptr_t lParam);

    void OnPlayMode(int id);
    void OnIntervalKind(bool fixed);
    void OnRepeatEdited(const QString& text);
    void OnIntervalEdited(const QString& text);
    void OnStepMenu(int row, QPoint at);
    // The macro's play settings shown in the page's controls.
    void ShowMacroSettings();

    CKeyboardData& Model;
    CKeyMapEdit Editing;
    CEditHistory EditSteps;
    QLineEdit* RepeatEdit = nullptr;
    QLineEdit* IntervalEdit = nullptr;
    QPlainTextEdit* ComboKeysBox = nullptr;
    CSkinScrollBar* NamesBar = nullptr;
    CSkinScrollBar* RecordBar = nullptr;
    CAreaTip* Tip = nullptr;
    std::unique_ptr<CRowNameEditor> NameEditor;
    CRecorder Recorder;
    CKeyCapture Capture;
};

// The main window's key command: edits data's CurrentKey on CurrentLevel in the editor, modally over
// the owner.
void RunKeyMapSettings(QWidget* owner, CKeyboardData& data, const CSkinResources& resources);
