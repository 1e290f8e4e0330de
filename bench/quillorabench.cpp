// Measures the cost of a drag step, a press, a Reset and start-up, with the figures held three
// ways: the program's cached layer, a naive full repaint, and a QGraphicsScene.
//
// Usage: quillora-bench [--full] [Google Benchmark options]
//        quillora-bench --memory-probe N   (prints the peak RSS in KiB holding N shapes and N
//        lines)
//
// Each benchmark takes steps until the median of its steps has settled; --full takes the fixed
// numbers of steps of the long record run instead.

#include "barewindow.h"
#include "designs.h"
#include "formdriver.h"
#include "formsurface.h"
#include "formwindow.h"
#include "processmemory.h"
#include "processstartup.h"
#include "twips.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const QPoint PressPoint(60, 160);

// The drag's corner sweeps out and back, about two pixels a step.
QPoint dragCorner(int step)
{
    const int phase = step % 120;
    const int reach = 4 + 2 * (phase < 60 ? phase : 120 - phase);
    return PressPoint + QPoint(reach, reach * 3 / 4);
}

// Paints the window once, so that its cached pictures exist before anything is timed.
void showAndPaint(Design &design)
{
    design.window()->show();
    waitForPaint(design, design.paints());
}

// The design under measurement, built once for all repetitions of one benchmark; building the
// next one frees it, so a 32768-figure scene never shares the process with another.
struct BuiltDesign
{
    std::string key;
    std::unique_ptr<Design> design;
};

BuiltDesign &built()
{
    static BuiltDesign built;
    return built;
}

template <class Built>
Built &current(const std::string &key, const std::function<std::unique_ptr<Built>()> &build)
{
    if (built().key != key) {
        built().design.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        built().design = build();
        built().key = key;
        showAndPaint(*built().design);
    }
    return static_cast<Built &>(*built().design);
}

double seconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// How many steps a benchmark takes. The quick run looks at the median after every batch and
// stops once it moved by no more than 1% over the last batch, but not before the steps have
// taken `minSteps` and `minSeconds` of measured time (or reached `maxSteps`); once past
// `minSteps` it also stops at `maxSteps` or after 45 s of wall-clock time in all, reporting the
// median as not settled. The full run takes `fullSteps` steps for every repetition Google
// Benchmark asks for.
struct Sampling
{
    int batch;
    int minSteps;
    int maxSteps;
    double minSeconds;
    int fullSteps;
};

bool fullRun = false;
constexpr double SettledChange = 0.01;
constexpr double MaxWallSeconds = 45;

