// Reads the benchmark's JSON, prints the ratios the goals are stated in, and plots the cost of
// one drag step against the number of figures for the three designs.
//
// Usage: quillora-bench-report <bench.json> <plot.png>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace {

struct Report
{
    QHash<QString, QJsonObject> results;
    // The designs and numbers of figures the drag was measured with, as the benchmark names its
    // drag steps "DragStep/<design>/<figures>": the designs in the order it ran them, the
    // numbers from low to high.
    QStringList designs;
    QList<int> counts;
    bool allMet = true;

    double value(const QString &name, const char *counter) const
    {
        return results.value(name).value(QLatin1String(counter)).toDouble(NAN);
    }
    double median(const QString &name) const { return value(name, "median_us"); }

    void goal(const char *what, double measured, const char *comparison, double limit)
    {
        const bool met = comparison[0] == '<' ? measured <= limit : measured >= limit;
        allMet = allMet && met;
        std::printf("  %-58s %10.3f  (goal %s %g)  %s\n", what, measured, comparison, limit,
                    met ? "met" : "NOT MET");
    }
};

Report readReport(const QString &path)
{
    Report report;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return report;
    const QJsonArray benchmarks = QJsonDocument::fromJson(file.readAll())["benchmarks"].toArray();
    for (const auto &entry : benchmarks) {
        const QJsonObject result = entry.toObject();
        const QString name = result["name"].toString();
        report.results.insert(name, result);
        const QStringList parts = name.split(QLatin1Char('/'));
        if (parts.size() != 3 || parts[0] != QLatin1String("DragStep"))
            continue;
        if (!report.designs.contains(parts[1]))
            report.designs.append(parts[1]);
        if (!report.counts.contains(parts[2].toInt()))
            report.counts.append(parts[2].toInt());
    }
    std::sort(report.counts.begin(), report.counts.end());
    return report;
}

void printTable(const Report &report)
{
    std::printf("Cost of one drag step, median / p90 in microseconds, and the steps taken:\n");
    std::printf("  %-14s", "figures");
    for (const QString &design : report.designs)
        std::printf(" %32s", qPrintable(design));
    std::printf("\n");
    for (int count : report.counts) {
        std::printf("  %-14d", count);
        for (const QString &design : report.designs) {
            const QString name = QStringLiteral("DragStep/%1/%2").arg(design).arg(count);
            std::printf(" %10.1f / %9.1f %6.0f%s", report.median(name),
                        report.value(name, "p90_us"), report.value(name, "steps"),
                        report.value(name, "settled") == 1 ? " " : "*");
        }
        std::printf("\n");
    }
    std::printf("  (* the median had not settled when the step or time limit stopped it)\n");
}

// Exec to the first frame on a real X server, the program against the bare Qt program.
void printProcessStartup(const Report &report)
{
    std::printf("\nWhole-process start-up to the first frame on Xvfb, milliseconds:\n");
    for (const char *program : {"quillora", "bare"}) {
        const QString name = QStringLiteral("ProcessStartup/%1").arg(program);
        std::printf("  %-9s min %7.2f  median %7.2f  max %7.2f  processor time median %7.2f  (%.0f "
                    "runs, window %.0fx%.0f)\n",
                    program, report.value(name, "min_us") / 1000, report.median(name) / 1000,
                    report.value(name, "max_us") / 1000, report.value(name, "cpu_median_us") / 1000,
                    report.value(name, "runs"), report.value(name, "window_width"),
                    report.value(name, "window_height"));
    }
}

