// Writes a PNG out as C++ source: the pixels Qt draws it with, for a BuiltInImage (see
// ui/widgets/built_in_image.h). Run by the build.
//
// Usage: bitwatch_image_to_source INPUT.png OUTPUT.cpp NAME

#include <cstdio>
#include <fstream>

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QString>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s INPUT.png OUTPUT.cpp NAME\n", argv[0]);
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]), "png");
    reader.setAutoDetectImageFormat(false);
    // The conversion QPixmap::fromImage makes for the screen.
    const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        std::fprintf(stderr, "%s: cannot read %s: %s\n", argv[0], argv[1],
                     qPrintable(reader.errorString()));
        return 1;
    }
    std::ofstream out(argv[2]);
    out << "// Made from " << qPrintable(QFileInfo(QString::fromLocal8Bit(argv[1])).fileName())
        << " by bitwatch_image_to_source.\n"
        << "#include \"ui/widgets/built_in_image.h\"\n\n"
        << "namespace bitwatch {\n\nnamespace {\n\n"
        << "const std::uint32_t kPixels[] = {\n";
    char word[16];
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            std::snprintf(word, sizeof word, "0x%08X,", row[x]);
            out << word << ((x + 1) % 8 == 0 || x + 1 == image.width() ? "\n" : " ");
        }
    }
    out << "};\n\n} // namespace\n\n"
        << "extern const BuiltInImage " << argv[3] << " = {" << image.width() << ", "
        << image.height() << ", kPixels};\n\n} // namespace bitwatch\n";
    out.close();
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
