// A failing runtime operation tells the user what went wrong and ends the program with a non-zero
// status. Each failure runs in a child process of this test, since it ends the process.

#include "controlarray.h"
#include "runtimeerror.h"
#include "windowlesscontrols.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <functional>
#include <map>
#include <memory>

namespace {

// A shape array as the window's definition leaves it: element 0 only.
struct ShapeArray
{
    ShapeArray() { shapes.assign(0, ShapeControl(&layer, layer.addShape(ShapeData()))); }
    WindowlessLayer layer;
    ControlArray<ShapeControl> shapes;
};

qint16 setLineWidth(qint16 pixels)
{
    WindowlessLayer layer;
    LineControl line(&layer, layer.addLine(LineData()));
    line.setBorderWidth(pixels);
    return line.BorderWidth();
}

const std::map<QString, std::function<void()>> &failures()
{
    static const std::map<QString, std::function<void()>> all = {
        {"load past the last index", [] { ShapeArray().shapes.Load(32768); }},
        {"load below index 0", [] { ShapeArray().shapes.Load(-1); }},
        {"load an element loaded already", [] { ShapeArray().shapes.Load(0); }},
        {"element never loaded", [] { ShapeArray().shapes.Item(5); }},
        {"element in a gap",
         [] {
             ShapeArray array;
             array.shapes.Load(3);
             array.shapes.Item(2);
         }},
        {"negative element", [] { ShapeArray().shapes.Item(-1); }},
        {"load into an empty array", [] { ControlArray<ShapeControl>().Load(1); }},
        {"unknown shape kind", [] { ShapeArray().shapes(0).setShape(1); }},
        {"line width 0", [] { setLineWidth(0); }},
        {"line width 256", [] { setLineWidth(256); }},
        {"negative width", [] { ShapeArray().shapes(0).setWidth(-15); }},
        {"height not a number", [] { ShapeArray().shapes(0).setHeight(std::nanf("")); }},
        {"infinite width", [] { ShapeArray().shapes(0).setWidth(INFINITY); }},
        {"integer overflow", [] { toInteger(32768); }},
        {"integer underflow", [] { toInteger(-32769); }},
    };
    return all;
}

} // namespace

class tst_RuntimeError : public QObject
{
    Q_OBJECT

private slots:
    void failureEndsTheProgram_data();
    void failureEndsTheProgram();
    void failureOnADisplayShowsAMessageBox();
    void valuesWithinTheirRangeAreTaken();
    void overwrittenSlotIsCountedOnce();
};

void tst_RuntimeError::failureEndsTheProgram_data()
{
    QTest::addColumn<QString>("message");
    QTest::newRow("load past the last index") << "Run-time error '9':\n\nSubscript out of range";
    QTest::newRow("load below index 0") << "Run-time error '9':\n\nSubscript out of range";
    QTest::newRow("load an element loaded already")
        << "Run-time error '360':\n\nObject already loaded";
    QTest::newRow("element never loaded")
        << "Run-time error '340':\n\nControl array element '5' doesn't exist";
    QTest::newRow("element in a gap")
        << "Run-time error '340':\n\nControl array element '2' doesn't exist";
    QTest::newRow("negative element")
        << "Run-time error '340':\n\nControl array element '-1' doesn't exist";
    QTest::newRow("load into an empty array")
        << "Run-time error '340':\n\nControl array element '0' doesn't exist";
    for (const char *failure : {"unknown shape kind", "line width 0", "line width 256",
                                "negative width", "height not a number", "infinite width"})
        QTest::newRow(failure) << "Run-time error '380':\n\nInvalid property value";
    QTest::newRow("integer overflow") << "Run-time error '6':\n\nOverflow";
    QTest::newRow("integer underflow") << "Run-time error '6':\n\nOverflow";
}

void tst_RuntimeError::failureEndsTheProgram()
{
    QFETCH(QString, message);
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"fail", QTest::currentDataTag()});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 1);
    const QString said = QString::fromLocal8Bit(child.readAllStandardError());
    QVERIFY2(said.contains(message), qPrintable(said));
    QVERIFY2(!child.readAllStandardOutput().contains("went on"), "the program went on");
}

// On a real display the user reads the message in a box before the program ends.
void tst_RuntimeError::failureOnADisplayShowsAMessageBox()
{
    QProcess server;
    server.start(QStringLiteral("Xvfb"),
                 {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "640x480x24"});
    QVERIFY2(server.waitForStarted(), "Xvfb does not start");
    QVERIFY(server.waitForReadyRead(10000));
    const QByteArray display = server.readAllStandardOutput().trimmed();

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"),
                       QStringLiteral(":") + QString::fromLatin1(display));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"fail-on-display", "integer overflow"});
    const bool finished = child.waitForFinished(30000);
    server.terminate();
    server.waitForFinished();
    QVERIFY(finished);
    QCOMPARE(child.exitCode(), 1);
    QCOMPARE(QString::fromLocal8Bit(child.readAllStandardOutput()),
             QStringLiteral("box: Run-time error '6':\n\nOverflow\n"));
}

void tst_RuntimeError::valuesWithinTheirRangeAreTaken()
{
    QCOMPARE(toInteger(32767), qint16(32767));
    QCOMPARE(toInteger(-32768), qint16(-32768));
    ShapeArray array;
    array.shapes.Load(32767);
    QCOMPARE(array.shapes.Count(), 2);
    ShapeControl shape = array.shapes(32767);
    shape.setWidth(0);
    shape.setShape(ShapeRoundedRectangle);
    QCOMPARE(shape.Width(), 0);
    QCOMPARE(shape.Shape(), qint16(ShapeRoundedRectangle));
    QCOMPARE(setLineWidth(255), 255);
}

// The definition puts each element into its slot once; putting another into the same slot
// replaces it and leaves the count alone.
void tst_RuntimeError::overwrittenSlotIsCountedOnce()
{
    ShapeArray array;
    array.shapes.assign(0, ShapeControl(&array.layer, array.layer.addShape(ShapeData())));
    QCOMPARE(array.shapes.Count(), 1);
    array.shapes.Load(1);
    QCOMPARE(array.shapes.Count(), 2);
}

// Child processes: "fail <failure>" without a display, "fail-on-display <failure>" with one,
// where the message box that appears is read and closed as a user would.
int failAsTold(int argc, char *argv[])
{
    const bool display = qstrcmp(argv[1], "fail-on-display") == 0;
    std::unique_ptr<QCoreApplication> application;
    if (display) {
        application = std::make_unique<QApplication>(argc, argv);
        QTimer::singleShot(0, application.get(), [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                std::printf("box: %s\n", qPrintable(box->text()));
                std::fflush(stdout);
                box->accept();
            }
        });
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    const auto failure = failures().find(QString::fromLocal8Bit(argv[2]));
    if (failure == failures().end())
        return 2;
    failure->second();
    std::puts("went on");
    return 0;
}

int main(int argc, char *argv[])
{
    if (argc == 3 && (qstrcmp(argv[1], "fail") == 0 || qstrcmp(argv[1], "fail-on-display") == 0))
        return failAsTold(argc, argv);
    QCoreApplication application(argc, argv);
    tst_RuntimeError test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_runtimeerror.moc"
