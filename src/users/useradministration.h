#pragma once

#include "users/userbase.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

// The administration of one user base file: the listed records, the selection, the edit view
// with its checks, and the rename, delete and clear operations, always through UserBase.
//
// Reuse: give it the path of any base, or with a Storage of its own any place a base is kept
// (the remote administration gives a pupil's program folder); setBaseFile() switches to another
// base and reloads. Windows normally use it through UserAdminPanel, which shows the lists, the
// results, the edit fields and the buttons, and asks ConfirmWindow/InfoWindow for confirmations.
//
// Every change reloads the file first and applies the change by names, so a user registered
// on that computer since the lists were filled is not lost by the rewrite.
class UserAdministration
{
public:
    enum class View { List, Edit };
    enum class EditStart { Ignored, Full, PasswordOnly };
    enum class EditResult {
        Saved,
        FieldsEmpty,
        AdministratorName,
        NameTaken,
        Unstorable, // characters the base cannot hold; problem() names them
        NotWritten  // the base was not changed; problem() says why
    };
    enum class DeleteCheck { Ignored, Administrator, Confirm };
    enum class Grade { None, Unsatisfactory, Satisfactory, Good, Excellent };

    static constexpr int ShownResults = 6;

    static const QString PromptText;
    static const QString FieldsEmptyText;
    static const QString AdministratorNameText;
    static const QString NameTakenText;
    static const QString NotWrittenText;
    static const QString SelectText;
    static const QString DeleteAdministratorText;
    static const QString DeleteConfirmText;
    static const QString ClearConfirmText;

    // How the base is read and changed: the local base file directly; a pupil computer's base
    // through the checks for files written by another computer.
    struct Storage
    {
        std::function<UserBase::Access(const QString &, UserBase &)> read =
            [](const QString &file, UserBase &base) { return UserBase::read(file, base); };
        std::function<UserBase::Access(const QString &, const std::function<bool(UserBase &)> &)>
            update = [](const QString &file, const std::function<bool(UserBase &)> &change) {
                return UserBase::update(file, change);
            };
        // The base file itself, as messages name it.
        std::function<QString(const QString &)> fileOf = [](const QString &file) { return file; };
    };

    explicit UserAdministration(QString baseFile = QString());
    UserAdministration(QString baseFile, Storage storage);

    QString baseFile() const { return m_baseFile; }
    // The file messages name: the base file, also when a program folder was given.
    QString shownFile() const { return m_storage.fileOf(m_baseFile); }
    void setBaseFile(const QString &baseFile);
    // Reads the base again and selects the first listed record; false when it cannot be read.
    bool reload();
    bool isReadable() const { return m_access == UserBase::Access::Done; }
    bool isDamaged() const { return m_access == UserBase::Access::Damaged; }
    // Why the last change was refused or not written, naming the file or the characters.
    QString problem() const { return m_problem; }
    bool lastChangeWritten() const { return m_lastChange == UserBase::Access::Done; }
    // Once `abandoned` is set, no change is written any more: work that outlived the patience
    // of its window, or the window itself, is dropped instead of landing unseen.
    void abandonWith(std::shared_ptr<const std::atomic<bool>> abandoned)
    {
        m_abandoned = std::move(abandoned);
    }

    // Records 1..K-1 of the K read: the trailing empty record is not listed.
    qsizetype listedCount() const;
    const UserRecord &listed(qsizetype index) const { return m_base.records.at(index); }

    qsizetype selected() const { return m_selected; }
    void select(qsizetype index);
    bool hasSelection() const { return m_selected >= 0 && m_selected < listedCount(); }
    // The selected record; an empty one when nothing is selected.
    UserRecord selectedRecord() const;

    View view() const { return m_view; }
    EditStart beginEdit();
    // Fields as typed: line breaks become blanks, surrounding blanks are trimmed.
    EditResult acceptEdit(const QString &surname, const QString &firstName,
                          const QString &password);
    void cancelEdit();
    static QString messageFor(EditResult result);

    DeleteCheck checkDelete() const;
    // Removes every record with the selected names; false when the base could not be written.
    bool deleteSelected();
    // Keeps the administrator with password, bookmark and results, plus one empty record.
    bool clearAllButAdministrator();

    static Grade gradeOf(const UserRecord &record, int slot);
    // 2 to 5; any other number is no grade.
    static Grade gradeOfNumber(int number);
    static QString gradeWord(Grade grade);

private:
    bool change(const std::function<bool(UserBase &)> &apply);

    QString m_baseFile;
    Storage m_storage;
    UserBase m_base;
    UserBase::Access m_access = UserBase::Access::Missing;
    UserBase::Access m_lastChange = UserBase::Access::Declined;
    std::shared_ptr<const std::atomic<bool>> m_abandoned;
    QString m_problem;
    qsizetype m_selected = -1;
    View m_view = View::List;
};
