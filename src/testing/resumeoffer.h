#pragma once

#include "users/messagewindows.h"

// The offer to go on with a test the program was killed in. Only its two buttons close it: a
// stray Escape or window close must not throw the pupil's answers away.
class ResumeOfferWindow : public ModalMessageWindow
{
    Q_OBJECT
public:
    explicit ResumeOfferWindow(AppContext &context);

    // Shows the question; true to go on, false to start the test again.
    static bool ask(AppContext &context, const QString &question);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void answer(bool goOn);

    bool m_goOn = true;
    bool m_answered = false;
};
