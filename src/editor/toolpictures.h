#pragma once

#include <QIcon>
#include <QString>

namespace brimble {

// The 20 x 20 pictures of the lower toolbar and the navigator, each with a picture of its own
// for the disabled state. `name` is the picture's base name ("new", "save", "first" ...).
// An unknown name gives an empty icon.
QIcon toolPicture(const QString& name);

} // namespace brimble
