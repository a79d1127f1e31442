#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QString>
#include <QVector>

namespace brimble::pictures {

// Writes an enhanced metafile record by record, in device pixels (MM_TEXT) at 96 dots per
// inch. Object handles are the caller's, from 1 up; finish() puts the header in front.
class EmfWriter {
public:
    // `size` in pixels; `frame` in 0.01 mm, derived from `size` when empty.
    explicit EmfWriter(QSize size, QSize frame = {});

    void createPen(int handle, int style, int width, QRgb color);
    void createBrush(int handle, int style, QRgb color, int hatch = 0);
    // `height` in pixels (negative: character height), `weight` 400 normal, 700 bold.
    void createFont(int handle, int height, int weight, bool italic, bool underline,
                    const QString& face, int escapement = 0);
    void select(int handle);
    void deleteObject(int handle);

    void setBkMode(int mode); // 1 transparent, 2 opaque
    void setBkColor(QRgb color);
    void setTextColor(QRgb color);
    void setTextAlign(int align);
    void setPolyFillMode(int mode); // 1 alternate, 2 winding
    void setRop2(int rop);
    void saveDC();
    void restoreDC(int relative = -1);

    void moveTo(QPoint p);
    void lineTo(QPoint p);
    void rectangle(const QRect& r);
    void ellipse(const QRect& r);
    void roundRect(const QRect& r, QSize corner);
    // Arc kinds: 45 arc, 46 chord, 47 pie (the record types).
    void arcLike(int type, const QRect& r, QPoint start, QPoint end);
    void polygon(const QVector<QPoint>& points);
    void polyline(const QVector<QPoint>& points);
    void polyPolygon(const QVector<QVector<QPoint>>& polygons);
    void text(QPoint at, const QString& text);

    QByteArray finish();

private:
    void record(quint32 type, std::initializer_list<qint32> values);
    void begin(quint32 type);
    void put(qint32 v);
    void end();
    void points(const QVector<QPoint>& pts);
    static QRect boundsOf(const QVector<QPoint>& pts);

    QSize size_, frame_;
    QByteArray body_;
    qsizetype recordStart_ = 0;
    quint32 records_ = 0;
    int maxHandle_ = 0;
};

// A COLORREF (0x00BBGGRR) for a colour.
inline qint32 colorRef(QRgb c) { return qint32(qRed(c) | qGreen(c) << 8 | qBlue(c) << 16); }

} // namespace brimble::pictures
