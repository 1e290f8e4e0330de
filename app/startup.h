#pragma once

#include <QProxyStyle>

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

// A style, the desktop's unless the user chose another, whose picture for the menu bar's overflow
// button is read from the style only when the button is first drawn. The menu bar asks for it as
// it is built, and the style reads it from image files, loading every image format plugin on the
// way: about a millisecond before the first frame, for a button that shows only when the menu bar
// is too narrow for its entries.
class DeferredIconStyle : public QProxyStyle
{
public:
    // Takes ownership of `base`.
    explicit DeferredIconStyle(QStyle *base);

    QIcon standardIcon(StandardPixmap which, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
