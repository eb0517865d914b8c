#include "users/loginflow.h"

#include "core/sessionstate.h"
#include "core/textfile.h"

#include <QDir>
#include <QFileInfo>

const QString LoginFlow::PromptText = QStringLiteral("Введите свое имя , фамилию и пароль.");
const QString LoginFlow::NamesMissingText = QStringLiteral("Необходимо ввести имя и фамилию!");
const QString LoginFlow::PasswordMissingText =
    QStringLiteral("Введите пароль (не применяйте для пароля пробел)!");
const QString LoginFlow::NotFoundText = QStringLiteral(
    "Вас   нет    в    списке    пользователей.   Если  вы  не пользовались программой раньше "
    "то вновь нажмите кнопку «Войти», если вы уже пользовались програмой то проверьте "
    "правильность введенных данных.");
const QString LoginFlow::WrongPasswordText = QStringLiteral("Пароль не верен");
const QString LoginFlow::AdministratorNameText =
    QStringLiteral("Это имя используется администратором, выберите другое.");

namespace {
QString quotedNames(const UserBase &base, const QList<qsizetype> &indexes)
{
    QStringList names;
    for (qsizetype index : indexes) {
        const UserRecord &record = base.records.at(index);
        names << u'«' + record.firstName + u' ' + record.surname + u'»';
    }
    return names.join(QStringLiteral(", "));
}
} // namespace

LoginFlow::LoginFlow(SessionState &session, QString baseFile, QString newUserFile)
    : m_session(session), m_baseFile(std::move(baseFile)), m_newUserFile(std::move(newUserFile))
{
}

void LoginFlow::reset()
{
    m_registrationPending = false;
    m_message = PromptText;
}

QString LoginFlow::openingMessage() const
{
    UserBase base;
    const UserBase::Access access = UserBase::read(m_baseFile, base);
    return access == UserBase::Access::Done ? PromptText : baseMessage(access);
}

QString LoginFlow::baseMessage(UserBase::Access access) const
{
    if (access == UserBase::Access::Damaged && !QFileInfo::exists(UserBase::backupFile(m_baseFile)))
        return UserBase::damagedWithoutBackupText(m_baseFile);
    return UserBase::messageFor(access, m_baseFile);
}

LoginFlow::Result LoginFlow::pressOk(const QString &firstName, const QString &surname,
                                     const QString &password)
{
    const QString first = firstName.trimmed();
    const QString second = surname.trimmed();
    const QString pass = password.trimmed();

    if (m_registrationPending && first == m_pendingFirst && second == m_pendingSecond)
        return registerNew(first, second, pass);
    m_registrationPending = false;
    if (first.isEmpty() || second.isEmpty()) {
        m_message = NamesMissingText;
        return Result::NamesMissing;
    }
    if (pass.isEmpty()) {
        m_message = PasswordMissingText;
        return Result::PasswordMissing;
    }
    if (const QString unstorable = unstorableText({first, second, pass}); !unstorable.isEmpty())
        return refuse(unstorable);
    return identify(first, second, pass);
}

LoginFlow::Result LoginFlow::identify(const QString &first, const QString &second,
                                      const QString &password)
{
    UserBase base;
    if (const UserBase::Access access = UserBase::read(m_baseFile, base);
        access != UserBase::Access::Done)
        return baseProblem(access);
    m_message = PromptText;
    qsizetype index = base.find(first, second, password).index;
    // Names typed in another letter case or with other blanks find the one user they mean.
    const QList<qsizetype> similar = base.similarUsers(first, second);
    if (index < 0 && similar.size() == 1)
        index = similar.first();
    if (index >= 0) {
        const UserRecord &record = base.records.at(index);
        if (record.password != password)
            return Result::WrongPassword;
        fillSessionUser(m_session, record);
        return Result::Identified;
    }
    if (similar.size() > 1) {
        return refuse(QStringLiteral("В списке есть похожие пользователи: %1. Наберите имя и "
                                     "фамилию точно так, как они записаны.")
                          .arg(quotedNames(base, similar)));
    }
    m_pendingFirst = first;
    m_pendingSecond = second;
    m_registrationPending = true;
    m_message = NotFoundText;
    return Result::NotFound;
}

