#pragma once

#include "figureset.h"
#include "form1.h"

#include <QEvent>

#include <QPoint>

#include <memory>
#include <vector>

class QMainWindow;
class QWidget;

// One way of holding and painting the figures, driven by real mouse events.
class Design
{
public:
    Design();
    virtual ~Design();
    // The top-level window, shown and painted once.
    virtual QWidget *window() = 0;
    // Starts dragging a new figure at the point, in logical pixels of the client area.
    virtual void press(QPoint at) = 0;
    // One mouse move of the drag; returns once the paint it caused has finished.
    void dragTo(QPoint at);
    int paints() const { return m_paints; }

protected:
    // The widget that receives the mouse and paints the figures.
    virtual QWidget *canvas() = 0;
    void watchPaints(QWidget *widget);
    void sendMouse(int type, QPoint at);

private:
    int m_paints = 0;
    std::unique_ptr<class PaintCounter> m_counter;
    friend class PaintCounter;
};

// The program itself: the figures are made through its own mouse handlers.
class Quillora : public Design
{
public:
    explicit Quillora(const std::vector<BenchFigure> &figures);
    QWidget *window() override;
    void press(QPoint at) override { sendMouse(QEvent::MouseButtonPress, at); }
    void release(QPoint at) { sendMouse(QEvent::MouseButtonRelease, at); }
    Form1 &form() { return m_form; }
    // Draws one figure with "New Shape" ticked, as the user would.
    void draw(const BenchFigure &figure);
    // Counts the paints of the window that Reset has just built.
    void watchNewWindow() { watchPaints(canvas()); }

protected:
    QWidget *canvas() override;

private:
    Form1 m_form;
};

std::unique_ptr<Design> makeNaive(const std::vector<BenchFigure> &figures);
std::unique_ptr<Design> makeGraphicsView(const std::vector<BenchFigure> &figures);

// A plain Qt main window with the menu bar and the same windowed controls as the model's client
// area, in the same places with the same texts, fonts and values, but no forms layer and no
// windowless layer: what showing those controls costs Qt itself.
QMainWindow *makeControlsWindow(const QWidget &modelClient);

// Lets posted events run until the widget has painted since the count was taken.
bool waitForPaint(const Design &design, int paintsBefore);
