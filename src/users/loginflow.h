#pragma once

#include "users/userbase.h"

#include <QString>

struct SessionState;

// What the login window does with a press of OK: lookup, registration on a second press
// with the same names, the messages of its message line.
class LoginFlow
{
public:
    enum class Result {
        Identified,
        Registered,
        WrongPassword,
        NotFound,
        NamesMissing,
        PasswordMissing,
        BaseUnavailable, // missing or unreadable
        BaseDamaged,
        Refused // names the base cannot hold or that another user has; the message says why
    };

    static const QString PromptText;
    static const QString NamesMissingText;
    static const QString PasswordMissingText;
    static const QString NotFoundText;
    static const QString WrongPasswordText;
    static const QString AdministratorNameText;

    LoginFlow(SessionState &session, QString baseFile, QString newUserFile);

    // Fields as typed; they are trimmed here.
    Result pressOk(const QString &firstName, const QString &surname, const QString &password);
    void reset();
    // The message line when the window opens: the prompt, or what is wrong with the base.
    QString openingMessage() const;

    bool registrationPending() const { return m_registrationPending; }
    // The message line after the last press (the prompt when nothing is to be said).
    QString message() const { return m_message; }

private:
    Result identify(const QString &first, const QString &second, const QString &password);
    Result registerNew(const QString &first, const QString &second, const QString &password);
    Result baseProblem(UserBase::Access access);
    // This computer's base is at hand: the damage message tells whether its backup is there.
    QString baseMessage(UserBase::Access access) const;
    Result refuse(const QString &message);

    SessionState &m_session;
    QString m_baseFile;
    QString m_newUserFile;
    bool m_registrationPending = false;
    QString m_pendingFirst;
    QString m_pendingSecond;
    QString m_message = PromptText;
};

// The remembered login file: the box state and the three fields, untrimmed.
struct RememberedLogin
{
    enum class Box { Missing, Unticked, Ticked, Unknown };
    Box box = Box::Missing;
    QString firstName;
    QString surname;
    QString password;

    // The administrator's login is never remembered: a file holding it reads as unticked,
    // without the password.
    static RememberedLogin read(const QString &path);
    static bool mayRemember(const QString &firstName, const QString &surname);
    static const QString AdministratorRefusedText;
    // The note when the file could not be written, naming it.
    static QString notWrittenText(const QString &path);
    // Why this login is not remembered (the administrator's, or characters the user base could
    // not hold either); empty when it may be.
    static QString refusal(const QString &firstName, const QString &surname,
                           const QString &password);
    // A ticked login with such characters is refused; an unticked box is written without them.
    static bool write(const QString &path, bool ticked, const QString &firstName,
                      const QString &surname, const QString &password);
};