LoginFlow::Result LoginFlow::registerNew(const QString &first, const QString &second,
                                         const QString &password)
{
    if (password.isEmpty()) {
        m_message = PasswordMissingText;
        return Result::PasswordMissing; // the registration waits for a password
    }
    m_registrationPending = false;
    if (const QString unstorable = unstorableText({first, second, password}); !unstorable.isEmpty())
        return refuse(unstorable);
    if (isAdministratorName(first, second))
        return refuse(AdministratorNameText);
    Result result = Result::Registered;
    UserRecord record;
    QString taken;
    // The base may have changed since the lookup: it is looked up again under its lock.
    const UserBase::Access access = UserBase::update(m_baseFile, [&](UserBase &base) {
        const UserBase::Lookup lookup = base.find(first, second, password);
        if (lookup.outcome != UserBase::Outcome::NotFound) {
            result = lookup.outcome == UserBase::Outcome::Found ? Result::Identified
                                                                : Result::WrongPassword;
            record = base.records.at(lookup.index);
            return false;
        }
        if (const QList<qsizetype> similar = base.similarUsers(first, second); !similar.isEmpty()) {
            taken = quotedNames(base, similar);
            return false;
        }
        record = base.records.at(base.registerUser(first, second, password, lookup.freeSlot));
        return true;
    });
    if (access != UserBase::Access::Done && access != UserBase::Access::Declined) {
        const Result problem = baseProblem(access);
        // Another program holds the list for a moment: the next press registers.
        m_registrationPending = access == UserBase::Access::Locked;
        return problem;
    }
    if (!taken.isEmpty()) {
        return refuse(QStringLiteral("Такой пользователь уже есть в списке: %1. Войдите под этим "
                                     "именем.")
                          .arg(taken));
    }
    m_message = PromptText;
    if (result != Result::WrongPassword)
        fillSessionUser(m_session, record);
    if (result == Result::Registered)
        textfile::writeLines(m_newUserFile, UserBase::recordLines(record));
    return result;
}

LoginFlow::Result LoginFlow::baseProblem(UserBase::Access access)
{
    m_registrationPending = false;
    m_message = baseMessage(access);
    switch (access) {
    case UserBase::Access::Missing:
    case UserBase::Access::Unreadable:
        return Result::BaseUnavailable;
    case UserBase::Access::Damaged:
        return Result::BaseDamaged;
    default:
        return Result::Refused;
    }
}

LoginFlow::Result LoginFlow::refuse(const QString &message)
{
    m_registrationPending = false;
    m_message = message;
    return Result::Refused;
}

const QString RememberedLogin::AdministratorRefusedText =
    QStringLiteral("Пароль администратора не запоминается: вводите его каждый раз.");

QString RememberedLogin::notWrittenText(const QString &path)
{
    const QFileInfo file(path);
    return QStringLiteral("Не удалось записать файл %1: ФИО и пароль не запомнены.")
        .arg(file.dir().dirName() + u'/' + file.fileName());
}

bool RememberedLogin::mayRemember(const QString &firstName, const QString &surname)
{
    return !isAdministratorName(firstName, surname);
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
    if (!mayRemember(login.firstName, login.surname)) {
        login.box = Box::Unticked;
        login.password.clear();
    }
    return login;
}

QString RememberedLogin::refusal(const QString &firstName, const QString &surname,
                                 const QString &password)
{
    if (!mayRemember(firstName, surname))
        return AdministratorRefusedText;
    return unstorableText({firstName, surname, password});
}

bool RememberedLogin::write(const QString &path, bool ticked, const QString &firstName,
                            const QString &surname, const QString &password)
{
    // Written as "?", such a login would replace the last one with one that finds nobody.
    const bool storable = unstorableText({firstName, surname, password}).isEmpty();
    if (ticked && !storable)
        return false;
    const auto kept = [storable](const QString &field) {
        return storable ? textfile::oneLine(field) : QString();
    };
    return textfile::writeLines(path, {textfile::printNumber(ticked ? 1 : 0), kept(firstName),
                                       kept(surname), kept(password)});
}
