#pragma once

#include "boolean.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QScrollBar>

// The windowed controls: Qt widgets with the value conventions the program expects. Every one of
// them keeps the mouse to itself, so a press on it never reaches the form beneath.

// Places a widget by its bounds in twips, relative to its parent.
void placeInTwips(QWidget *widget, float left, float top, float width, float height);

class Frame : public QGroupBox
{
    Q_OBJECT
public:
    explicit Frame(const QString &caption, QWidget *parent);
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

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void wrapCaption();

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
    void setValue(qint16 value) { setChecked(value == vbChecked); }
};

// A horizontal scroll bar whose value changes only after a step or when a dragged thumb is
// released; valueChanged() is its Change event.
class HScrollBar : public QScrollBar
{
    Q_OBJECT
public:
    explicit HScrollBar(QWidget *parent);

    qint16 Value() const { return qint16(value()); }
    void setValue(qint16 value) { QScrollBar::setValue(value); }
    void setRange(int minimum, int maximum, int smallChange, int largeChange);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