void checkGoals(Report &report)
{
    const auto drag = [&](const char *design, int count) {
        return QStringLiteral("DragStep/%1/%2").arg(design).arg(count);
    };
    std::printf("\nGoals:\n");
    report.goal("DragStep quillora 32768 / 1, median",
                report.median(drag("quillora", 32768)) / report.median(drag("quillora", 1)),
                "<=", 1.5);
    report.goal("DragStep quillora 32768 / 1, p90",
                report.value(drag("quillora", 32768), "p90_us")
                    / report.value(drag("quillora", 1), "p90_us"),
                "<=", 2);
    report.goal("DragStep graphicsview / quillora at 32768",
                report.median(drag("graphicsview", 32768)) / report.median(drag("quillora", 32768)),
                ">=", 1000);
    double slowestLead = INFINITY;
    for (int count : report.counts) {
        for (const char *other : {"naive", "graphicsview"})
            slowestLead = std::min(slowestLead,
                                   report.median(drag(other, count))
                                       / report.median(drag("quillora", count)));
    }
    report.goal("smallest lead over naive and graphicsview, any N", slowestLead, ">=", 1);
    report.goal("Press quillora 32768 / 1",
                report.median("Press/quillora/32768") / report.median("Press/quillora/1"), "<=", 2);
    report.goal("ReshapeBuried 32768 / DragStep naive 32768",
                report.median("ReshapeBuried/quillora/32768") / report.median(drag("naive", 32768)),
                "<=", 0.1);
    report.goal("Startup quillora / controls (in process)",
                report.median("Startup/quillora") / report.median("Startup/controls"), "<=", 1.2);
    report.goal("ProcessStartup quillora / bare, median",
                report.median("ProcessStartup/quillora") / report.median("ProcessStartup/bare"),
                "<=", 1.1);
    report.goal("memory with 32768 shapes and 32768 lines, MiB more",
                report.value("Memory/quillora/32768", "growth_mib"), "<=", 10);
    std::printf("\nOther figures, median in microseconds (steps taken):\n");
    const auto withSteps = [&](const QString &name) {
        return QStringLiteral("%1 (%2)")
            .arg(report.median(name), 0, 'f', 1)
            .arg(report.value(name, "steps"));
    };
    for (int count : report.counts)
        std::printf("  Reset/quillora/%-6d %16s   Press/quillora/%-6d %14s\n", count,
                    qPrintable(withSteps(QStringLiteral("Reset/quillora/%1").arg(count))), count,
                    qPrintable(withSteps(QStringLiteral("Press/quillora/%1").arg(count))));
    std::printf("  ReshapeBuried/quillora/32768 %s\n",
                qPrintable(withSteps("ReshapeBuried/quillora/32768")));
    std::printf("  Startup quillora %s, bare %s, the same controls as plain Qt widgets %s\n",
                qPrintable(withSteps("Startup/quillora")), qPrintable(withSteps("Startup/bare")),
                qPrintable(withSteps("Startup/controls")));
    std::printf("  Startup controls / bare %.2f, quillora / controls %.2f\n",
                report.median("Startup/controls") / report.median("Startup/bare"),
                report.median("Startup/quillora") / report.median("Startup/controls"));
}

// Cost per move against the number of figures, both axes logarithmic.
void plot(const Report &report, const QString &path)
{
    QImage image(800, 500, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(90, 40, 660, 380);
    const double lowTime = 1, highTime = 1e6; // microseconds
    const auto at = [&](double count, double micros) {
        const double x = std::log10(count) / std::log10(32768.0);
        const double y = (std::log10(micros) - std::log10(lowTime))
            / (std::log10(highTime) - std::log10(lowTime));
        return QPointF(area.left() + x * area.width(), area.bottom() - y * area.height());
    };
    painter.setPen(QColor(220, 220, 220));
    for (double micros = lowTime; micros <= highTime; micros *= 10) {
        painter.drawLine(at(1, micros), at(32768, micros));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, at(1, micros).y() - 10, 82, 20),
                         Qt::AlignRight | Qt::AlignVCenter,
                         micros >= 1000 ? QStringLiteral("%1 ms").arg(micros / 1000)
                                        : QStringLiteral("%1 µs").arg(micros));
        painter.setPen(QColor(220, 220, 220));
    }
    painter.setPen(Qt::black);
    for (int count : report.counts)
        painter.drawText(QRectF(at(count, lowTime).x() - 40, area.bottom() + 6, 80, 20),
                         Qt::AlignCenter, QString::number(count));
    painter.drawRect(area);
    painter.drawText(QRectF(0, 8, 800, 24), Qt::AlignCenter,
                     QStringLiteral(
                         "Cost of one drag step (median) against the number of figures"));
    painter.drawText(QRectF(0, area.bottom() + 28, 800, 20), Qt::AlignCenter,
                     QStringLiteral("figures"));

    const QColor colors[] = {QColor(0, 110, 220), QColor(220, 60, 40), QColor(40, 160, 60)};
    for (qsizetype d = 0; d < report.designs.size(); ++d) {
        const QColor color = colors[d % std::size(colors)];
        QPainterPath line;
        bool first = true;
        for (int count : report.counts) {
            const double micros =
                report.median(QStringLiteral("DragStep/%1/%2").arg(report.designs[d]).arg(count));
            if (std::isnan(micros))
                continue;
            first ? line.moveTo(at(count, micros)) : line.lineTo(at(count, micros));
            first = false;
            painter.setBrush(color);
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(at(count, micros), 4, 4);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(color, 2));
        painter.drawPath(line);
        painter.drawText(QPointF(area.left() + 12, area.top() + 20 + 18 * d), report.designs[d]);
    }
    painter.end();
    image.save(path);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillora-bench-report <bench.json> <plot.png>\n");
        return 2;
    }
    Report report = readReport(QString::fromLocal8Bit(argv[1]));
    if (report.results.isEmpty()) {
        std::fprintf(stderr, "quillora-bench-report: no results in %s\n", argv[1]);
        return 1;
    }
    printTable(report);
    printProcessStartup(report);
    checkGoals(report);
    plot(report, QString::fromLocal8Bit(argv[2]));
    std::printf("\n%s\n",
                report.allMet ? "Every goal is met." : "Some goals are NOT MET; see above.");
    return 0;
}
