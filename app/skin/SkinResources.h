// The skin resources every window borrows for the whole run: the pictures of ZelkRES.rcc by
// numeric id, the dark brush of the text boxes, the twenty skin fonts and the program's icon.
#pragma once

#include "skin/SkinRegion.h"

#include <QBrush>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QString>

#include <array>
#include <map>
#include <vector>

inline constexpr int SkinFontCount = 20;
inline constexpr char ResourceFileName[] = "ZelkRES.rcc";

class CSkinResources {
public:
    CSkinResources();
    ~CSkinResources();
    CSkinResources(const CSkinResources&) = delete;
    CSkinResources& operator=(const CSkinResources&) = delete;

    // Registers the resource file and checks that it holds the listed pictures. On failure says what is
    // missing in problem (in both languages: it is reported before the UI language exists) and keeps
    // nothing. Every picture of the file is decoded when it is first asked for and then kept for the run,
    // once: the pixmap and the plain image share their pixels where the platform allows.
    bool Load(const QString& resourceFile, const std::vector<int>& pictureIds, QString& problem);
    // ZelkRES.rcc, found as DataFile finds it.
    static QString DefaultResourceFile();
    // A file of the program's data: beside the program (as in the build tree), else in the installed
    // data folder (share/zelk beside the programs' bin/). When neither holds it, the path where it
    // belongs (in the data folder when there is one), for the message that says it is missing.
    static QString DataFile(const QString& name);

    // The picture for the screen's pixel density; null when the file has no such picture or it does not
    // decode.
    const QPixmap* Picture(int id) const;
    // The picture at one image pixel per window pixel: the transparent colour is read from it.
    const QImage* PlainPicture(int id) const;
    // Copies of the picture's parts under the rectangles (window pixels), for the screen's pixel
    // density; null copies when the file has no such picture. A picture no window has shown whole is
    // decoded for the call only and not kept: a window's hover and active pictures are shown only
    // through its areas, which need far less than the whole picture.
    std::vector<QPixmap> Pieces(int id, const std::vector<SkinRect>& rects) const;
    const QBrush& DarkBrush() const { return Brush; }
    // Skin font i has a character height of i pixels; font 0 the system's default height.
    const QFont& SkinFont(int index) const;
    const QIcon& ProgramIcon() const { return Icon; }

private:
    struct LoadedPicture {
        bool Decoded = false;
        QPixmap Shown;
        QImage Plain;
    };

    // The picture, decoded on first use and kept; null when there is none.
    const LoadedPicture* Decoded(int id) const;
    LoadedPicture Decode(int id) const;
    void Release();

    QString RegisteredFile;
    bool Dense = false;
    // Decoding on first use changes no picture a caller has been given.
    mutable std::map<int, LoadedPicture> Pictures;
    QBrush Brush;
    std::array<QFont, SkinFontCount> Fonts;
    QIcon Icon;
};

// The part of a picture that is not exactly the transparent colour.
QRegion SkinShape(const QImage& picture, SkinColour transparent);
