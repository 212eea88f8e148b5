#pragma once

#include <xcb/xcb.h>

class QWidget;

namespace pw::app {

// Whether the program talks to an X server (and not to a Wayland compositor).
bool onX11();
bool onWayland();

// Window-manager hints for our own small windows on X11; no-ops elsewhere.
// Both must be set before the window is first shown.
void keepOffTaskbarAndPager(QWidget* window);
void showOnEveryWorkspace(QWidget* window);

// The program's X server connection, or null off X11.
xcb_connection_t* x11Connection();
// The atom for `name`, asked of the server (a round trip): ask once and keep it.
xcb_atom_t x11Atom(xcb_connection_t* c, const char* name);

// The screen `number` of the connection, or null.
xcb_screen_t* x11Screen(xcb_connection_t* c, int number);
// Adds structure events to what this client already hears from `window`;
// setting the mask outright would take away events Qt selected itself.
void x11HearStructureOf(xcb_connection_t* c, xcb_window_t window);

// The screen number DISPLAY names (":0.1" is screen 1): the tray selection is per screen.
int x11DefaultScreenNumber();

} // namespace pw::app
