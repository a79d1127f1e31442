#pragma once

class QWidget;

namespace brimble {

// For the windows made once and shown many times: centred on the desktop the first time they
// are shown, afterwards where the user left them. Call from showEvent; `placed` remembers.
void centreOnFirstShow(QWidget& window, bool& placed);

} // namespace brimble
