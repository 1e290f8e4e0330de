#pragma once

#include "boolean.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QScrollBar>

// The windowed controls: Qt widgets with the value conventions the program expects. Every one of
// them keeps the mouse to itself, so a press on it never reaches the form beneath. The frame,
// option buttons and check box paint their whole box in their background colour, hiding whatever
// lies beneath, and report whether their caption fits the box.

// Places a widget by its bounds in twips, relative to its parent.
void placeInTwips(QWidget *widget, float left, float top, float width, float height);

// A palette for controls drawn in two colours, a background and a text colour, with every role of
// every colour group set, so that a control given it keeps those colours whatever the desktop's
// scheme or style. As every role is set, a widget keeps this very palette rather than one
// resolved against its parent's, and widgets sharing it share the style's cached pictures too; so
// make it once and give every window the same one.
QPalette twoColorPalette(const QColor &background, const QColor &text);

class Frame : public QGroupBox
{
    Q_OBJECT
public:
    explicit Frame(const QString &caption, QWidget *parent);

    // Where the caption is drawn, and whether it fits there and within the frame.
    QRect captionBox() const;
    bool captionFits() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static constexpr int captionIndent = 6;
    static constexpr int captionPadding = 2;
};

class OptionButton : public QRadioButton
{
    Q_OBJECT
public:
    explicit OptionButton(const QString &caption, QWidget *parent);

    // True (-1) when selected.
    Boolean Value() const { return Vb::fromBool(isChecked()); }
    void setValue(Boolean value) { setChecked(value != Vb::False); }
    QString Caption() const { return m_caption; }
    // Where the style draws the caption beside the indicator, and whether every line of the
    // caption, as wrapped, fits there.
    QRect captionBox() const;
    bool captionFits() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void wrapCaption();
    QString wrappedCaption() const;

    QString m_caption;
};

inline constexpr qint16 vbUnchecked = 0;
inline constexpr qint16 vbChecked = 1;

class CheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit CheckBox(const QString &caption, QWidget *parent);

    // 0 unchecked, 1 checked.
    qint16 Value() const { return isChecked() ? vbChecked : vbUnchecked; }
    QRect captionBox() const;
    bool captionFits() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A horizontal scroll bar whose value changes only after a step or when a dragged thumb is
// released; valueChanged() is its Change event.
class HScrollBar : public QScrollBar
{
    Q_OBJECT
public:
    explicit HScrollBar(QWidget *parent);

    qint16 Value() const { return qint16(value()); }
    // The bounds with the small step (an arrow) and the large step (a click beside the thumb).
    void setRangeAndSteps(int minimum, int maximum, int smallChange, int largeChange);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A form's menu bar. F10 moves the focus to it, as in GNOME's applications, and Escape hands the
// focus back to the control that had it; Alt alone does the same, as Qt provides.
class MenuBar : public QMenuBar
{
    Q_OBJECT
public:
    explicit MenuBar(QWidget *window);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void enterByKeyboard();

    QPointer<QWidget> m_focusBefore;
};
