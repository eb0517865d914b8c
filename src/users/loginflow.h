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
        BaseUnavailable
    };

    static const QString PromptText;
    static const QString NamesMissingText;
    static const QString PasswordMissingText;
    static const QString NotFoundText;
    static const QString WrongPasswordText;
    static const QString BaseUnavailableText;

    LoginFlow(SessionState &session, QString baseFile, QString newUserFile);

    // Fields as typed; they are trimmed here.
    Result pressOk(const QString &firstName, const QString &surname, const QString &password);
    void reset();

    bool registrationPending() const { return m_registrationPending; }
    // The message line after the last press (the prompt when nothing is to be said).
    QString message() const { return m_message; }

private:
    SessionState &m_session;
    QString m_baseFile;
    QString m_newUserFile;
    bool m_registrationPending = false;
    QString m_pendingFirst;
    QString m_pendingSecond;
    UserBase m_base;
    qsizetype m_freeSlot = -1;
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

    static RememberedLogin read(const QString &path);
    static bool write(const QString &path, bool ticked, const QString &firstName,
                      const QString &surname, const QString &password);
};
