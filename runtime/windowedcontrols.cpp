#include "windowedcontrols.h"

#include "twips.h"

#include <QEvent>
#include <QKeyEvent>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionButton>

void placeInTwips(QWidget *widget, float left, float top, float width, float height)
{
    widget->setGeometry(Twips::toLogicalRect(left, top, width, height));
}

namespace {

void keepMouseToItself(QWidget *widget)
{
    widget->setAttribute(Qt::WA_NoMousePropagation);
}

} // namespace

Frame::Frame(const QString &caption, QWidget *parent) : QGroupBox(caption, parent)
{
    keepMouseToItself(this);
}

OptionButton::OptionButton(const QString &caption, QWidget *parent)
    : QRadioButton(caption, parent), m_caption(caption)
{
    keepMouseToItself(this);
    // The caption on screen may be wrapped; a screen reader speaks it whole.
    setAccessibleName(caption);
}

void OptionButton::resizeEvent(QResizeEvent *event)
{
    QRadioButton::resizeEvent(event);
    wrapCaption();
}

void OptionButton::changeEvent(QEvent *event)
{
    QRadioButton::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        wrapCaption();
}

// An option button's caption wraps at word breaks when it is wider than the button, as
// "Rounded Rectangle" does in its narrow box.
void OptionButton::wrapCaption()
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &option, this)
        + style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &option, this);
    const int room = width() - indicator;
    const QFontMetrics metrics(font());

    QStringList lines;
    for (const QString &word : m_caption.split(QLatin1Char(' '))) {
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.last() + u' ' + word) <= room)
            lines.last() += u' ' + word;
        else
            lines.append(word);
    }
    setText(lines.join(QLatin1Char('\n')));
}

CheckBox::CheckBox(const QString &caption, QWidget *parent) : QCheckBox(caption, parent)
{
    keepMouseToItself(this);
}

HScrollBar::HScrollBar(QWidget *parent) : QScrollBar(Qt::Horizontal, parent)
{
    keepMouseToItself(this);
    setTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    // The classic scroll bar has no context menu of its own.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void HScrollBar::setRange(int minimum, int maximum, int smallChange, int largeChange)
{
    QScrollBar::setRange(minimum, maximum);
    setSingleStep(smallChange);
    setPageStep(largeChange);
}

// The arrow keys take a small step, as the arrow buttons do; QScrollBar leaves them unhandled.
void HScrollBar::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        triggerAction(SliderSingleStepSub);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        triggerAction(SliderSingleStepAdd);
        break;
    default:
        QScrollBar::keyPressEvent(event);
    }
}
