// The mechanics every skinned window shares: no system frame, the shape of its background picture
// (the transparent colour is cut away), centred on the screen, moved by dragging outside its areas
// and resized from the 5-pixel right and bottom strips; an area table that drives hover, clicks and
// painting; the orange-on-dark look of its text boxes; posted messages as events; the keyboard focus
// over its areas (Tab in reading order, arrows within a group, Enter and Space click, an orange focus
// mark) and one accessible object per area for screen readers.
//
// A window supplies its pictures and area table and overrides the variant hooks (which areas are
// shown now, which take the mouse, which captions are drawn, what a click does, what is painted
// before and after the areas).
#pragma once

#include "skin/SkinAccessible.h"
#include "skin/SkinPieceCache.h"
#include "skin/SkinRegion.h"
#include "skin/SkinResources.h"
#include "skin/SkinWindowGestures.h"
#include "skin/WindowMessageTarget.h"

#include <QDialog>
#include <QPoint>

#include <map>
#include <memory>
#include <string>
#include <vector>

class QLineEdit;
class QPainter;
class QPlainTextEdit;

struct SkinPictures {
    int background = 0;
    int hover = 0;  // 0: the window has no hover picture
    int active = 0; // 0: the window has no active picture
};

class CSkinWindow : public QDialog {
    Q_OBJECT

public:
    using HitPart = SkinHitPart;

    // language is the UI language the captions are chosen by; it must outlive the window.
    CSkinWindow(const CSkinResources& resources, const UiLanguage& language, SkinPictures pictures,
                SkinColour transparent, std::size_t areaCount, QWidget* parent = nullptr);
    ~CSkinWindow() override;

    std::vector<SkinRegion>& Areas() { return AreaTable; }
    const std::vector<SkinRegion>& Areas() const { return AreaTable; }
    SkinRegion* AreaById(int id);

    // Stores the point as the last mouse point, updates every area's hovered flag (repainting the
    // areas that changed) and says which part of the window is there.
    HitPart HitTest(QPoint clientPoint);
    QPoint LastMousePoint() const { return LastPoint; }
    // The area a released click at the point goes to, by the window's click rule; null for none.
    const SkinRegion* ClickedArea(QPoint clientPoint) const;
    // The window's outline: the background picture less its transparent colour.
    const QRegion& Shape() const { return WindowShape; }

    // Gives the window its shape, size and place; call before filling the area table.
    void OpenSkin();
    // A dialog with an owner opens inside the owner's window where the desktop cannot place it
    // (CDialogOverlay).
    void setVisible(bool visible) override;
    // The pictures the areas are drawn from from now on (the background keeps the window's shape).
    void SetPictures(SkinPictures pictures);
    const SkinPictures& Pictures() const { return PictureIds; }

    // Whether the area is shown now: hit testing, hover, clicks and painting all ask it.
    virtual bool AreaShown(const SkinRegion& area) const { return area.id > 0; }

    // Keyboard focus and assistive technology. The focused area: an index of the area table, -1 for
    // none. Setting it repaints the focus mark and tells assistive technology.
    int FocusedArea() const { return FocusIndex; }
    void SetFocusedArea(int index);
    // Does what a click on the area at an index of the area table does.
    void ActivateArea(int index);
    // The indices of the areas assistive technology sees, in table order: those that take focus.
    std::vector<int> ExposedAreas() const;
    // Whether the keyboard focus may rest on the area: shown, taking clicks and not a label.
    virtual bool AreaFocusable(const SkinRegion& area) const;
    // Areas of one group other than 0 are one Tab stop, within which the arrows move. By default the
    // keys of a keyboard picture (areas with a key index) are one group.
    static constexpr int KeyFocusGroup = 1;
    virtual int AreaFocusGroup(const SkinRegion& area) const {
        return area.keyIndex >= 1 ? KeyFocusGroup : 0;
    }
    // The area's role, name, description and state for assistive technology. By default a button
    // named by its caption, else (the close box) "Close", else (an icon) by its own tooltip, else by
    // the caption of the shown label over it, else by that of the label just right of it on its line,
    // else (keys) by its legend or, where the cap has none, the key's name; so no area that takes a
    // click is nameless. List rows are list items, selected when active.
    virtual SkinAreaSpeech AreaSpeech(const SkinRegion& area) const;
    // The id of the window's close box (a picture area; a label may share the id); 0 for none.
    virtual int CloseBoxId() const { return 0; }
    // The window's name for assistive technology; empty: its title.
    virtual QString AccessibleWindowName() const { return {}; }
    // Tells assistive technology that the areas' texts or states changed (with structure: which
    // areas are shown).
    void TellAreasChanged(bool structure = false);

    // Delivers posted messages to OnPostedMessage while the window exists. Shared so that a worker
    // may keep it alive past the window.
    std::shared_ptr<CWindowMessageTarget> MessageTarget();

