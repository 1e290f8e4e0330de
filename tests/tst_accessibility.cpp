// What a screen reader learns of the window through Qt's accessibility interfaces: the option
// buttons grouped under "Shape?", the labels that name the sliders, the swatch's colour in words
// and the thickness number, the announcements of their changes, and the focus after Reset.

#include "formdriver.h"

#include <QAccessible>

namespace {

struct Announcement
{
    QAccessible::Event type;
    QAccessibleInterface *interface;
};

QList<Announcement> &announcements()
{
    static QList<Announcement> announcements;
    return announcements;
}

void recordAnnouncement(QAccessibleEvent *event)
{
    announcements().append({event->type(), event->accessibleInterface()});
}

QList<QAccessibleInterface *> announced(QAccessible::Event type)
{
    QList<QAccessibleInterface *> found;
    for (const Announcement &announcement : std::as_const(announcements())) {
        if (announcement.type == type)
            found.append(announcement.interface);
    }
    return found;
}

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QList<QAccessibleInterface *> related(QAccessibleInterface *from, QAccessible::Relation relation)
{
    QList<QAccessibleInterface *> targets;
    for (const auto &[target, kind] : from->relations(relation))
        targets.append(target);
    return targets;
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void optionButtonsAreTheGroupShape();
    void labelsNameTheirSliders_data();
    void labelsNameTheirSliders();
    void swatchSpeaksItsColor_data();
    void swatchSpeaksItsColor();
    void thicknessNumberDescribesItsSlider();
    void canvasCountsItsFigures_data();
    void canvasCountsItsFigures();
    void resetHandsTheFocusToTheNewWindow();
    void slidersStepByTheirActions();
    void windowlessControlsAreLeaves();

private:
    QAccessibleInterface *windowless(const QString &name) const;

    std::unique_ptr<Form1> form;
    Form1Controls *ui = nullptr;
};

void tst_Accessibility::initTestCase()
{
    // The bus is switched on as a screen reader switches it on; Qt then announces every change,
    // here to the recorder instead of the bus.
    QAccessible::installUpdateHandler(recordAnnouncement);
    QTRY_VERIFY(QAccessible::isActive());
}

void tst_Accessibility::init()
{
    form = std::make_unique<Form1>();
    form->Show();
    QVERIFY(QTest::qWaitForWindowActive(form->window()));
    ui = form->controls();
    announcements().clear();
}

void tst_Accessibility::cleanup()
{
    form.reset();
}

QAccessibleInterface *tst_Accessibility::windowless(const QString &name) const
{
    QAccessibleInterface *client = accessible(form->window()->surface());
    for (int i = 0; i < client->childCount(); ++i) {
        QAccessibleInterface *child = client->child(i);
        if (!child->object() && child->text(QAccessible::Name) == name)
            return child;
    }
    return nullptr;
}

void tst_Accessibility::optionButtonsAreTheGroupShape()
{
    QAccessibleInterface *client = accessible(form->window()->surface());
    QAccessibleInterface *group = accessible(ui->Frame1);
    QCOMPARE(group->role(), QAccessible::Grouping);
    QCOMPARE(group->text(QAccessible::Name), QStringLiteral("Shape?"));
    QCOMPARE(group->parent(), client);

    const QList<OptionButton *> buttons = {ui->Option1, ui->Option2, ui->Option3, ui->Option4};
    QCOMPARE(group->childCount(), buttons.size());
    for (int i = 0; i < buttons.size(); ++i) {
        QAccessibleInterface *button = accessible(buttons[i]);
        QCOMPARE(group->child(i), button);
        QCOMPARE(group->indexOfChild(button), i);
        QCOMPARE(button->parent(), group);
        QCOMPARE(button->role(), QAccessible::RadioButton);
        QCOMPARE(client->indexOfChild(button), -1);
        // On the form the buttons stay where they are: over the frame, not inside it.
        QCOMPARE(buttons[i]->parentWidget(), form->window()->surface());
    }
    for (int i = 0; i < client->childCount(); ++i)
        QVERIFY(client->child(i)->role() != QAccessible::RadioButton);

    // The toggle action selects the button, as a click does, and its state follows.
    QAccessibleInterface *line = accessible(ui->Option2);
    QVERIFY(!line->state().checked);
    line->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(ui->Option2->Value(), Vb::True);
    QCOMPARE(ui->Option1->Value(), Vb::False);
    QVERIFY(line->state().checked && line->state().checkable);
    QVERIFY(!accessible(ui->Option1)->state().checked);
}

void tst_Accessibility::labelsNameTheirSliders_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("slider"); // index into HScroll, or -1 for HScroll1
    QTest::newRow("R") << "R" << 0;
    QTest::newRow("G") << "G" << 1;
    QTest::newRow("B") << "B" << 2;
    QTest::newRow("Border Thickness") << "Border Thickness" << -1;
}

