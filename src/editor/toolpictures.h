#pragma once

#include <QIcon>
#include <QString>

namespace brimble {

// The pictures of the toolbars and the navigator, each with a picture of its own for the
// disabled state. `name` is the picture's base name ("new", "save", "first" ...). An unknown
// name gives an empty icon.
QIcon toolPicture(const QString& name);

// An icon drawn from an SVG file at whatever size and scale it is shown, so it stays crisp at
// 150 % and 200 %. On a dark palette its dark ink takes the palette's text colour and the
// disabled state is the same picture faded, so it stays visible; on a light palette it is
// drawn as stored, `disabledPath` (when not empty) giving the disabled state. A file that
// cannot be read gives a null icon.
QIcon svgPicture(const QString& normalPath, const QString& disabledPath = {});

} // namespace brimble
