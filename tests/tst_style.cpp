// The colour swatch and the thickness number follow their sliders, driven by mouse and keys.

#include "formdriver.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace {

QStyleOptionSlider styleOption(const QScrollBar *bar)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = false;
    if (bar->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    return option;
}

// Where on the scroll bar a part of it lies: the arrows, the trough beside the thumb, the thumb.
QRect partOf(const QScrollBar *bar, QStyle::SubControl part)
{
    const QStyleOptionSlider option = styleOption(bar);
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

} // namespace

class tst_Style : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void swatchFollowsColorSliders_data();
    void swatchFollowsColorSliders();
    void thumbDragChangesOnRelease();
    void thicknessNumber_data();
    void thicknessNumber();
    void slidersNeverAlterADrawnFigure();

private:
    std::unique_ptr<Form1> form;
    Form1Controls *ui = nullptr;
};

void tst_Style::init()
{
    form = std::make_unique<Form1>();
    form->Show();
    QVERIFY(QTest::qWaitForWindowExposed(form->window()));
    ui = form->controls();
}

void tst_Style::cleanup()
{
    form.reset();
}

// Each input is a string of steps: slider index, then 'E' End key, 'H' Home key, 'R' right arrow
// key, 'P' page-down key, 'a' click on the right arrow, 't' click in the trough right of the thumb.
void tst_Style::swatchFollowsColorSliders_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<quint32>("swatch");
    QTest::newRow("all three at 255: white") << QStringList{"0E", "1E", "2E"} << 0xFFFFFFu;
    QTest::newRow("red at 255 alone") << QStringList{"0E"} << 0x0000FFu;
    QTest::newRow("green, one large step: 16") << QStringList{"1t"} << 0x001000u;
    QTest::newRow("green, page key") << QStringList{"1P"} << 0x001000u;
    QTest::newRow("blue, arrow clicks") << QStringList{"2a", "2a", "2a"} << 0x030000u;
    QTest::newRow("red, arrow keys") << QStringList{"0R", "0R"} << 0x000002u;
    QTest::newRow("up and back down") << QStringList{"0E", "1E", "0H"} << 0x00FF00u;
}

void tst_Style::swatchFollowsColorSliders()
{
    QFETCH(QStringList, steps);
    QFETCH(quint32, swatch);

    for (const QString &step : steps) {
        HScrollBar *bar = ui->HScroll(step[0].digitValue());
        switch (step[1].toLatin1()) {
        case 'E':
            QTest::keyClick(bar, Qt::Key_End);
            break;
        case 'H':
            QTest::keyClick(bar, Qt::Key_Home);
            break;
        case 'R':
            QTest::keyClick(bar, Qt::Key_Right);
            break;
        case 'P':
            QTest::keyClick(bar, Qt::Key_PageDown);
            break;
        case 'a':
            QTest::mouseClick(bar, Qt::LeftButton, {},
                              partOf(bar, QStyle::SC_ScrollBarAddLine).center());
            break;
        case 't':
            QTest::mouseClick(bar, Qt::LeftButton, {},
                              partOf(bar, QStyle::SC_ScrollBarAddPage).center());
            break;
        }
    }
    QCOMPARE(ui->ColorShape.BackColor(), ColorValue(swatch));
    const QImage screen = FormDriver(*form).screen();
    QCOMPARE(screen.pixelColor(FormDriver::pixel(5160, 840)), toQColor(swatch));
    QCOMPARE(screen.pixelColor(FormDriver::pixel(4810, 490)), toQColor(swatch));
}

void tst_Style::thumbDragChangesOnRelease()
{
    HScrollBar *red = ui->HScroll(0);
    const QRect thumb = partOf(red, QStyle::SC_ScrollBarSlider);
    const QRect groove = partOf(red, QStyle::SC_ScrollBarGroove);
    QTest::mousePress(red, Qt::LeftButton, {}, thumb.center());
    for (int x = thumb.center().x(); x < groove.center().x(); x += 10) {
        QTest::mouseMove(red, QPoint(x, thumb.center().y()));
        // The thumb follows the pointer, but the value and the swatch wait for the release.
        QCOMPARE(red->Value(), 0);
        QCOMPARE(ui->ColorShape.BackColor(), vbBlack);
    }
    QTest::mouseMove(red, QPoint(groove.center().x(), thumb.center().y()));
    QVERIFY(red->sliderPosition() > 100);
    QTest::mouseRelease(red, Qt::LeftButton, {}, QPoint(groove.center().x(), thumb.center().y()));
    QVERIFY(red->Value() > 100);
    QCOMPARE(ui->ColorShape.BackColor(), RGB(red->Value(), 0, 0));
}

void tst_Style::thicknessNumber_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("caption");
    QTest::newRow("maximum") << QList<int>{Qt::Key_End} << "10";
    QTest::newRow("back to the minimum") << QList<int>{Qt::Key_End, Qt::Key_Home} << "1";
    QTest::newRow("below the minimum") << QList<int>{Qt::Key_Left, Qt::Key_Home} << "1";
    QTest::newRow("three steps") << QList<int>{Qt::Key_Right, Qt::Key_PageDown, Qt::Key_Right}
                                 << "4";
    QTest::newRow("past the maximum") << QList<int>(12, Qt::Key_Right) << "10";
    // Up and Down step as Left and Right do, the way a scroll bar's arrows point.
    QTest::newRow("down steps on") << QList<int>{Qt::Key_Down, Qt::Key_Down} << "3";
    QTest::newRow("up steps back") << QList<int>{Qt::Key_End, Qt::Key_Up} << "9";
}

void tst_Style::thicknessNumber()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, caption);
    for (int key : keys)
        QTest::keyClick(ui->HScroll1, Qt::Key(key));
    QCOMPARE(ui->Label5.Caption(), caption);
    QCOMPARE(QString::number(ui->HScroll1->Value()), caption);
}

void tst_Style::slidersNeverAlterADrawnFigure()
{
    FormDriver driver(*form);
    ui->Check1->setChecked(true);
    ui->Option3->setChecked(true);
    QTest::keyClick(ui->HScroll(1), Qt::Key_End);
    driver.drag({1000, 2500}, {2000, 3500});
    ui->Option2->setChecked(true);
    QTest::keyClick(ui->HScroll1, Qt::Key_End);
    driver.drag({1000, 4000}, {3000, 4500});

    QTest::keyClick(ui->HScroll(0), Qt::Key_End);
    QTest::keyClick(ui->HScroll1, Qt::Key_Home);
    QCOMPARE(ui->Shape1(1).BackColor(), RGB(0, 255, 0));
    QCOMPARE(ui->Line1(1).BorderColor(), RGB(0, 255, 0));
    QCOMPARE(ui->Line1(1).BorderWidth(), 10);
    QCOMPARE(driver.screen().pixelColor(FormDriver::pixel(1500, 3000)), QColor(0, 255, 0));
}

QTEST_MAIN(tst_Style)
#include "tst_style.moc"
