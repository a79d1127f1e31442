#include "pictures/jpeg.h"

#include "pictures/picture.h"

#include <csetjmp>
#include <cstdio>
// libjpeg's headers need size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace brimble::pictures {

namespace {

// Larger pictures would take gigabytes once decoded.
constexpr qint64 kMaxPixels = qint64(120) * 1000 * 1000;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void errorExit(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

// A file cut short decodes to a grey lower part; that is a damaged file, not a picture.
// Other warnings (stray bytes between markers, common in camera files) are let through.
void emitMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        errorExit(info);
}

// Adobe writes CMYK inverted; other writers hardly ever write CMYK at all.
void cmykToRgb(const uchar* in, QRgb* out, int width, bool inverted) {
    for (int x = 0; x < width; ++x, in += 4) {
        int c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// Everything a jump back from libjpeg may leave behind lives here, outside the function
// that holds the jump point, so no destructor is skipped and no local is clobbered.
struct Decoder {
    jpeg_decompress_struct info{};
    ErrorManager err{};
    QImage image;
    QByteArray cmykRow;
    QString refusal;
};

bool decode(Decoder& d, const QByteArray& bytes) {
    if (setjmp(d.err.jump))
        return false;
    jpeg_decompress_struct& info = d.info;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    // Rows go straight into the picture: Qt's RGB32 is B, G, R, X in memory on this byte order.
    info.out_color_space =
        cmyk ? JCS_CMYK : (Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB);
    if (qint64(info.image_width) * info.image_height > kMaxPixels) {
        d.refusal = QStringLiteral("JPEG image too large (%1 x %2)")
                        .arg(info.image_width)
                        .arg(info.image_height);
        return false;
    }
    jpeg_start_decompress(&info);
    d.image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (d.image.isNull()) {
        d.refusal = QStringLiteral("Not enough memory for the picture");
        return false;
    }
    if (cmyk)
        d.cmykRow.resize(qsizetype(info.output_width) * 4);
    while (info.output_scanline < info.output_height) {
        uchar* line = d.image.scanLine(int(info.output_scanline));
        JSAMPROW row = cmyk ? reinterpret_cast<JSAMPROW>(d.cmykRow.data()) : line;
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk)
            cmykToRgb(reinterpret_cast<const uchar*>(d.cmykRow.constData()),
                      reinterpret_cast<QRgb*>(line), int(info.output_width),
                      info.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

QImage decodeJpeg(const QByteArray& bytes) {
    Decoder d;
    d.info.err = jpeg_std_error(&d.err.pub);
    d.err.pub.error_exit = errorExit;
    d.err.pub.emit_message = emitMessage;
    const bool ok = decode(d, bytes);
    jpeg_destroy_decompress(&d.info);
    if (!ok)
        throw PictureError(d.refusal.isEmpty() ? QString::fromLocal8Bit(d.err.message) : d.refusal);
    return std::move(d.image);
}

QSize jpegSize(const QByteArray& bytes) {
    // Walk the markers up to the first start-of-frame.
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype n = bytes.size();
    if (n < 4 || p[0] != 0xFF || p[1] != 0xD8)
        return {};
    qsizetype at = 2;
    while (at + 4 <= n) {
        if (p[at] != 0xFF)
            return {};
        const uchar marker = p[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const int length = p[at + 2] << 8 | p[at + 3];
        const bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                         marker != 0xCC;
        if (sof) {
            if (at + 9 > n)
                return {};
            return QSize(p[at + 7] << 8 | p[at + 8], p[at + 5] << 8 | p[at + 6]);
        }
        at += 2 + length;
    }
    return {};
}

} // namespace brimble::pictures
