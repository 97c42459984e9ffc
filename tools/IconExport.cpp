// Writes the panel's XPM icon as the PNG the desktop's icon theme wants.
#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ICON.xpm ICON.png\n", argv[0]);
        return 2;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull() || !icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot convert %s to %s\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}
