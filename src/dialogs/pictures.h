#pragma once

#include <QIcon>
#include <QString>

namespace brimble {

// The pictures of the dialogs' image buttons ("tick", "cross"), drawn at `side` pixels, with
// the picture "<name>_disabled" for the disabled state where there is one.
QIcon dialogPicture(const QString& name, int side);

} // namespace brimble