void tst_Accessibility::labelsNameTheirSliders()
{
    QFETCH(QString, label);
    QFETCH(int, slider);
    QAccessibleInterface *text = windowless(label);
    QVERIFY(text);
    QAccessibleInterface *bar = accessible(slider < 0 ? ui->HScroll1 : ui->HScroll(slider));
    QCOMPARE(related(bar, QAccessible::Label), QList<QAccessibleInterface *>({text}));
    QCOMPARE(related(text, QAccessible::Labelled), QList<QAccessibleInterface *>({bar}));
    QVERIFY(related(text, QAccessible::Label).isEmpty());
    // The number beside the thickness and the heading above the colours label nothing.
    QVERIFY(related(windowless(QStringLiteral("1")), QAccessible::AllRelations).isEmpty());
    QVERIFY(related(windowless(QStringLiteral("Color?")), QAccessible::AllRelations).isEmpty());
}

void tst_Accessibility::swatchSpeaksItsColor_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("words");
    QTest::newRow("red to the end") << 0 << int(Qt::Key_End) << "red 255, green 0, blue 0";
    QTest::newRow("green a large step") << 1 << int(Qt::Key_PageDown) << "red 0, green 16, blue 0";
    QTest::newRow("blue a small step") << 2 << int(Qt::Key_Right) << "red 0, green 0, blue 1";
}

void tst_Accessibility::swatchSpeaksItsColor()
{
    QFETCH(int, slider);
    QFETCH(int, key);
    QFETCH(QString, words);
    QAccessibleInterface *swatch = windowless(QStringLiteral("Color preview"));
    QVERIFY(swatch);
    QCOMPARE(swatch->text(QAccessible::Description), QStringLiteral("red 0, green 0, blue 0"));

    QTest::keyClick(ui->HScroll(slider), Qt::Key(key));
    QCOMPARE(swatch->text(QAccessible::Description), words);
    for (int index = 0; index < 3; ++index) {
        QAccessibleInterface *bar = accessible(ui->HScroll(index));
        QCOMPARE(bar->text(QAccessible::Description), QStringLiteral("Color preview: ") + words);
    }
    // The swatch's goes through Qt once; the colour sliders' go through Qt too where it can send
    // them with their text (the bus test hears them on every Qt), and nothing else is told.
    const QList<QAccessibleInterface *> told = announced(QAccessible::DescriptionChanged);
    QCOMPARE(told.count(swatch), 1);
    for (QAccessibleInterface *interface : told) {
        QVERIFY(interface == swatch || interface == accessible(ui->HScroll(0))
                || interface == accessible(ui->HScroll(1))
                || interface == accessible(ui->HScroll(2)));
    }

    // The words tell the colour the swatch shows, whatever set it.
    ui->ColorShape.setBackColor(RGB(12, 34, 56));
    QCOMPARE(swatch->text(QAccessible::Description), QStringLiteral("red 12, green 34, blue 56"));
}

// The number beside the thickness slider is the slider's value, which a screen reader says with
// the slider: it does not describe the slider as well, or the number would be said twice.
void tst_Accessibility::thicknessNumberDescribesItsSlider()
{
    QAccessibleInterface *bar = accessible(ui->HScroll1);
    QCOMPARE(bar->text(QAccessible::Description), QString());
    QTest::keyClick(ui->HScroll1, Qt::Key_End);
    QCOMPARE(bar->text(QAccessible::Description), QString());
    QCOMPARE(bar->valueInterface()->currentValue().toInt(), 10);
    QAccessibleInterface *number = windowless(QStringLiteral("10"));
    QVERIFY(number);
    QVERIFY(announced(QAccessible::NameChanged).contains(number));
    QVERIFY(!announced(QAccessible::DescriptionChanged).contains(bar));

    // Set through the value interface, as a screen reader does, the slider changes the number.
    bar->valueInterface()->setCurrentValue(4);
    QCOMPARE(ui->Label5.Caption(), QStringLiteral("4"));
}

// The canvas says what it holds, told anew when a figure comes or takes another kind, and not
// at the moves of a drag, nor when a figure only changes its colour.
void tst_Accessibility::canvasCountsItsFigures_data()
{
    QTest::addColumn<bool>("newShape");
    QTest::addColumn<FigureKind>("kind");
    QTest::addColumn<QString>("words");
    QTest::newRow("reshaped, same kind") << false << FigureKind::Rectangle << "1 line, 1 rectangle";
    QTest::newRow("reshaped into a circle") << false << FigureKind::Circle << "1 circle, 1 line";
    QTest::newRow("a new rounded rectangle")
        << true << FigureKind::RoundedRectangle << "1 line, 1 rectangle, 1 rounded rectangle";
    QTest::newRow("a new line") << true << FigureKind::Line << "2 lines, 1 rectangle";
}

