// Writes the PNG image of an XPM drawing: the desktop's icon theme takes PNG files, so the icons
// it shows are made at build time from the same drawings that the window uses.
//
// Usage: quillvane_xpm_to_png DRAWING.xpm OUTPUT.png SIZE
// SIZE is the width and height the drawing must have; anything else is refused, so that an
// icon never lands in the wrong size's directory.

#include <QImage>
#include <QString>

#include <cstdio>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s DRAWING.xpm OUTPUT.png SIZE\n", argv[0]);
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    int size = 0;
    try {
        size = std::stoi(argv[3]);
    } catch (...) {
        std::fprintf(stderr, "%s: SIZE must be a number, not '%s'\n", argv[0], argv[3]);
        return 2;
    }

    const QImage image(input, "XPM");
    if (image.isNull()) {
        std::fprintf(stderr, "%s: cannot read the drawing %s\n", argv[0], argv[1]);
        return 1;
    }
    if (image.width() != size || image.height() != size) {
        std::fprintf(stderr, "%s: %s is %dx%d, not %dx%d\n", argv[0], argv[1], image.width(),
                     image.height(), size, size);
        return 1;
    }
    if (!image.convertToFormat(QImage::Format_ARGB32).save(output, "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
