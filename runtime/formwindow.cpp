#include "formwindow.h"

#include "formevents.h"
#include "formsurface.h"
#include "twips.h"
#include "windowedcontrols.h"

#include <QCloseEvent>
#include <QLayout>

FormWindow::FormWindow(FormEvents *form) : m_surface(new FormSurface(form, this))
{
    setMenuBar(new MenuBar(this));
    setCentralWidget(m_surface);
    // The window keeps the size of its client area; it is not resizable.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

WindowlessLayer &FormWindow::layer() const
{
    return m_surface->layer();
}

FormAccessibility &FormWindow::accessibility() const
{
    return m_surface->accessibility();
}

void FormWindow::detachFromForm()
{
    m_surface->detachFromForm();
}

void FormWindow::setBackColor(ColorValue color)
{
    m_surface->setBackColor(toQColor(color));
}

void FormWindow::setClientSizeInTwips(float width, float height)
{
    m_surface->setFixedSize(Twips::toLogicalRect(0, 0, width, height).size());
}

void FormWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (FormEvents *form = m_surface->form())
        FormEvents::deliver([form] { form->closedByUser(); });
}
