#pragma once

#include "ui/skinnedwindow.h"
#include "users/loginflow.h"

#include <QLineEdit>

class QCheckBox;
class QLabel;

// The login window: identifies the user, registers a new one on the second press of OK,
// remembers the login on request.
class LoginWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    static const QString TickText;
    static const QString UntickText;

    explicit LoginWindow(AppContext &context);
    ~LoginWindow() override;

    // Shows the window modally until a user is identified (true) or the user gives up (false).
    bool exec();
    void clearFields();
    // Opened from the main menu for another user: the menu steps aside while this window is
    // active and comes back when it is done.
    void changeUser();

Q_SIGNALS:
    // Another user was identified while the program runs.
    void userChanged();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void applyRememberedLogin();
    // Writes the remembered login; false when it was refused or not written (the label says so).
    bool saveRememberedLogin();
    void saveIfRemembered();
    void showRememberNote(const QString &note);
    void maskPassword();
    void pressOk();
    void cancel();
    void finish();
    QWidget *mainWindow() const;

    LoginFlow m_flow;
    QLineEdit *m_first = nullptr;
    QLineEdit *m_second = nullptr;
    QLineEdit *m_password = nullptr;
    QLabel *m_message = nullptr;
    QCheckBox *m_remember = nullptr;
    QLabel *m_rememberLabel = nullptr;
    QLineEdit::EchoMode m_echoBeforeMessage = QLineEdit::Normal;
    // The administrator's password is hidden while his name is typed.
    bool m_maskFollowsName = true;
    bool m_identified = false;
    bool m_changingUser = false;
    bool m_saved = false;
};
