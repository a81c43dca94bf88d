#include "skin/SkinResources.h"

#include "ZelkVersion.h"
#include "text/UiTexts.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QResource>

#include <algorithm>

namespace {

const int IconSizes[] = {16, 24, 32, 48, 64, 128, 256};

QString PictureName(int id) {
    return QStringLiteral(":/skin/%1.png").arg(id);
}

} // namespace

CSkinResources::CSkinResources()
    : Brush(QColor(TextBoxBackground.Red, TextBoxBackground.Green, TextBoxBackground.Blue)) {
    for (int i = 0; i < SkinFontCount; ++i) {
        // Size 0 keeps the application's default height, as a zero font height does.
        if (i > 0)
            Fonts[static_cast<std::size_t>(i)].setPixelSize(i);
    }
}

CSkinResources::~CSkinResources() {
    Release();
}

QString CSkinResources::DefaultResourceFile() {
    return DataFile(QString::fromLatin1(ResourceFileName));
}

QString CSkinResources::DataFile(const QString& name) {
    const QDir programs(QCoreApplication::applicationDirPath());
    const QString beside = programs.filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    const QDir data(QDir::cleanPath(programs.filePath(QString::fromLatin1(ZelkDataFromPrograms))));
    // Installed, a missing file is named where it belongs.
    return data.exists() ? data.filePath(name) : beside;
}

bool CSkinResources::Load(const QString& resourceFile, const std::vector<int>& pictureIds, QString& problem) {
    Release();
    if (!QFileInfo::exists(resourceFile) || !QResource::registerResource(resourceFile)) {
        problem = QString::fromStdString(TextInEveryLanguage(TextId::SkinFileMissing))
                      .arg(QDir::toNativeSeparators(resourceFile));
        return false;
    }
    RegisteredFile = resourceFile;

    // The pictures the program needs must be there. Only the file's index is read: their bytes are
    // read, and their pixels decoded, when a window first shows them.
    for (const int id : pictureIds) {
        if (!QResource(PictureName(id)).isValid()) {
            problem = QString::fromStdString(TextInEveryLanguage(TextId::SkinPictureMissing))
                          .arg(QDir::toNativeSeparators(resourceFile))
                          .arg(id);
            Release();
            return false;
        }
    }
    Dense = qApp != nullptr && qApp->devicePixelRatio() > 1.0;
    // Decoded here as PNG: adding the files would have every image format plugin probe them.
    for (const int size : IconSizes)
        Icon.addPixmap(QPixmap(QStringLiteral(":/icon/zelk-%1.png").arg(size), "PNG"));
    return true;
}

void CSkinResources::UseTransparentColour(std::initializer_list<int> ids, SkinColour transparent) const {
    for (const int id : ids) {
        const auto [known, added] = TransparentColours.try_emplace(id, transparent);
        if (added || !(known->second == transparent)) {
            known->second = transparent;
            // A picture decoded before its window said how is decoded again when next asked for.
            Pictures.erase(id);
        }
    }
}

CSkinResources::LoadedPicture CSkinResources::Decode(int id) const {
    LoadedPicture picture;
    picture.Decoded = true;
    // Without a loaded file there is no picture, even where another owner registered one.
    QImage plain = RegisteredFile.isEmpty() ? QImage() : QImage(PictureName(id), "PNG");
    if (plain.isNull())
        return picture;
    const auto keyed = TransparentColours.find(id);
    const auto prepared = [&keyed, this](QImage image) {
        return keyed == TransparentColours.end() ? std::move(image).convertToFormat(QImage::Format_RGB32)
                                                 : KeyedOut(std::move(image), keyed->second);
    };
    plain = prepared(std::move(plain));
    QImage sharp;
    if (Dense && sharp.load(QStringLiteral(":/skin/%1@2x.png").arg(id), "PNG")) {
        picture.Shown = QPixmap::fromImage(prepared(std::move(sharp)));
        picture.Shown.setDevicePixelRatio(2.0);
        picture.Plain = std::move(plain);
    } else {
        // The pixmap takes over the image's pixels, and the plain picture shares them.
        picture.Shown = QPixmap::fromImage(std::move(plain));
        picture.Plain = picture.Shown.toImage();
    }
    return picture;
}

const CSkinResources::LoadedPicture* CSkinResources::Decoded(int id) const {
    LoadedPicture& picture = Pictures[id];
    if (!picture.Decoded)
        picture = Decode(id);
    return picture.Plain.isNull() ? nullptr : &picture;
}

std::vector<QPixmap> CSkinResources::Pieces(int id, const std::vector<SkinRect>& rects) const {
    const auto kept = Pictures.find(id);
    const LoadedPicture picture = kept != Pictures.end() && kept->second.Decoded ? kept->second : Decode(id);
    std::vector<QPixmap> pieces(rects.size());
    if (picture.Shown.isNull())
        return pieces;
    const qreal ratio = picture.Shown.devicePixelRatio();
    for (std::size_t index = 0; index < rects.size(); ++index) {
        const SkinRect& rect = rects[index];
        if (rect.Width() <= 0 || rect.Height() <= 0)
            continue;
        pieces[index] = picture.Shown.copy(
            QRectF(rect.left * ratio, rect.top * ratio, rect.Width() * ratio, rect.Height() * ratio)
                .toRect());
        pieces[index].setDevicePixelRatio(ratio);
    }
    return pieces;
}

void CSkinResources::Release() {
    Pictures.clear();
    Icon = QIcon();
    if (!RegisteredFile.isEmpty())
        QResource::unregisterResource(RegisteredFile);
    RegisteredFile.clear();
}

const QPixmap* CSkinResources::Picture(int id) const {
    const LoadedPicture* picture = Decoded(id);
    return picture == nullptr ? nullptr : &picture->Shown;
}

const QImage* CSkinResources::PlainPicture(int id) const {
    const LoadedPicture* picture = Decoded(id);
    return picture == nullptr ? nullptr : &picture->Plain;
}

const QFont& CSkinResources::SkinFont(int index) const {
    if (index < 0 || index >= SkinFontCount)
        index = DefaultSkinFont;
    return Fonts[static_cast<std::size_t>(index)];
}

QImage KeyedOut(QImage picture, SkinColour transparent) {
    picture = std::move(picture).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb key = qRgb(transparent.Red, transparent.Green, transparent.Blue);
    const int width = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        // Without a branch, so that the compiler can work on several pixels at once.
        for (int x = 0; x < width; ++x) {
            const QRgb opaque = line[x] | ~RGB_MASK;
            line[x] = opaque & (opaque == key ? 0u : ~0u);
        }
    }
    return picture;
}

QRegion SkinShape(const QImage& picture, SkinColour transparent) {
    if (picture.hasAlphaChannel())
        return QRegion(QBitmap::fromImage(picture.createAlphaMask()));
    const QColor key(transparent.Red, transparent.Green, transparent.Blue);
    return QRegion(QBitmap::fromImage(picture.createMaskFromColor(key.rgb(), Qt::MaskInColor)));
}