    const CSkinResources& Resources() const { return Skin; }
    UiLanguage Language() const { return WindowLanguage; }

    // Text boxes in the skins' orange on dark, in skin font 13, placed at a rectangle; the id is the
    // box's object name ("edit1001"). They keep their look under the program's style sheet.
    QLineEdit* AddLineBox(const SkinRect& rect, int id);
    QPlainTextEdit* AddTextArea(const SkinRect& rect, int id);
    static void StyleTextBox(QWidget* box, const CSkinResources& resources);

protected:
    // Areas that become hovered and, by default, take clicks: shown and not a label.
    virtual bool TakesHover(const SkinRegion& area) const;
    virtual bool TakesClick(const SkinRegion& area) const { return TakesHover(area); }
    // Whether a change of hover repaints the area.
    virtual bool RepaintsOnHover() const { return true; }
    // Whether the area's caption is drawn, and with which flags (SkinTextFormat values).
    virtual bool DrawsCaption(const SkinRegion& area) const { return area.labelOnly && area.showText; }
    virtual std::uint32_t CaptionFormat(const SkinRegion& area) const { return area.textFormat; }
    virtual void OnAreaClicked(const SkinRegion& area) { Q_UNUSED(area); }
    virtual void OnPostedMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // The area Tab enters a group at (an index of the area table); -1: the one focused last there,
    // else the group's first in reading order.
    virtual int GroupEntryArea(int group) const {
        Q_UNUSED(group);
        return -1;
    }
    // While true (a recording runs), Tab, arrows, Enter and Space do not move or use the focus.
    virtual bool FocusKeysPaused() const { return false; }
    // Up, Down, Page Up or Page Down (a scroll notification) where the group has no further area:
    // a group that is a list scrolls by it and returns true.
    virtual bool ScrollFocusGroup(int group, int notification) {
        Q_UNUSED(group);
        Q_UNUSED(notification);
        return false;
    }
    // Tab and Shift+Tab: the next or previous stop in reading order among the focusable areas
    // (a group is one stop, at the rectangle around it) and the window's widgets that take Tab.
    bool focusNextPrevChild(bool next) override;
    // Arrows within a group, Home and End to the ends of the row, Enter and Space on the focused area.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // The orange frame of the focused area while the window itself has the focus.
    void PaintFocusMark(QPainter& painter);

    // Drawn after the background and before the areas, and after the areas.
    virtual void PaintBeforeAreas(QPainter& painter) { Q_UNUSED(painter); }
    virtual void PaintAfterAreas(QPainter& painter) { Q_UNUSED(painter); }

    // Paint core: the background, the hook before the areas, every shown area in table order (state
    // picture, caption), the hook after the areas.
    void PaintSkin(QPainter& painter);
    void PaintBackground(QPainter& painter);
    void PaintAreaState(QPainter& painter, const SkinRegion& area);
    void PaintCaption(QPainter& painter, const SkinRegion& area);
    void CopyFromPicture(QPainter& painter, int pictureId, const SkinRect& rect);

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // OnAreaClicked, then tells assistive technology what the click may have changed.
    void ClickArea(const SkinRegion& area);
    // The pieces of the hover picture are cut under every area that takes hover, those of the active
    // picture under the areas active then.
    enum class Overlay { Hover, Active };
    void PaintPiece(QPainter& painter, Overlay overlay, const SkinRegion& area);

    const CSkinResources& Skin;
    const UiLanguage& WindowLanguage;
    SkinPictures PictureIds;
    SkinColour TransparentColour;
    std::vector<SkinRegion> AreaTable;
    QPoint LastPoint{-1, -1};
    QRegion WindowShape;
    CSkinPieceCache HoverPieces;
    CSkinPieceCache ActivePieces;
    CSkinWindowGestures Gestures{*this};

    std::shared_ptr<CWindowMessageTarget> Target;
    int FocusIndex = -1;
    // The area last focused in each group, which Tab returns to.
    std::map<int, int> GroupFocus;
};

// What assistive technology calls a key, 1 to 87: its legend, or where its cap has none, its name.
QString SpokenKeyName(int keyIndex);

// The colour of the focus mark: the skins' orange.
inline constexpr SkinColour FocusMarkColour{255, 111, 0};

// Qt alignment and wrapping flags of a caption's SkinTextFormat value.
int QtTextFlags(std::uint32_t textFormat);

// The font a caption is drawn in: its own, or where a line of it would be wider than the rectangle
// (English captions are longer than the Chinese the rectangles were made for), the largest smaller
// size at which every line fits, down to SmallestCaptionPixels. Wrapped captions keep their font.
inline constexpr int SmallestCaptionPixels = 9;
QFont FittedCaptionFont(const QFont& font, const QString& caption, int width, int textFlags);
