#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace brimble::pictures {

// Decodes a JPEG file's bytes with libjpeg. Throws PictureError carrying libjpeg's own message
// when the data is no JPEG or is damaged (cut short included).
QImage decodeJpeg(const QByteArray& bytes);

// The picture's size from its frame header, without decoding; empty when it cannot be read.
QSize jpegSize(const QByteArray& bytes);

} // namespace brimble::pictures
