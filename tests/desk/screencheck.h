#pragma once

#include <QStringList>

// Every window the program shows lies inside the available area of its screen, with every
// button wholly visible. Linked into every window test, the check runs by itself whenever a
// window was shown, moved or resized and the event loop has settled, and fails the running test
// function with the window and button at fault.
namespace screencheck {

// What is wrong now with the visible windows; empty when every one of them fits.
QStringList faults();

} // namespace screencheck
