// Loads any bytes as each kind of picture file: the first byte picks the kind. A picture is
// either loaded or refused with PictureError; nothing else may happen.
#include "pictures/picture.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv); // fonts for metafile text
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using brimble::pictures::Kind;
    if (size < 1)
        return 0;
    static const Kind kinds[] = {Kind::Gif, Kind::Jpeg, Kind::Bitmap, Kind::Icon, Kind::Emf, Kind::Wmf};
    const Kind kind = kinds[data[0] % 6];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    try {
        const auto picture = brimble::pictures::Picture::load(kind, bytes);
        (void)picture.image().size();
    } catch (const brimble::pictures::PictureError&) {
    }
    return 0;
}
