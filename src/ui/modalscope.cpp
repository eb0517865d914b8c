#include "ui/modalscope.h"

#include <QApplication>

namespace {
bool belongsTo(const QWidget *window, const QWidget *modal)
{
    for (const QWidget *w = window; w && modal; w = w->parentWidget()) {
        if (w == modal)
            return true;
    }
    return false;
}
} // namespace

ModalScope::ModalScope(const QWidget *modal)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if ((type != Qt::Window && type != Qt::Dialog) || !window->isEnabled() ||
            belongsTo(window, modal))
            continue;
        window->setEnabled(false);
        m_disabled << window;
    }
}

ModalScope::~ModalScope()
{
    for (const QPointer<QWidget> &window : std::as_const(m_disabled)) {
        if (window)
            window->setEnabled(true);
    }
}
