// The pictures the painter produces. Each window contributes its own entries; adding a window's
// skin means adding one function here and listing it in AllSkinPictures.
#pragma once

#include "skin/SkinRegion.h"

#include <QPainter>
#include <QSize>

#include <functional>
#include <vector>

struct SkinPictureSpec {
    int id = 0;
    QSize size; // in window pixels; the 2x picture is twice as large
    SkinColour transparent;
    std::function<void(QPainter&)> paint; // draws in window pixels
};

std::vector<SkinPictureSpec> MainWindowPictures();
std::vector<SkinPictureSpec> DeviceDialogPictures();
std::vector<SkinPictureSpec> BacklightPictures();
std::vector<SkinPictureSpec> ScrollBarPictures();
std::vector<SkinPictureSpec> EditorPictures();

inline std::vector<SkinPictureSpec> AllSkinPictures() {
    std::vector<SkinPictureSpec> all;
    for (auto& picture : MainWindowPictures())
        all.push_back(std::move(picture));
    for (auto& picture : DeviceDialogPictures())
        all.push_back(std::move(picture));
    for (auto& picture : BacklightPictures())
        all.push_back(std::move(picture));
    for (auto& picture : ScrollBarPictures())
        all.push_back(std::move(picture));
    for (auto& picture : EditorPictures())
        all.push_back(std::move(picture));
    return all;
}

// The program's icon: drawn into a square, or painted alone at an edge length on a transparent
// background.
void DrawProgramIcon(QPainter& painter, const QRectF& square);
QImage PaintProgramIcon(int size);
inline constexpr int ProgramIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
