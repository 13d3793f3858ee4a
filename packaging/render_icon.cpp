// Draws the program's SVG icon as PNG pictures of the sizes desktops look for,
// and vorelbox.ico, which holds them all for Windows (its program icon).
// Used by the build: render_icon ICON.svg OUTPUT_FOLDER SIZE...

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

void append_le16(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xFF)).append(static_cast<char>((value >> 8) & 0xFF));
}

void append_le32(QByteArray& out, qsizetype value) {
    append_le16(out, static_cast<int>(value & 0xFFFF));
    append_le16(out, static_cast<int>((value >> 16) & 0xFFFF));
}

// A Windows icon file whose pictures are PNG data (Windows Vista and later):
// a directory of sizes and offsets, then the pictures. Sizes above 256 are left out.
QByteArray ico_file(const std::vector<std::pair<int, QByteArray>>& pictures) {
    std::vector<std::pair<int, QByteArray>> kept;
    for (const auto& p : pictures) {
        if (p.first <= 256) {
            kept.push_back(p);
        }
    }
    QByteArray out;
    append_le16(out, 0);  // reserved
    append_le16(out, 1);  // an icon, not a cursor
    append_le16(out, static_cast<int>(kept.size()));
    qsizetype offset = 6 + 16 * static_cast<qsizetype>(kept.size());
    for (const auto& [size, png] : kept) {
        out.append(static_cast<char>(size == 256 ? 0 : size));  // 0 stands for 256
        out.append(static_cast<char>(size == 256 ? 0 : size));
        out.append('\0').append('\0');  // no palette, reserved
        append_le16(out, 1);   // colour planes
        append_le16(out, 32);  // bits per pixel
        append_le32(out, png.size());
        append_le32(out, offset);
        offset += png.size();
    }
    for (const auto& p : kept) {
        out.append(p.second);
    }
    return out;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: render_icon ICON.svg OUTPUT_FOLDER SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    std::vector<std::pair<int, QByteArray>> pictures;
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString name = out.filePath(QStringLiteral("vorelbox-%1.png").arg(size));
        if (!image.save(name)) {
            std::fprintf(stderr, "render_icon: cannot write %s\n", qPrintable(name));
            return 1;
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        pictures.emplace_back(size, png);
    }
    const QString ico_name = out.filePath(QStringLiteral("vorelbox.ico"));
    QFile ico(ico_name);
    const QByteArray ico_bytes = ico_file(pictures);
    if (!ico.open(QIODevice::WriteOnly) || ico.write(ico_bytes) != ico_bytes.size() || !ico.flush()) {
        std::fprintf(stderr, "render_icon: cannot write %s\n", qPrintable(ico_name));
        return 1;
    }
    return 0;
}
