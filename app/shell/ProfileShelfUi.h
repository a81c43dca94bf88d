// The profile shelf in the program: applying one of its profiles from the tray's menu, and saving the
// profile being edited onto it (the main window's "Save to shelf...").
#pragma once

#include "model/KeyboardData.h"

#include <QString>

#include <string>

class QWidget;

// Applies the shelf profile of that name to the keyboard of data behind the progress dialog: read
// first, then only the key settings or backlight that differ. The model being edited stays as it is.
// Tells how it went (a damaged profile is refused before anything is sent) and, on success, lets the
// status line under window name the profile. True on success.
bool ApplyShelfProfile(QWidget* window, CKeyboardData& data, const std::string& name);

// Saves the model onto the shelf as name, asking before it replaces a profile of that name; tells how
// it went. True when it was saved.
bool SaveToShelfNamed(QWidget* window, const CKeyboardData& data, const QString& name);
// The same after asking for the name, proposing suggested; false when nothing was saved.
bool SaveToShelfAsking(QWidget* window, const CKeyboardData& data, const QString& suggested = {});
