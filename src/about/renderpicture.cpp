// Build tool: renders one of the program's SVG drawings into the picture
// file the program embeds (PNG or JPEG by the output's extension), at the
// drawing's own size. Usage: tessaly_render_picture IN.svg OUT.(png|jpg)
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[])
{
    // No display is needed to draw into an image; fonts still come from
    // the system through the offscreen platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tessaly_render_picture IN.svg OUT.png|OUT.jpg\n");
        return 2;
    }
    const QString in = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QSvgRenderer renderer(in);
    if (!renderer.isValid() || renderer.defaultSize().isEmpty()) {
        std::fprintf(stderr, "tessaly_render_picture: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(renderer.defaultSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter);
    painter.end();
    const bool jpeg = QFileInfo(out).suffix().compare(QStringLiteral("jpg"), Qt::CaseInsensitive) == 0;
    if (!image.save(out, jpeg ? "JPG" : "PNG", jpeg ? 92 : -1)) {
        std::fprintf(stderr, "tessaly_render_picture: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
