#pragma once

#include "formdriver.h"

// The drawing window as it starts, and as Reset leaves it: "Circle" chosen, "New Shape" clear,
// the colour sliders at 0 and a black swatch, the thickness at 1, no drag, and on the canvas only
// the first shape and line where the definition puts them. Where a picture of the window at
// start is given, the window must show exactly that. A failure is reported through QTest, so a
// caller that goes on afterwards checks QTest::currentTestFailed().
inline void verifyStartState(Form1 &form, const QImage &startPicture = {})
{
    Form1Controls &ui = *form.controls();
    QCOMPARE(ui.Option1->Value(), Vb::True);
    QCOMPARE(ui.Option2->Value(), Vb::False);
    QCOMPARE(ui.Option3->Value(), Vb::False);
    QCOMPARE(ui.Option4->Value(), Vb::False);
    QCOMPARE(ui.Check1->Value(), vbUnchecked);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(ui.HScroll(i)->Value(), 0);
    QCOMPARE(ui.HScroll1->Value(), 1);
    QCOMPARE(ui.Label5.Caption(), QStringLiteral("1"));
    QCOMPARE(ui.ColorShape.BackColor(), vbBlack);
    QCOMPARE(form.drawingState().DragActive, Vb::False);

    QCOMPARE(ui.Shape1.Count(), 1);
    const ShapeControl shape = ui.Shape1(0);
    QCOMPARE(QRectF(shape.Left(), shape.Top(), shape.Width(), shape.Height()),
             QRectF(300, 2000, 15, 15));
    QCOMPARE(shape.Shape(), ShapeRectangle);
    QCOMPARE(shape.BackColor(), vbBlack);
    QCOMPARE(shape.BorderColor(), vbBlack);
    QCOMPARE(shape.FillColor(), vbWhite);
    QCOMPARE(shape.BackStyle(), 1);
    QCOMPARE(shape.BorderWidth(), 1);
    QCOMPARE(ui.Line1.Count(), 1);
    const LineControl line = ui.Line1(0);
    QCOMPARE(QLineF(line.X1(), line.Y1(), line.X2(), line.Y2()), QLineF(300, 2000, 5300, 2000));
    QCOMPARE(line.BorderColor(), vbBlack);
    QCOMPARE(line.BorderWidth(), 1);

    if (!startPicture.isNull())
        QCOMPARE(FormDriver(form).screen(), startPicture);
}
