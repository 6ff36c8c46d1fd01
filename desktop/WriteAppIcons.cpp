// Build tool: writes the application icon, drawn by resources::AppIconImage, as the PNG
// files of the hicolor icon theme: OUTDIR/<n>x<n>/apps/pavrix.png for every size given.
//
//     pavrix_write_icons OUTDIR 16 24 32 48 64 128 256

#include <cstdio>
#include <cstdlib>

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include "resources/AppIcon.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: pavrix_write_icons OUTDIR SIZE...\n");
        return 2;
    }
    // Painting needs the GUI library set up, never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "pavrix_write_icons: a size from 16 to 1024, not '%s'\n", argv[i]);
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        const QString path = folder + QStringLiteral("/pavrix.png");
        if (!QDir().mkpath(folder) || !resources::AppIconImage(size).save(path, "PNG")) {
            std::fprintf(stderr, "pavrix_write_icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
