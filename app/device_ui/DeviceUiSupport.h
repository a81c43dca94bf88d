// The skin resources the device dialogs borrow.
#pragma once

class CSkinResources;
class QWidget;

// The skin of the nearest skinned window among owner and its parents, when it holds the device
// dialogs' pictures; otherwise the pictures read once from the resource file beside the program.
const CSkinResources& DeviceDialogResources(QWidget* owner);
