#pragma once

#include <functional>
#include <thread>

class QCoreApplication;

// What start-up does on another core or puts off until the window's first frame is on screen.

// Fontconfig's configuration and font caches, read on another core while the application connects
// to the display. Join the thread before the first font is asked for; it is not joinable if no
// thread could be started, and Qt then reads the configuration itself.
[[nodiscard]] std::jthread preloadFontConfiguration();

// Hands `work` to the event loop once a window has been exposed, and so painted its first frame,
// or a moment after start-up if none is, as when the window starts minimized.
void runAfterFirstFrame(QCoreApplication &application, std::function<void()> work);
