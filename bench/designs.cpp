#include "designs.h"

#include "barewindow.h"
#include "figurepainter.h"
#include "form1.h"
#include "formdriver.h"
#include "formsurface.h"
#include "formwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGroupBox>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>

class PaintCounter : public QObject
{
public:
    explicit PaintCounter(Design *design) : m_design(design) { }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_design->m_paints;
        return false;
    }

private:
    Design *m_design;
};

Design::Design() = default;
Design::~Design() = default;

void Design::watchPaints(QWidget *widget)
{
    m_paints = 0;
    m_counter = std::make_unique<PaintCounter>(this);
    widget->installEventFilter(m_counter.get());
}

void Design::sendMouse(int type, QPoint at)
{
    QWidget *target = canvas();
    const auto eventType = QEvent::Type(type);
    const Qt::MouseButton button = eventType == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(eventType, QPointF(at), target->mapToGlobal(QPointF(at)), button,
                      eventType == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void Design::dragTo(QPoint at)
{
    const int before = m_paints;
    sendMouse(QEvent::MouseMove, at);
    waitForPaint(*this, before);
}

namespace {

QWidget *plainCopy(const QWidget &model, QWidget *parent)
{
    QWidget *copy = nullptr;
    if (const auto *frame = qobject_cast<const QGroupBox *>(&model)) {
        copy = new QGroupBox(frame->title(), parent);
    } else if (const auto *button = qobject_cast<const QAbstractButton *>(&model)) {
        QAbstractButton *plain = qobject_cast<const QRadioButton *>(button)
            ? static_cast<QAbstractButton *>(new QRadioButton(button->text(), parent))
            : new QCheckBox(button->text(), parent);
        plain->setChecked(button->isChecked());
        copy = plain;
    } else if (const auto *slider = qobject_cast<const QScrollBar *>(&model)) {
        auto *plain = new QScrollBar(slider->orientation(), parent);
        plain->setRange(slider->minimum(), slider->maximum());
        plain->setPageStep(slider->pageStep());
        plain->setValue(slider->value());
        copy = plain;
    } else {
        return nullptr;
    }
    copy->setGeometry(model.geometry());
    copy->setFont(model.font());
    return copy;
}

} // namespace

QMainWindow *makeControlsWindow(const QWidget &modelClient)
{
    auto *window = new QMainWindow;
    addMenuBar(*window);
    auto *client = new QWidget;
    client->setFixedSize(modelClient.size());
    client->setPalette(modelClient.palette());
    client->setAutoFillBackground(true);
    window->setCentralWidget(client);
    for (const QWidget *control : modelClient.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        plainCopy(*control, client);
    return window;
}

bool waitForPaint(const Design &design, int paintsBefore)
{
    for (int round = 0; round < 20 && design.paints() == paintsBefore; ++round)
        QCoreApplication::processEvents();
    return design.paints() != paintsBefore;
}

Quillora::Quillora(const std::vector<BenchFigure> &figures)
{
    m_form.Show();
    m_form.controls()->Check1->setChecked(true);
    for (const BenchFigure &figure : figures)
        draw(figure);
    m_form.controls()->Option3->setChecked(true);
    watchPaints(canvas());
}

void Quillora::draw(const BenchFigure &figure)
{
    FormDriver(m_form).chooseStyle(figure.kind, int(figure.color & 0xFF),
                                   int((figure.color >> 8) & 0xFF),
                                   int((figure.color >> 16) & 0xFF), figure.thickness);
    sendMouse(QEvent::MouseButtonPress, figure.from);
    sendMouse(QEvent::MouseMove, (figure.from + figure.to) / 2);
    sendMouse(QEvent::MouseMove, figure.to);
    sendMouse(QEvent::MouseButtonRelease, figure.to);
}

QWidget *Quillora::window()
{
    return m_form.window();
}

QWidget *Quillora::canvas()
{
    return m_form.window()->surface();
}

namespace {

// The program itself, handlers, layer and repaint areas alike, but painting every windowless
// control at every repaint, as a windowless-control model does when nothing is cached.
class PaintEverything : public QObject
{
public:
    explicit PaintEverything(FormSurface *surface) : m_surface(surface) { }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        QPainter painter(m_surface);
        painter.fillRect(static_cast<QPaintEvent *>(event)->rect(), Qt::white);
        const qreal ratio = m_surface->devicePixelRatioF();
        painter.setTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
        FigurePainter::paintAll(painter, m_surface->layer(), ratio);
        return true;
    }

private:
    FormSurface *m_surface;
};

class Naive : public Quillora
{
public:
    explicit Naive(const std::vector<BenchFigure> &figures)
        : Quillora(figures), m_painter(form().window()->surface())
    {
        canvas()->installEventFilter(&m_painter);
        // Count the paints first, before the filter above takes them over.
        watchPaints(canvas());
    }

private:
    PaintEverything m_painter;
};

// One item per figure in a scene with its default index, painted by the same code.
class FigureItem : public QGraphicsItem
{
public:
    explicit FigureItem(const BenchFigure &figure) : m_figure(figure) { }

    QRectF boundingRect() const override
    {
        return m_figure.kind == FigureKind::Line ? FigurePainter::bounds(m_figure.line(), 1)
                                                 : FigurePainter::bounds(m_figure.shape(), 1);
    }
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        if (m_figure.kind == FigureKind::Line)
            FigurePainter::paint(*painter, m_figure.line(), 1);
        else
            FigurePainter::paint(*painter, m_figure.shape(), 1);
    }
    void stretchTo(QPoint corner)
    {
        prepareGeometryChange();
        m_figure.to = corner;
    }

private:
    BenchFigure m_figure;
};

class FigureView : public QGraphicsView
{
public:
    explicit FigureView(const std::vector<BenchFigure> &figures)
    {
        m_scene.setSceneRect(QRectF(QPointF(), BareClientSize));
        m_scene.setBackgroundBrush(Qt::white);
        for (const BenchFigure &figure : figures)
            m_scene.addItem(new FigureItem(figure));
        setScene(&m_scene);
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setFixedSize(BareClientSize);
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        const QPoint at = event->position().toPoint();
        m_dragged = new FigureItem({FigureKind::Rectangle, at, at, RGB(255, 0, 0), 1});
        m_scene.addItem(m_dragged);
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (m_dragged)
            m_dragged->stretchTo(event->position().toPoint());
    }

private:
    QGraphicsScene m_scene;
    FigureItem *m_dragged = nullptr;
};

class GraphicsView : public Design
{
public:
    explicit GraphicsView(const std::vector<BenchFigure> &figures) : m_view(new FigureView(figures))
    {
        addMenuBar(m_window);
        m_window.setCentralWidget(m_view);
        watchPaints(m_view->viewport());
    }
    QWidget *window() override { return &m_window; }
    void press(QPoint at) override { sendMouse(QEvent::MouseButtonPress, at); }

protected:
    QWidget *canvas() override { return m_view->viewport(); }

private:
    QMainWindow m_window;
    FigureView *m_view;
};

} // namespace

std::unique_ptr<Design> makeNaive(const std::vector<BenchFigure> &figures)
{
    return std::make_unique<Naive>(figures);
}

std::unique_ptr<Design> makeGraphicsView(const std::vector<BenchFigure> &figures)
{
    return std::make_unique<GraphicsView>(figures);
}
