// Drawing and resetting again and again must not make the process grow. QUILLORA_RESETS sets how
// many Resets the long run makes; make soak asks for 100,000.

#include "formdriver.h"
#include "processmemory.h"

#include <cstdio>

namespace {

// The process's resident memory now, in KiB.
long residentKilobytes()
{
    return processMemoryKilobytes("VmRSS");
}

void resetAndSettle(Form1 &form)
{
    form.controls()->mnuReset->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void drawFigures(Form1 &form, int count)
{
    FormDriver driver(form);
    Form1Controls *ui = form.controls();
    ui->Check1->setChecked(true);
    OptionButton *kinds[] = {ui->Option1, ui->Option2, ui->Option3, ui->Option4};
    for (int i = 0; i < count; ++i) {
        kinds[i % 4]->setChecked(true);
        const float x = 300 + float((i * 97) % 4900), y = 2000 + float((i * 61) % 2900);
        driver.drag({x, y}, {x + 100 + i % 300, y + 50 + i % 200}, 2);
    }
}

} // namespace

class tst_Memory : public QObject
{
    Q_OBJECT

private slots:
    void resetCyclesDoNotGrow();
    void residentMemoryFlatOverManyResets_data();
    void residentMemoryFlatOverManyResets();
};

void tst_Memory::resetCyclesDoNotGrow()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer holds freed memory back, so resident size says nothing here");
#endif
    Form1 form;
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    QList<long> resident;
    for (int cycle = 0; cycle < 100; ++cycle) {
        drawFigures(form, 1000);
        QCOMPARE(form.controls()->Shape1.Count() + form.controls()->Line1.Count(), 1002);
        QCoreApplication::processEvents();
        resetAndSettle(form);
        resident.append(residentKilobytes());
    }
    const long first = resident.first();
    const long largest = *std::max_element(resident.begin(), resident.end());
    qInfo("resident after the first cycle %ld KiB, largest after any of 100 cycles %ld KiB, after "
          "the last %ld KiB",
          first, largest, resident.last());
    // Allocators keep some freed pages back; leaking the figures of one cycle, some 100 KiB,
    // would pass this bound within a dozen cycles.
    QVERIFY2(largest <= first + 1024,
             qPrintable(QStringLiteral("grew from %1 to %2 KiB").arg(first).arg(largest)));
}

void tst_Memory::residentMemoryFlatOverManyResets_data()
{
    QTest::addColumn<int>("figuresBetweenResets");
    QTest::newRow("nothing drawn") << 0;
    QTest::newRow("figures drawn") << 8;
}

// Each Reset builds a new window. Whatever one window leaves behind, in the program or in Qt's
// caches, adds up over thousands of Resets; the resident size after the last Reset must stay
// within 1 MiB of that after a tenth of them.
void tst_Memory::residentMemoryFlatOverManyResets()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer holds freed memory back, so resident size says nothing here");
#endif
    QFETCH(int, figuresBetweenResets);
    const int resets = qEnvironmentVariableIntValue("QUILLORA_RESETS") > 0
        ? qEnvironmentVariableIntValue("QUILLORA_RESETS")
        : 3000;
    Form1 form;
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    long early = 0;
    for (int reset = 1; reset <= resets; ++reset) {
        drawFigures(form, figuresBetweenResets);
        resetAndSettle(form);
        if (reset == resets / 10)
            early = residentKilobytes();
    }
    const long late = residentKilobytes();
    std::printf("resident after Reset %d: %ld KiB, after Reset %d: %ld KiB\n", resets / 10, early,
                resets, late);
    QVERIFY2(late <= early + 1024,
             qPrintable(QStringLiteral("grew from %1 to %2 KiB").arg(early).arg(late)));
}

QTEST_MAIN(tst_Memory)
#include "tst_memory.moc"
