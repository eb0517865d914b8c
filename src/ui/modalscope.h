#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

// While it lives, every other window of the program is disabled. Window modality only keeps the
// mouse and keys away; an accessibility client presses a button of any window directly, and a
// disabled button refuses that. Windows are enabled again as they were when it ends, those that
// went meanwhile aside.
class ModalScope
{
public:
    // `modal` (may be null) and its child windows stay enabled.
    explicit ModalScope(const QWidget *modal);
    ~ModalScope();
    ModalScope(const ModalScope &) = delete;
    ModalScope &operator=(const ModalScope &) = delete;

private:
    QList<QPointer<QWidget>> m_disabled;
};
