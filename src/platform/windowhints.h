#pragma once

namespace brimble {

// Whether small windows that must have no title-bar buttons draw their own title and frame.
// X11 window managers add buttons to any sizeable window whatever it asks for (openbox keeps
// minimise, maximise and close even for Motif hints that leave them out), so there the window
// draws them; Windows draws a tool window's caption without buttons itself.
bool drawsOwnButtonlessTitle();

} // namespace brimble
