#include "users/useradministration.h"

#include "core/administrator.h"
#include "core/textfile.h"

#include <utility>

const QString UserAdministration::PromptText =
    QStringLiteral("Ведите новые значения и нажмите кнопку \"Принять\"");
const QString UserAdministration::FieldsEmptyText =
    QStringLiteral("Все поля должны быть заполнены, не применяйте пробелы.");
const QString UserAdministration::AdministratorNameText =
    QStringLiteral("Это имя используется администратором, выберите другое.");
const QString UserAdministration::NameTakenText =
    QStringLiteral("Пользователь с такой фамилией и именем уже существует!");
const QString UserAdministration::NotWrittenText =
    QStringLiteral("Не удалось записать базу пользователей, изменения не приняты.");
const QString UserAdministration::SelectText = QStringLiteral("Выбирайте пользователя.");
const QString UserAdministration::DeleteAdministratorText =
    QStringLiteral("Нельзя удалить администратора, можно только сменить для него пароль!");
const QString UserAdministration::DeleteConfirmText =
    QStringLiteral("Эта команда удалит всю информацию о пользователе.");
const QString UserAdministration::ClearConfirmText =
    QStringLiteral("Эта команда удалит всех пользователей , кроме администратора.");

namespace {
QString fieldValue(const QString &typed)
{
    return textfile::oneLine(typed).trimmed();
}
} // namespace

UserAdministration::UserAdministration(QString baseFile)
    : UserAdministration(std::move(baseFile), Storage())
{
}

UserAdministration::UserAdministration(QString baseFile, Storage storage)
    : m_baseFile(std::move(baseFile)), m_storage(std::move(storage))
{
}

void UserAdministration::setBaseFile(const QString &baseFile)
{
    m_baseFile = baseFile;
    m_view = View::List;
    reload();
}

bool UserAdministration::reload()
{
    m_base = UserBase(); // read() fills it only from a clean base
    m_access =
        m_baseFile.isEmpty() ? UserBase::Access::Missing : m_storage.read(m_baseFile, m_base);
    m_selected = listedCount() > 0 ? 0 : -1;
    return isReadable();
}

qsizetype UserAdministration::listedCount() const
{
    return qMax<qsizetype>(0, m_base.records.size() - 1);
}

void UserAdministration::select(qsizetype index)
{
    if (index >= 0 && index < listedCount())
        m_selected = index;
}

UserRecord UserAdministration::selectedRecord() const
{
    return hasSelection() ? m_base.records.at(m_selected) : UserRecord();
}

UserAdministration::EditStart UserAdministration::beginEdit()
{
    const UserRecord record = selectedRecord();
    if (m_view == View::Edit || (record.firstName.isEmpty() && record.surname.isEmpty()))
        return EditStart::Ignored;
    m_view = View::Edit;
    return record.isAdministrator() ? EditStart::PasswordOnly : EditStart::Full;
}

UserAdministration::EditResult UserAdministration::acceptEdit(const QString &surname,
                                                              const QString &firstName,
                                                              const QString &password)
{
    const UserRecord old = selectedRecord();
    // The administrator keeps his names whatever the name fields hold.
    const QString second = old.isAdministrator() ? administrator::Name : fieldValue(surname);
    const QString first = old.isAdministrator() ? administrator::Name : fieldValue(firstName);
    const QString pass = fieldValue(password);
    if (second.isEmpty() || first.isEmpty() || pass.isEmpty())
        return EditResult::FieldsEmpty;
    if (isAdministratorName(first, second) && !old.isAdministrator())
        return EditResult::AdministratorName;
    m_problem = unstorableText({surname, firstName, password});
    if (!m_problem.isEmpty())
        return EditResult::Unstorable;
    const bool renamed = !old.hasNames(first, second);
    bool taken = false;
    const bool written = change([&](UserBase &base) {
        taken = renamed && base.indexOf(first, second) >= 0;
        if (!taken)
            base.renameUser(old.firstName, old.surname, first, second, pass);
        return !taken;
    });
    if (taken)
        return EditResult::NameTaken;
    if (!written)
        return EditResult::NotWritten;
    m_view = View::List;
    return EditResult::Saved;
}

void UserAdministration::cancelEdit()
{
    m_view = View::List;
    reload();
}

QString UserAdministration::messageFor(EditResult result)
{
    switch (result) {
    case EditResult::Saved:
        return PromptText;
    case EditResult::FieldsEmpty:
        return FieldsEmptyText;
    case EditResult::AdministratorName:
        return AdministratorNameText;
    case EditResult::NameTaken:
        return NameTakenText;
    case EditResult::Unstorable:
    case EditResult::NotWritten:
        return NotWrittenText;
    }
    return PromptText;
}

UserAdministration::DeleteCheck UserAdministration::checkDelete() const
{
    const UserRecord record = selectedRecord();
    if (record.isAdministrator())
        return DeleteCheck::Administrator;
    if (record.firstName.isEmpty() && record.surname.isEmpty())
        return DeleteCheck::Ignored;
    return DeleteCheck::Confirm;
}

bool UserAdministration::deleteSelected()
{
    if (checkDelete() != DeleteCheck::Confirm)
        return false;
    const UserRecord old = selectedRecord();
    return change([&](UserBase &base) {
        base.removeUser(old.firstName, old.surname);
        return true;
    });
}

bool UserAdministration::clearAllButAdministrator()
{
    return change([](UserBase &base) {
        base.clearAllButAdministrator();
        return true;
    });
}

bool UserAdministration::change(const std::function<bool(UserBase &)> &apply)
{
    const UserBase::Access access = m_storage.update(m_baseFile, [this, &apply](UserBase &base) {
        return !(m_abandoned && *m_abandoned) && apply(base);
    });
    m_lastChange = access;
    m_problem = UserBase::messageFor(access, shownFile());
    if (access != UserBase::Access::Done)
        return false; // the lists keep showing what the file holds
    reload();
    return true;
}

UserAdministration::Grade UserAdministration::gradeOf(const UserRecord &record, int slot)
{
    return gradeOfNumber(record.resultNumber(slot));
}

UserAdministration::Grade UserAdministration::gradeOfNumber(int number)
{
    switch (number) {
    case 2:
        return Grade::Unsatisfactory;
    case 3:
        return Grade::Satisfactory;
    case 4:
        return Grade::Good;
    case 5:
        return Grade::Excellent;
    default:
        return Grade::None;
    }
}

QString UserAdministration::gradeWord(Grade grade)
{
    switch (grade) {
    case Grade::None:
        return QString();
    case Grade::Unsatisfactory:
        return QStringLiteral("неуд.");
    case Grade::Satisfactory:
        return QStringLiteral("удовл.");
    case Grade::Good:
        return QStringLiteral("хорошо");
    case Grade::Excellent:
        return QStringLiteral("отлично");
    }
    return QString();
}
