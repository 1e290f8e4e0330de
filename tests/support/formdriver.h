#pragma once

#include "canvas.h"
#include "figurepainter.h"
#include "form1.h"
#include "formsurface.h"
#include "formwindow.h"
#include "twips.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QTest>

// Drives the drawing window as a user would: mouse events at points given in twips, delivered to
// whichever widget of the window lies under the pointer, and keeping the pointer grabbed by the
// pressed widget until the last button is released.
class FormDriver
{
public:
    explicit FormDriver(Form1 &form) : m_form(form) { }

    FormSurface *surface() const { return m_form.window()->surface(); }
    Form1Controls &ui() const { return *m_form.controls(); }

    // A press as the platform delivers it: the second press of a double click comes as a
    // double-click event instead.
    void press(float x, float y, Qt::MouseButton button = Qt::LeftButton,
               QEvent::Type type = QEvent::MouseButtonPress)
    {
        const QPointF at = logical(x, y);
        if (m_buttons == Qt::NoButton) {
            QWidget *child = surface()->childAt(at.toPoint());
            m_grabber = child ? child : surface();
        }
        m_buttons |= button;
        send(type, at, button);
    }

    void doubleClick(float x, float y)
    {
        press(x, y);
        release(x, y);
        press(x, y, Qt::LeftButton, QEvent::MouseButtonDblClick);
    }

    void move(float x, float y) { send(QEvent::MouseMove, logical(x, y), Qt::NoButton); }

    void release(float x, float y, Qt::MouseButton button = Qt::LeftButton)
    {
        m_buttons &= ~button;
        send(QEvent::MouseButtonRelease, logical(x, y), button);
    }

    // Press, a few moves along the straight way, the last one onto the end point, and release.
    void drag(QPointF from, QPointF to, int moves = 4)
    {
        press(float(from.x()), float(from.y()));
        for (int step = 1; step <= moves; ++step) {
            const QPointF at = from + (to - from) * step / moves;
            move(float(at.x()), float(at.y()));
        }
        release(float(to.x()), float(to.y()));
    }

    // Picks a figure kind, mixes the colour on the sliders and sets the line thickness, as a user
    // does before a drag.
    void chooseStyle(FigureKind kind, int red, int green, int blue, int thickness)
    {
        ui().optionFor(kind)->setChecked(true);
        ui().HScroll(0)->setValue(red);
        ui().HScroll(1)->setValue(green);
        ui().HScroll(2)->setValue(blue);
        ui().HScroll1->setValue(thickness);
    }

    // What the window shows now, as painted bit by bit into its backing store.
    QImage screen() const
    {
        QCoreApplication::processEvents();
        FormWindow *window = m_form.window();
        const QImage whole = window->screen()->grabWindow(window->winId()).toImage();
        const QPoint origin = surface()->mapTo(window, QPoint(0, 0));
        const qreal ratio = surface()->devicePixelRatioF();
        return whole.copy(Twips::logicalToDevice(QRect(origin, surface()->size()), ratio));
    }

    // The windowless layer rendered from scratch, every element in stacking order; the windowed
    // controls are left out, so compare it where they are not.
    QImage rendered() const
    {
        const qreal ratio = surface()->devicePixelRatioF();
        return render(m_form.window()->layer(),
                      Twips::logicalToDevice(surface()->rect(), ratio).size(), ratio);
    }

    // A layer's elements painted from scratch on white, device pixels in size.
    static QImage render(const WindowlessLayer &layer, QSize deviceSize, qreal ratio)
    {
        QImage image(deviceSize, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        FigurePainter::paintAll(painter, layer, ratio);
        return image;
    }

    // The canvas and its frame, in device pixels: no windowed control lies there.
    QRect canvas() const
    {
        return Twips::toDeviceBox(Canvas::Left, Canvas::Top, Canvas::Width, Canvas::Height,
                                  surface()->devicePixelRatioF());
    }

    static QPoint pixel(float x, float y)
    {
        return QPoint(Twips::toDevice(x, 1), Twips::toDevice(y, 1));
    }

    // The colours a dark desktop scheme hands to every program, light text on dark grey, as
    // KDE's dark schemes and GNOME's dark style do.
    static QPalette darkDesktopPalette()
    {
        QPalette palette(QColor(49, 54, 59), QColor(32, 35, 38));
        palette.setColor(QPalette::Base, QColor(20, 22, 24));
        palette.setColor(QPalette::AlternateBase, QColor(29, 31, 34));
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, QColor(252, 252, 252));
        palette.setColor(QPalette::Highlight, QColor(61, 174, 233));
        palette.setColor(QPalette::HighlightedText, QColor(252, 252, 252));
        return palette;
    }

    // A light desktop scheme: dark text on light grey.
    static QPalette lightDesktopPalette()
    {
        QPalette palette(QColor(239, 240, 241), QColor(239, 240, 241));
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, QColor(35, 38, 41));
        palette.setColor(QPalette::Highlight, QColor(61, 174, 233));
        return palette;
    }

private:
    static QPointF logical(float x, float y)
    {
        return QPointF(Twips::toLogical(x), Twips::toLogical(y));
    }

    void send(QEvent::Type type, QPointF at, Qt::MouseButton button)
    {
        // A grab ends with the window that held it, as when Reset replaces the window mid-drag.
        if (m_grabber && m_grabber->window() != m_form.window())
            m_grabber = nullptr;
        QWidget *target = m_grabber ? m_grabber.data() : surface();
        const QPointF local = target->mapFrom(surface(), at);
        QMouseEvent event(type, local, target->mapToGlobal(local), button, m_buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
        if (m_buttons == Qt::NoButton)
            m_grabber = nullptr;
    }

    Form1 &m_form;
    QPointer<QWidget> m_grabber;
    Qt::MouseButtons m_buttons;
};
