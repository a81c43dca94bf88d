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
#include <initializer_list>
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

    // The pictures of a window whose transparent colour is given: when they are decoded, pixels of
    // exactly that colour become fully transparent, so the window's corners are see-through wherever
    // the compositor draws windows with alpha (Wayland, Xwayland, X11 with a compositing manager).
    // A picture decoded before is decoded again when next asked for: pointers to it from before the
    // call are no longer valid.
    void UseTransparentColour(std::initializer_list<int> ids, SkinColour transparent) const;

    // The picture for the screen's pixel density; null when the file has no such picture or it does not
    // decode.
    const QPixmap* Picture(int id) const;
    // The picture at one image pixel per window pixel: the window's shape is read from it.
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
    mutable std::map<int, SkinColour> TransparentColours;
    QBrush Brush;
    std::array<QFont, SkinFontCount> Fonts;
    QIcon Icon;
};

// The picture with every pixel of exactly the transparent colour fully transparent and every other
// pixel opaque, as it was.
QImage KeyedOut(QImage picture, SkinColour transparent);

// The part of a picture that shows: its opaque pixels, or, for a picture without alpha, those that
// are not exactly the transparent colour.
QRegion SkinShape(const QImage& picture, SkinColour transparent);
