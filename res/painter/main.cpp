// zelk-skin-painter OUTPUT_DIR: draws every skin picture at 1x and 2x and the program's icon into
// OUTPUT_DIR and writes ZelkRES.qrc there, which rcc then packs into ZelkRES.rcc.
#include "SkinPictures.h"
#include "SkinStyle.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

QImage PaintPicture(const SkinPictureSpec& spec, int scale) {
    QImage image(spec.size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(scale, scale);
    spec.paint(painter);
    painter.end();
    return SkinStyle::FinishOnTransparentColour(image, spec.transparent);
}

bool Save(const QImage& image, const QString& path) {
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "zelk-skin-painter: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zelk-skin-painter OUTPUT_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("skin")) || !out.mkpath(QStringLiteral("icon"))) {
        std::fprintf(stderr, "zelk-skin-painter: cannot create %s\n", argv[1]);
        return 1;
    }

    QString qrc;
    QTextStream list(&qrc);
    list << "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/skin\">\n";
    for (const SkinPictureSpec& spec : AllSkinPictures()) {
        for (const int scale : {1, 2}) {
            const QString name =
                scale == 1 ? QStringLiteral("%1.png").arg(spec.id) : QStringLiteral("%1@2x.png").arg(spec.id);
            if (!Save(PaintPicture(spec, scale), out.filePath(QStringLiteral("skin/") + name)))
                return 1;
            list << "  <file alias=\"" << name << "\">skin/" << name << "</file>\n";
        }
    }
    list << "</qresource>\n<qresource prefix=\"/icon\">\n";
    for (const int size : ProgramIconSizes) {
        const QString name = QStringLiteral("zelk-%1.png").arg(size);
        if (!Save(PaintProgramIcon(size), out.filePath(QStringLiteral("icon/") + name)))
            return 1;
        list << "  <file alias=\"" << name << "\">icon/" << name << "</file>\n";
    }
    list << "</qresource>\n</RCC>\n";
    list.flush();

    QFile file(out.filePath(QStringLiteral("ZelkRES.qrc")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(qrc.toUtf8()) < 0) {
        std::fprintf(stderr, "zelk-skin-painter: cannot write the resource list\n");
        return 1;
    }
    return 0;
}
