// What assistive technology (screen readers, AT-SPI) sees of a skinned window: the window with its
// widgets and one child per area that does something, named, described and stated by the window's
// AreaSpeech and pressed as a click presses it.
#pragma once

#include <QString>

class CSkinWindow;
class QAccessibleInterface;

// How an area presents itself to assistive technology.
struct SkinAreaSpeech {
    enum class Role { Button, PageTab, ListItem, CheckBox, RadioButton };
    Role role = Role::Button;
    QString name;
    QString description;
    bool checked = false;  // check boxes and radio buttons
    bool selected = false; // page tabs and list items
    bool unavailable = false;
};

// Installs the factory that gives every skinned window its accessible interface, and the skinned
// scroll bars theirs; once is enough.
void InstallSkinAccessibleFactory();

// The interface of the window's area at an index of its area table; null before the window has one.
QAccessibleInterface* SkinAreaAccessible(CSkinWindow* window, int index);

// Has assistive technology say a short text, such as what a button changed that the focus does not
// show: a notification of the window that shows with the text (and goes with the next one).
void AnnounceToAssistiveTechnology(CSkinWindow* window, const QString& text);

// Tells assistive technology that the names, descriptions and states of the window's areas may have
// changed, and with structure that the areas shown changed (another page).
void TellSkinAreasChanged(CSkinWindow* window, bool structure);