double medianOf(std::vector<double> samples)
{
    const auto middle = samples.begin() + std::ptrdiff_t(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

// Takes steps until the median has settled; returns whether it did before a limit stopped it.
bool sampleUntilSettled(std::vector<double> &samples, const Sampling &sampling,
                        const std::function<double(int)> &step)
{
    const Clock::time_point began = Clock::now();
    double measured = 0;
    double lastMedian = NAN;
    for (;;) {
        for (int i = 0; i < sampling.batch; ++i) {
            samples.push_back(step(int(samples.size())));
            measured += samples.back();
        }
        const double median = medianOf(samples);
        const bool settled = std::abs(median - lastMedian) <= SettledChange * lastMedian;
        lastMedian = median;
        const int taken = int(samples.size());
        if (taken < sampling.minSteps)
            continue;
        if (taken >= sampling.maxSteps || seconds(began, Clock::now()) > MaxWallSeconds)
            return settled;
        if (settled && measured >= sampling.minSeconds)
            return true;
    }
}

// Runs the steps one at a time, each timing the part it measures, and reports their median and
// 90th percentile in microseconds and how many steps were taken.
void measureSteps(benchmark::State &state, const Sampling &sampling,
                  const std::function<double(int)> &step)
{
    std::vector<double> samples;
    bool settled = true;
    for (auto _ : state) {
        if (fullRun) {
            for (int i = 0; i < sampling.fullSteps; ++i)
                samples.push_back(step(int(samples.size())));
        } else {
            settled = sampleUntilSettled(samples, sampling, step);
        }
    }
    std::sort(samples.begin(), samples.end());
    state.counters["median_us"] = samples[samples.size() / 2] * 1e6;
    state.counters["p90_us"] = samples[std::min(samples.size() - 1, samples.size() * 9 / 10)] * 1e6;
    state.counters["steps"] = double(samples.size());
    state.counters["settled"] = settled ? 1 : 0;
}

void DragStep(benchmark::State &state, const std::string &design, int count,
              std::unique_ptr<Design> (*make)(const std::vector<BenchFigure> &))
{
    static int position = 0;
    Design &built = current<Design>(design + std::to_string(count), [&] {
        std::unique_ptr<Design> made = make(makeFigures(count));
        made->window()->show();
        made->press(PressPoint);
        position = 0;
        return made;
    });
    bool painted = true;
    // Batches of half a sweep, which holds every size of the rectangle once, out or back; at least
    // two whole sweeps.
    measureSteps(state, {60, 240, 12000, 0.25, 1500}, [&](int) {
        const int before = built.paints();
        const Clock::time_point start = Clock::now();
        built.dragTo(dragCorner(++position));
        const double taken = seconds(start, Clock::now());
        painted = painted && built.paints() != before;
        return taken;
    });
    if (!painted)
        state.SkipWithError("a move painted nothing");
}

std::unique_ptr<Design> makeQuilloraDesign(const std::vector<BenchFigure> &figures)
{
    return std::make_unique<Quillora>(figures);
}

Quillora &quillora(const std::string &what, int count)
{
    return current<Quillora>(what + std::to_string(count),
                             [&] { return std::make_unique<Quillora>(makeFigures(count)); });
}

// A press with "New Shape" ticked, until its paint has finished. Every press timed loads a new
// shape: once Shape1 is full, where a press reshapes the last shape instead, the window is built
// again with its figures, outside the timing.
void Press(benchmark::State &state, int count)
{
    static int builds = 0;
    Quillora *design = &quillora("press", count);
    bool allLoaded = true;
    measureSteps(state, {100, 500, 5000, 0.05, 500}, [&](int i) {
        if (design->form().controls()->Shape1.Count() == ControlArray<ShapeControl>::Capacity)
            design = &quillora("press, build " + std::to_string(++builds) + ", ", count);
        const int shapesBefore = design->form().controls()->Shape1.Count();
        const QPoint at = PressPoint + QPoint(i % 200, i % 150);
        const int before = design->paints();
        const Clock::time_point start = Clock::now();
        design->press(at);
        waitForPaint(*design, before);
        const double taken = seconds(start, Clock::now());
        design->release(at);
        allLoaded = allLoaded && design->form().controls()->Shape1.Count() == shapesBefore + 1;
        return taken;
    });
    if (!allLoaded)
        state.SkipWithError("a press did not load a new shape");
}

// A press that reshapes the last shape while a line lies above it: the shape leaves the cached
// picture, which is repaired where it was.
void ReshapeBuried(benchmark::State &state, int count)
{
    Quillora &design = quillora("buried", count);
    Form1Controls *ui = design.form().controls();
    ui->Check1->setChecked(false);
    measureSteps(state, {50, 200, 1000, 0.1, 200}, [&](int) {
        ShapeControl last = ui->Shape1(ui->Shape1.Count() - 1);
        const QPoint corner(int(Twips::toLogical(last.Left())), int(Twips::toLogical(last.Top())));
        ui->Option2->setChecked(true);
        design.press(corner + QPoint(2, 2));
        design.release(corner + QPoint(2, 2));
        waitForPaint(design, design.paints());

        ui->Option3->setChecked(true);
        const int before = design.paints();
        const Clock::time_point start = Clock::now();
        design.press(corner);
        waitForPaint(design, before);
        const double taken = seconds(start, Clock::now());
        design.release(corner);
        return taken;
    });
}

// Reset of a window holding the figures, until the new window has painted.
void Reset(benchmark::State &state, int count)
{
    const std::vector<BenchFigure> figures = makeFigures(count);
    Quillora &design = quillora("reset", 0);
    measureSteps(state, {5, 10, 30, 0, 5}, [&](int) {
        design.form().controls()->Check1->setChecked(true);
        for (const BenchFigure &figure : figures)
            design.draw(figure);
        waitForPaint(design, design.paints());
        QAction *reset = design.window()->findChild<QMenuBar *>()->actions().at(0);

        const Clock::time_point start = Clock::now();
        reset->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        design.watchNewWindow();
        waitForPaint(design, 0);
        return seconds(start, Clock::now());
    });
}

// From nothing to the first paint of a shown window.
template <class Window>
void startup(benchmark::State &state, const std::function<Window *()> &create,
             const std::function<QWidget *(Window *)> &painted)
{
    measureSteps(state, {25, 100, 2000, 0.3, 50}, [&](int) {
        int paints = 0;
        struct Counter : QObject
        {
            int *paints = nullptr;
            bool eventFilter(QObject *, QEvent *event) override
            {
                *paints += event->type() == QEvent::Paint;
                return false;
            }
        } counter;
        counter.paints = &paints;

        const Clock::time_point start = Clock::now();
        Window *window = create();
        painted(window)->installEventFilter(&counter);
        for (int round = 0; round < 50 && paints == 0; ++round)
            QCoreApplication::processEvents();
        const double taken = seconds(start, Clock::now());
        painted(window)->removeEventFilter(&counter);
        delete window;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return taken;
    });
}

void StartupQuillora(benchmark::State &state)
{
    startup<Form1>(
        state,
        [] {
            auto *form = new Form1;
            form->Show();
            return form;
        },
        [](Form1 *form) -> QWidget * { return form->window()->surface(); });
}

void StartupBare(benchmark::State &state)
{
    startup<QMainWindow>(
        state,
        [] {
            QMainWindow *window = makeBareWindow();
            window->show();
            return window;
        },
        [](QMainWindow *window) { return window->centralWidget(); });
}

// The bare window with the program's windowed controls as plain Qt widgets: the part of the
// start-up that is Qt's own widgets, whatever runs them.
void StartupControls(benchmark::State &state)
{
    Form1 model;
    model.Show();
    model.window()->hide();
    const QWidget &client = *model.window()->surface();
    startup<QMainWindow>(
        state,
        [&client] {
            QMainWindow *window = makeControlsWindow(client);
            window->show();
            return window;
        },
        [](QMainWindow *window) { return window->centralWidget(); });
}

// The whole program and the bare Qt program, each started as a user starts it, taking turns on a
// real X server, until the first frame of the window. Both figures come from one set of runs.
const std::vector<ProcessStartups> &processStartups()
{
    static const std::vector<ProcessStartups> measured = measureProcessStartups(
        {QStringLiteral(QUILLORA_PROGRAM), QStringLiteral(QUILLORA_BARE_PROGRAM)},
        fullRun ? 100 : 30);
    return measured;
}

void ProcessStartup(benchmark::State &state, size_t program)
{
    try {
        for (auto _ : state)
            processStartups();
    } catch (const std::runtime_error &error) {
        state.SkipWithError(error.what());
        return;
    }
    if (processStartups()[0].windowSize != processStartups()[1].windowSize) {
        state.SkipWithError("the program's window and the bare one differ in size");
        return;
    }
    const ProcessStartups &startups = processStartups()[program];
    std::vector<double> times = startups.seconds;
    std::sort(times.begin(), times.end());
    state.counters["median_us"] = medianOf(times) * 1e6;
    state.counters["min_us"] = times.front() * 1e6;
    state.counters["max_us"] = times.back() * 1e6;
    state.counters["runs"] = double(times.size());
    state.counters["cpu_median_us"] = medianOf(startups.cpuSeconds) * 1e6;
    state.counters["window_width"] = startups.windowSize.width();
    state.counters["window_height"] = startups.windowSize.height();
}

long peakKilobytes(const QString &program, int figures)
{
    QProcess probe;
    probe.start(program, {QStringLiteral("--memory-probe"), QString::number(figures)});
    probe.waitForFinished(600000);
    return probe.readAllStandardOutput().trimmed().toLong();
}

// Peak resident memory of a process holding the figures, against one with an empty window.
void Memory(benchmark::State &state, int count)
{
    const QString program = QCoreApplication::applicationFilePath();
    for (auto _ : state) {
        const long empty = peakKilobytes(program, 0);
        const long full = peakKilobytes(program, count);
        state.counters["empty_kib"] = double(empty);
        state.counters["full_kib"] = double(full);
        state.counters["growth_mib"] = double(full - empty) / 1024;
    }
}

// Holds the given number of shapes and of lines, drawn with the real handlers, then reports
// the process's peak resident memory.
int memoryProbe(int count)
{
    Form1 form;
    form.Show();
    FormDriver driver(form);
    driver.ui().Check1->setChecked(true);
    QCoreApplication::processEvents();
    for (FigureKind kind : {FigureKind::Rectangle, FigureKind::Line}) {
        driver.ui().optionFor(kind)->setChecked(true);
        for (int i = 1; i < count; ++i) {
            const QPoint from = canvasInside().topLeft() + QPoint(i % 300, i % 180);
            const QPoint to = from + QPoint(4 + i % 90, 4 + i % 70);
            driver.drag(Twips::fromLogical(QPointF(from)), Twips::fromLogical(QPointF(to)), 1);
        }
        QCoreApplication::processEvents();
    }
    // The high-water mark of this process's own memory; getrusage() would also count what the
    // benchmark process had resident when it started this one.
    const long peak = processMemoryKilobytes("VmHWM");
    if (peak < 0)
        return 1;
    std::printf("%ld\n", peak);
    return 0;
}

void registerBenchmarks()
{
    const int counts[] = {1, 1000, 10000, 32768};
    const struct
    {
        const char *name;
        std::unique_ptr<Design> (*make)(const std::vector<BenchFigure> &);
    } designs[] = {{"quillora", makeQuilloraDesign},
                   {"naive", makeNaive},
                   {"graphicsview", makeGraphicsView}};
    const auto add = [](const std::string &name, auto &&function) {
        return benchmark::RegisterBenchmark(name.c_str(), function)->Unit(benchmark::kMillisecond);
    };
    for (const auto &design : designs) {
        for (int count : counts) {
            add("DragStep/" + std::string(design.name) + "/" + std::to_string(count),
                [=](benchmark::State &state) { DragStep(state, design.name, count, design.make); });
        }
    }
    for (int count : counts)
        add("Press/quillora/" + std::to_string(count),
            [=](benchmark::State &state) { Press(state, count); });
    add("ReshapeBuried/quillora/32768",
        [](benchmark::State &state) { ReshapeBuried(state, 32768); });
    for (int count : counts)
        add("Reset/quillora/" + std::to_string(count),
            [=](benchmark::State &state) { Reset(state, count); });
    add("Startup/quillora", StartupQuillora);
    add("Startup/bare", StartupBare);
    add("Startup/controls", StartupControls);
    add("ProcessStartup/quillora", [](benchmark::State &state) { ProcessStartup(state, 0); });
    add("ProcessStartup/bare", [](benchmark::State &state) { ProcessStartup(state, 1); });
    add("Memory/quillora/32768", [](benchmark::State &state) { Memory(state, 32768); });
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--memory-probe") == 0)
        return memoryProbe(std::atoi(argv[2]));

    // The quick run measures each benchmark once, for as many steps as its median needs; Google
    // Benchmark would otherwise repeat it until half a second of processor time had passed.
    std::vector<char *> arguments(argv, argv + argc);
    fullRun = arguments.size() > 1 && std::strcmp(arguments[1], "--full") == 0;
    char minimumTime[] = "--benchmark_min_time=0";
    if (fullRun)
        arguments.erase(arguments.begin() + 1);
    else
        arguments.insert(arguments.begin() + 1, minimumTime);
    int count = int(arguments.size());
    registerBenchmarks();
    benchmark::Initialize(&count, arguments.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The last design's windows must go before the application does.
    built().design.reset();
    return 0;
}
