#include "windowedcontrols.h"

#include "twips.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

void placeInTwips(QWidget *widget, float left, float top, float width, float height)
{
    widget->setGeometry(Twips::toLogicalRect(left, top, width, height));
}

QPalette twoColorPalette(const QColor &background, const QColor &text)
{
    // Qt derives from the button colour the lighter and darker shades that styles draw frames and
    // bevels with, and a greyed text for disabled controls.
    QPalette palette(background, background);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(group, role, text);
        palette.setColor(group, QPalette::Base, background);
        // Styles draw the edges of indicators in a shade darker than the window colour, which on
        // a window of the background colour would hardly show: the window colour is taken a
        // shade darker, and the controls fill their boxes with the base colour instead.
        palette.setColor(group, QPalette::Window, background.darker(140));
    }
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto colorGroup = QPalette::ColorGroup(group);
            const auto colorRole = QPalette::ColorRole(role);
            palette.setBrush(colorGroup, colorRole, palette.brush(colorGroup, colorRole));
        }
    }
    return palette;
}

namespace {

void keepMouseToItself(QWidget *widget)
{
    widget->setAttribute(Qt::WA_NoMousePropagation);
}

// A control's box is opaque: filled with its background, the palette's base colour, before
// anything is drawn on it.
void paintOpaque(QWidget *widget)
{
    widget->setBackgroundRole(QPalette::Base);
    widget->setAutoFillBackground(true);
}

// Whether every line of the text fits the box, with a pixel to spare at the end of each line and
// half a pixel below the last: at a fractional pixel ratio the box may lose that much to rounding.
bool textFits(const QString &text, const QFont &font, const QRect &box)
{
    const QFontMetricsF metrics(font);
    const QStringList lines = text.split(QLatin1Char('\n'));
    qreal widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const qreal height = (lines.size() - 1) * metrics.lineSpacing() + metrics.height();
    return widest <= box.width() - 1 && height <= box.height() - 0.5;
}

} // namespace

Frame::Frame(const QString &caption, QWidget *parent) : QGroupBox(caption, parent)
{
    keepMouseToItself(this);
    paintOpaque(this);
}

bool Frame::captionFits() const
{
    const QRect box = captionBox();
    return box.right() < width() - captionIndent && textFits(title(), font(), box);
}

// The caption sits at the top left, breaking the frame's line, with a little room either side and
// a pixel below its descenders.
QRect Frame::captionBox() const
{
    const QFontMetricsF metrics(font());
    return QRectF(captionIndent, 0, metrics.horizontalAdvance(title()) + 2 * captionPadding + 1,
                  metrics.height() + 1)
        .toAlignedRect();
}

// The frame is drawn here, in the palette's colours, rather than by the style: some styles tint
// the inside of a frame, which is to show the background alone. A line in the palette's mid shade
// runs round the box, from half-way down the caption, and the caption is in the text colour.
void Frame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect caption = captionBox();
    painter.setPen(palette().color(QPalette::Mid));
    // The line runs from a whole pixel half-way down the caption, along the middle of the box's
    // outermost pixels, so that at any pixel ratio each edge covers as many device pixels as the
    // others, within the box.
    const int lineTop = caption.height() / 2;
    painter.drawRect(QRectF(rect().adjusted(0, lineTop, 0, 0)).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.fillRect(caption, palette().brush(backgroundRole()));
    style()->drawItemText(&painter, caption.adjusted(captionPadding, 0, -captionPadding, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(),
                          isEnabled(), title(), QPalette::WindowText);
}

OptionButton::OptionButton(const QString &caption, QWidget *parent)
    : QRadioButton(caption, parent), m_caption(caption)
{
    keepMouseToItself(this);
    paintOpaque(this);
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

void OptionButton::wrapCaption()
{
    setText(wrappedCaption());
}

// An option button's caption wraps at word breaks when it is wider than the button, as
// "Rounded Rectangle" does in its narrow box.
QString OptionButton::wrappedCaption() const
{
    const int room = captionBox().width() - 1;
    const QFontMetricsF metrics(font());
    QStringList lines;
    for (const QString &word : m_caption.split(QLatin1Char(' '))) {
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.last() + u' ' + word) <= room)
            lines.last() += u' ' + word;
        else
            lines.append(word);
    }
    return lines.join(QLatin1Char('\n'));
}

// Measured on the caption as it is wrapped for the button's present size and font, which may
// not be shown yet.
bool OptionButton::captionFits() const
{
    return textFits(wrappedCaption(), font(), captionBox());
}

// Where the style puts the caption, beside the indicator.
QRect OptionButton::captionBox() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this);
}

CheckBox::CheckBox(const QString &caption, QWidget *parent) : QCheckBox(caption, parent)
{
    keepMouseToItself(this);
    paintOpaque(this);
}

QRect CheckBox::captionBox() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
}

bool CheckBox::captionFits() const
{
    return textFits(text(), font(), captionBox());
}

// Under a dark desktop scheme, Fusion of Qt 6.11 (not yet of 6.8) draws the box's edge a shade
// lighter than the window colour, which on the white box all but vanishes. The edge is drawn again
// in the shade darker than the window colour, as the style draws it on a light desktop.
void CheckBox::paintEvent(QPaintEvent *event)
{
    QCheckBox::paintEvent(event);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect box = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Window).darker(140));
    painter.drawRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5));
}

HScrollBar::HScrollBar(QWidget *parent) : QScrollBar(Qt::Horizontal, parent)
{
    keepMouseToItself(this);
    setTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    // The classic scroll bar has no context menu of its own.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void HScrollBar::setRangeAndSteps(int minimum, int maximum, int smallChange, int largeChange)
{
    setRange(minimum, maximum);
    setSingleStep(smallChange);
    setPageStep(largeChange);
}

// The arrow keys take a small step, as the arrow buttons do. QScrollBar steps too, but on with Up
// and back with Down; as on the classic scroll bar, Up steps back like Left and Down on like Right.
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

MenuBar::MenuBar(QWidget *window) : QMenuBar(window)
{
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), window);
    connect(f10, &QShortcut::activated, this, &MenuBar::enterByKeyboard);
}

void MenuBar::enterByKeyboard()
{
    if (actions().isEmpty() || hasFocus())
        return;
    m_focusBefore = QApplication::focusWidget();
    setFocus(Qt::MenuBarFocusReason);
    setActiveAction(actions().constFirst());
}

void MenuBar::keyPressEvent(QKeyEvent *event)
{
    if (m_focusBefore && event->matches(QKeySequence::Cancel)) {
        setActiveAction(nullptr);
        m_focusBefore->setFocus(Qt::MenuBarFocusReason);
        return;
    }
    QMenuBar::keyPressEvent(event);
}

void MenuBar::focusOutEvent(QFocusEvent *event)
{
    m_focusBefore = nullptr;
    QMenuBar::focusOutEvent(event);
}
