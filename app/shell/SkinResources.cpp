#include "shell/SkinResources.h"

#include "ZelkVersion.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QResource>

#include <algorithm>

namespace {

const int IconSizes[] = {16, 24, 32, 48, 64, 128, 256};

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
        problem = QStringLiteral("找不到皮肤资源文件 %1。\nThe skin resource file %1 is missing or damaged.")
                      .arg(QDir::toNativeSeparators(resourceFile));
        return false;
    }
    RegisteredFile = resourceFile;

    // Every picture the file holds is loaded; the required ones must be there.
    std::vector<int> ids = pictureIds;
    const QStringList names =
        QDir(QStringLiteral(":/skin")).entryList({QStringLiteral("*.png")}, QDir::Files);
    for (const QString& name : names) {
        bool number = false;
        const int id = name.chopped(4).toInt(&number);
        if (number && std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(id);
    }

    const bool dense = qApp != nullptr && qApp->devicePixelRatio() > 1.0;
    for (const int id : ids) {
        LoadedPicture picture;
        const QString plainName = QStringLiteral(":/skin/%1.png").arg(id);
        if (!picture.Plain.load(plainName)) {
            problem =
                QStringLiteral("皮肤资源文件 %1 缺少图片 %2。\nThe skin resource file %1 lacks picture %2.")
                    .arg(QDir::toNativeSeparators(resourceFile))
                    .arg(id);
            Release();
            return false;
        }
        picture.Plain = picture.Plain.convertToFormat(QImage::Format_RGB32);
        QPixmap sharp;
        if (dense && sharp.load(QStringLiteral(":/skin/%1@2x.png").arg(id))) {
            sharp.setDevicePixelRatio(2.0);
            picture.Shown = sharp;
        } else {
            picture.Shown = QPixmap::fromImage(picture.Plain);
        }
        Pictures.emplace(id, std::move(picture));
    }
    for (const int size : IconSizes)
        Icon.addFile(QStringLiteral(":/icon/zelk-%1.png").arg(size), QSize(size, size));
    return true;
}

void CSkinResources::Release() {
    Pictures.clear();
    Icon = QIcon();
    if (!RegisteredFile.isEmpty())
        QResource::unregisterResource(RegisteredFile);
    RegisteredFile.clear();
}

const QPixmap* CSkinResources::Picture(int id) const {
    const auto found = Pictures.find(id);
    return found == Pictures.end() ? nullptr : &found->second.Shown;
}

const QImage* CSkinResources::PlainPicture(int id) const {
    const auto found = Pictures.find(id);
    return found == Pictures.end() ? nullptr : &found->second.Plain;
}

const QFont& CSkinResources::SkinFont(int index) const {
    if (index < 0 || index >= SkinFontCount)
        index = DefaultSkinFont;
    return Fonts[static_cast<std::size_t>(index)];
}

QRegion SkinShape(const QImage& picture, SkinColour transparent) {
    const QColor key(transparent.Red, transparent.Green, transparent.Blue);
    return QRegion(QBitmap::fromImage(picture.createMaskFromColor(key.rgb(), Qt::MaskInColor)));
}
