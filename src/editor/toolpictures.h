#pragma once

#include <QIcon>
#include <QString>

namespace brimble {

// The pictures of the toolbars and the navigator, drawn at 20 x 20, each with a picture of
// its own for the disabled state. `name` is the picture's base name ("new", "save", "first" ...).
// An unknown name gives an empty icon.
QIcon toolPicture(const QString& name);

} // namespace brimble
