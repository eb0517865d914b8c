#include "users/loginflow.h"

#include "app/sessionstate.h"
#include "app/textfile.h"

const QString LoginFlow::PromptText = QStringLiteral("Введите свое имя , фамилию и пароль.");
const QString LoginFlow::NamesMissingText = QStringLiteral("Необходимо ввести имя и фамилию!");
const QString LoginFlow::PasswordMissingText =
    QStringLiteral("Введите пароль (не применяйте для пароля пробел)!");
const QString LoginFlow::NotFoundText = QStringLiteral(
    "Вас   нет    в    списке    пользователей.   Если  вы  не пользовались программой раньше "
    "то вновь нажмите кнопку 'ок', если вы уже пользовались програмой то проверьте "
    "правильность введенных данных.");
const QString LoginFlow::WrongPasswordText = QStringLiteral("Пароль не верен");
const QString LoginFlow::BaseUnavailableText = QStringLiteral(
    "Не удается прочитать список пользователей (файл data/jpg/2_17.jpg). Вход невозможен: "
    "обратитесь к администратору.");

LoginFlow::LoginFlow(SessionState &session, QString baseFile, QString newUserFile)
    : m_session(session), m_baseFile(std::move(baseFile)), m_newUserFile(std::move(newUserFile))
{
}

void LoginFlow::reset()
{
    m_registrationPending = false;
    m_message = PromptText;
}

LoginFlow::Result LoginFlow::pressOk(const QString &firstName, const QString &surname,
                                     const QString &password)
{
    const QString first = firstName.trimmed();
    const QString second = surname.trimmed();
    const QString pass = password.trimmed();

    if (m_registrationPending && first == m_pendingFirst && second == m_pendingSecond) {
        std::optional<UserBase> base = UserBase::load(m_baseFile);
        if (!base) {
            m_message = BaseUnavailableText;
            return Result::BaseUnavailable;
        }
        // The base may have changed since the lookup; look again so that no record is lost.
        const UserBase::Lookup lookup = base->find(first, second, pass);
        if (lookup.outcome != UserBase::Outcome::NotFound) {
            m_registrationPending = false;
            m_message = PromptText;
            if (lookup.outcome == UserBase::Outcome::WrongPassword)
                return Result::WrongPassword;
            fillSessionUser(m_session, base->records.at(lookup.index));
            return Result::Identified;
        }
        m_base = *base;
        m_freeSlot = lookup.freeSlot;
        m_registrationPending = false;
        m_message = PromptText;
        if (!RegisterUser(m_session, m_base, m_baseFile, m_newUserFile, first, second, pass,
                          m_freeSlot)) {
            m_message = BaseUnavailableText;
            return Result::BaseUnavailable;
        }
        return Result::Registered;
    }
    if (first.isEmpty() || second.isEmpty()) {
        m_message = NamesMissingText;
        return Result::NamesMissing;
    }
    if (pass.isEmpty()) {
        m_message = PasswordMissingText;
        return Result::PasswordMissing;
    }
    std::optional<UserBase> base = UserBase::load(m_baseFile);
    if (!base) {
        m_message = BaseUnavailableText;
        return Result::BaseUnavailable;
    }
    m_base = *base;
    const UserBase::Lookup lookup = m_base.find(first, second, pass);
    switch (lookup.outcome) {
    case UserBase::Outcome::Found:
        fillSessionUser(m_session, m_base.records.at(lookup.index));
        return Result::Identified;
    case UserBase::Outcome::WrongPassword:
        return Result::WrongPassword;
    case UserBase::Outcome::NotFound:
        break;
    }
    m_freeSlot = lookup.freeSlot;
    m_pendingFirst = first;
    m_pendingSecond = second;
    m_registrationPending = true;
    m_message = NotFoundText;
    return Result::NotFound;
}

RememberedLogin RememberedLogin::read(const QString &path)
{
    RememberedLogin login;
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines)
        return login;
    const QString state = lines->value(0);
    if (state.isEmpty())
        login.box = Box::Unticked;
    else if (textfile::leadingNumber(state.trimmed()) == 1)
        login.box = Box::Ticked;
    else
        login.box = Box::Unknown;
    login.firstName = lines->value(1);
    login.surname = lines->value(2);
    login.password = lines->value(3);
    return login;
}

bool RememberedLogin::write(const QString &path, bool ticked, const QString &firstName,
                            const QString &surname, const QString &password)
{
    return textfile::writeLines(path, {textfile::printNumber(ticked ? 1 : 0),
                                       textfile::oneLine(firstName), textfile::oneLine(surname),
                                       textfile::oneLine(password)});
}
