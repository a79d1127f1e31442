#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace brimble::pictures {

// An enhanced metafile's frame in 0.01 mm from its header; empty when the bytes are none.
QSize emfFrame(const QByteArray& emf);
// The same frame in pixels at 96 dots per inch.
QSize emfPixelSize(const QByteArray& emf);

// Draws an enhanced metafile (through SVG) into a picture of `size` pixels, transparent where
// it draws nothing. A null image when the metafile cannot be converted.
QImage renderEmf(const QByteArray& emf, QSize size);

// A Windows metafile (placeable or not) as an enhanced metafile of the same drawing. Throws
// PictureError when the bytes are no Windows metafile.
QByteArray wmfToEmf(const QByteArray& wmf);

} // namespace brimble::pictures