void tst_Accessibility::canvasCountsItsFigures()
{
    QFETCH(bool, newShape);
    QFETCH(FigureKind, kind);
    QFETCH(QString, words);
    const QString atStart = QStringLiteral("1 line, 1 rectangle");
    QAccessibleInterface *canvas = windowless(QStringLiteral("Canvas"));
    QCOMPARE(canvas->text(QAccessible::Description), atStart);
    FormDriver driver(*form);
    ui->Check1->setChecked(newShape);
    driver.chooseStyle(kind, 0, 0, 255, 1);
    driver.press(1000, 2500);
    QCOMPARE(canvas->text(QAccessible::Description), words);
    const qsizetype told = announced(QAccessible::DescriptionChanged).count(canvas);
    QCOMPARE(told > 0, words != atStart);
    for (int step = 1; step <= 3; ++step)
        driver.move(1000 + 500 * step, 2500 + 300 * step);
    driver.release(2500, 3400);
    QCOMPARE(announced(QAccessible::DescriptionChanged).count(canvas), told);

    const QPointer<FormWindow> oldWindow = form->window();
    QMetaObject::invokeMethod(ui->mnuReset, &QAction::trigger, Qt::QueuedConnection);
    QTRY_VERIFY(oldWindow.isNull());
    QCOMPARE(windowless(QStringLiteral("Canvas"))->text(QAccessible::Description), atStart);
}

// After Reset every focus the bus is told of lands on "Circle" of the new window, never on a
// control of the old one. (When the first of them arrives depends on the X server, which hands
// the new window the keyboard on its own time: the old window may already be gone by then.)
void tst_Accessibility::resetHandsTheFocusToTheNewWindow()
{
    ui->HScroll(1)->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), ui->HScroll(1));
    const QPointer<FormWindow> oldWindow = form->window();
    announcements().clear();
    // Chosen from the event loop, as a click or a screen reader's action chooses it.
    QMetaObject::invokeMethod(ui->mnuReset, &QAction::trigger, Qt::QueuedConnection);
    QTRY_VERIFY(oldWindow.isNull());
    QVERIFY(QTest::qWaitForWindowActive(form->window()));
    QTRY_COMPARE(QApplication::focusWidget(), form->controls()->Option1);

    QList<Announcement> focus;
    for (const Announcement &announcement : std::as_const(announcements())) {
        if (announcement.type == QAccessible::Focus)
            focus.append(announcement);
    }
    QVERIFY(!focus.isEmpty());
    for (const Announcement &announcement : std::as_const(focus))
        QCOMPARE(announcement.interface, accessible(form->controls()->Option1));
}

// A screen reader steps a slider as its arrow buttons do, and learns its step.
void tst_Accessibility::slidersStepByTheirActions()
{
    QAccessibleInterface *red = accessible(ui->HScroll(0));
    QAccessibleActionInterface *actions = red->actionInterface();
    QVERIFY(actions);
    QCOMPARE(red->valueInterface()->minimumStepSize(), QVariant(1));
    actions->doAction(QAccessibleActionInterface::increaseAction());
    actions->doAction(QAccessibleActionInterface::increaseAction());
    QCOMPARE(ui->HScroll(0)->Value(), 2);
    QCOMPARE(ui->ColorShape.BackColor(), RGB(2, 0, 0));
    QCOMPARE(red->text(QAccessible::Value), QStringLiteral("2"));
    actions->doAction(QAccessibleActionInterface::decreaseAction());
    QCOMPARE(ui->HScroll(0)->Value(), 1);
    actions->doAction(QAccessibleActionInterface::setFocusAction());
    QTRY_VERIFY(ui->HScroll(0)->hasFocus());
    QCOMPARE(ui->HScroll(0)->Value(), 1);

    QAccessibleInterface *line = accessible(ui->Option2);
    line->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    QTRY_VERIFY(ui->Option2->hasFocus());
    QCOMPARE(ui->Option2->Value(), Vb::False);
}

// The labels and the swatch have no children and take no text.
void tst_Accessibility::windowlessControlsAreLeaves()
{
    QAccessibleInterface *swatch = windowless(QStringLiteral("Color preview"));
    QVERIFY(swatch && swatch->isValid());
    QCOMPARE(swatch->window(), form->window()->windowHandle());
    QCOMPARE(swatch->childCount(), 0);
    QCOMPARE(swatch->child(0), nullptr);
    QCOMPARE(swatch->childAt(0, 0), nullptr);
    QCOMPARE(swatch->indexOfChild(swatch), -1);
    swatch->setText(QAccessible::Name, QStringLiteral("changed"));
    QCOMPARE(swatch->text(QAccessible::Name), QStringLiteral("Color preview"));
    QCOMPARE(swatch->text(QAccessible::Value), QString());
    QCOMPARE(swatch->parent(), accessible(form->window()->surface()));

    QAccessibleInterface *client = accessible(form->window()->surface());
    QCOMPARE(client->child(-1), nullptr);
    QCOMPARE(client->child(client->childCount()), nullptr);
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
