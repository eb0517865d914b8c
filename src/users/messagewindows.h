#pragma once

#include "ui/skinnedwindow.h"

class QLabel;
class SkinButton;

// A small window shown modally by its caller until it closes.
class ModalMessageWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    ModalMessageWindow(AppContext &context, const QString &objectName, const QString &caption,
                       const QString &messageName);
    ~ModalMessageWindow() override;

    void setMessage(const QString &text);
    QString message() const;
    // Shows the window modally and returns when it has closed.
    void exec();

protected:
    void layOut(const QList<SkinButton *> &buttons);

private:
    QLabel *m_message;
};

// The confirmation window: a yes or no question.
class ConfirmWindow : public ModalMessageWindow
{
    Q_OBJECT
public:
    explicit ConfirmWindow(AppContext &context);

    // Asks the question and returns the answer; a window closed any other way is a refusal.
    static bool ask(AppContext &context, const QString &question);

private:
    void answer(bool confirmed);

    bool m_confirmed = false;
};

// The information window: a notice closed by its button.
class InfoWindow : public ModalMessageWindow
{
    Q_OBJECT
public:
    explicit InfoWindow(AppContext &context);

    static void tell(AppContext &context, const QString &notice);
};
