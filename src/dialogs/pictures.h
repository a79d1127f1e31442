#pragma once

#include <QIcon>
#include <QString>

namespace brimble {

// The pictures of the dialogs' image buttons ("tick", "cross"), designed at `side` pixels and
// drawn crisp at whatever size and scale they are shown, with the picture "<name>_disabled"
// for the disabled state where there is one.
QIcon dialogPicture(const QString& name, int side);

} // namespace brimble
