// The yardstick for start-up: the smallest Qt 6 Widgets program that opens a window. With
// --text it shows one line of text, which is what starts the font system (fontconfig and
// FreeType) that any window with a caption on it pays for.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(406, 386);
    if (argc > 1 && QByteArray(argv[1]) == "--text")
        (new QLabel(QStringLiteral("Minimal window"), &window))->move(10, 10);
    window.show();
    return QApplication::exec();
}
