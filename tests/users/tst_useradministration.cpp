#include "testsupport.h"
#include "users/useradministration.h"

#include <QtTest>

namespace {
using Admin = UserAdministration;

const QString vedok = QStringLiteral("vedok");
} // namespace

// A base of its own: the administrator, three pupils and the trailing empty record.
class UserAdministrationTest : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;

    // The administration over the base, read.
    Admin loaded() const
    {
        Admin admin(m_path);
        admin.reload();
        return admin;
    }
    UserBase readBase() const { return UserBase::load(m_path).value_or(UserBase()); }
    qsizetype indexOf(const Admin &admin, const QString &first, const QString &second) const
    {
        for (qsizetype i = 0; i < admin.listedCount(); ++i) {
            if (admin.listed(i).hasNames(first, second))
                return i;
        }
        return -1;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_path = m_dir->filePath(QStringLiteral("2_17.jpg"));
        UserRecord admin = user(vedok, vedok, "secret", "2.4");
        admin.results[0] = textfile::printNumber(5);
        UserRecord ivan = user("Иван", "Петров", "1", "1.2");
        ivan.results[1] = textfile::printNumber(3);
        ivan.results[19] = textfile::printNumber(4);
        const UserRecord anna = user("Анна", "Сидорова", "2");
        QVERIFY(baseOf({admin, ivan, anna, user(vedok, "Лось", "3"), UserRecord()}).save(m_path));
    }

    void passwordOnlyChangeNeverChecksNames()
    {
        // Two records with the same names: a password change must not find "itself" taken.
        UserBase base = readBase();
        base.records.insert(3, user("Иван", "Петров", "x"));
        QVERIFY(base.save(m_path));
        Admin admin = loaded();
        admin.select(1);
        admin.beginEdit();
        QCOMPARE(admin.acceptEdit("Петров", "Иван", "  new  "), Admin::EditResult::Saved);
        QCOMPARE(admin.view(), Admin::View::List);
        const UserBase read = readBase();
        QCOMPARE(read.records.size(), 6);
        QCOMPARE(read.records.at(1).password, QStringLiteral("new"));
        QCOMPARE(read.records.at(3).password, QStringLiteral("new"));
        QCOMPARE(read.records.at(1).bookmark, QStringLiteral("1.2"));
        QCOMPARE(read.records.at(1).resultNumber(19), 4);
        // Deleting them leaves no twin behind.
        admin.select(indexOf(admin, "Иван", "Петров"));
        QVERIFY(admin.deleteSelected());
        QCOMPARE(indexOf(admin, "Иван", "Петров"), -1);
        QCOMPARE(readBase().records.size(), 4);

        // The administrator's names stay his: his own edit changes only the password.
        admin.select(0);
        QCOMPARE(admin.beginEdit(), Admin::EditStart::PasswordOnly);
        QCOMPARE(admin.acceptEdit("Другой", "Человек", "neu"), Admin::EditResult::Saved);
        const UserRecord stored = readBase().records.at(0);
        QVERIFY(stored.isAdministrator());
        QCOMPARE(stored.password, QStringLiteral("neu"));
        QCOMPARE(stored.bookmark, QStringLiteral("2.4"));
    }

    void typedValuesAreCleaned()
    {
        Admin admin = loaded();
        admin.select(2);
        QCOMPARE(admin.beginEdit(), Admin::EditStart::Full);
        QCOMPARE(admin.acceptEdit("   ", "Анна", "2"), Admin::EditResult::FieldsEmpty);
        QCOMPARE(Admin::messageFor(Admin::EditResult::FieldsEmpty),
                 QStringLiteral("Все поля должны быть заполнены, не применяйте пробелы."));
        QCOMPARE(admin.acceptEdit("Сидорова", "", "2"), Admin::EditResult::FieldsEmpty);
        // Another user's names are taken; the edit stays open.
        QCOMPARE(admin.acceptEdit(" Петров ", "Иван", "7"), Admin::EditResult::NameTaken);
        QCOMPARE(Admin::messageFor(Admin::EditResult::NameTaken),
                 QStringLiteral("Пользователь с такой фамилией и именем уже существует!"));
        QCOMPARE(admin.view(), Admin::View::Edit);
        QCOMPARE(admin.acceptEdit("vedok", " vedok", "1"), Admin::EditResult::AdministratorName);
        QCOMPARE(Admin::messageFor(Admin::EditResult::AdministratorName),
                 QStringLiteral("Это имя используется администратором, выберите другое."));
        // What the base cannot hold is refused by name, never stored as "?" or joined.
        const QByteArray before = readBytes(m_path);
        QCOMPARE(admin.acceptEdit("  Иванова\r\nАнна ", " Анна", "2\t3"),
                 Admin::EditResult::Unstorable);
        QCOMPARE(admin.problem(), QStringLiteral("Эти знаки нельзя сохранить в списке "
                                                 "пользователей: перевод строки, табуляция. "
                                                 "Замените их."));
        QCOMPARE(admin.acceptEdit("Renée", "Әлиева", "2"), Admin::EditResult::Unstorable);
        QVERIFY(admin.problem().contains(QStringLiteral("«é», «Ә»")));
        QCOMPARE(readBytes(m_path), before);
        QCOMPARE(admin.acceptEdit("  Иванова ", " Анна", " 2 "), Admin::EditResult::Saved);
        const UserBase read = readBase();
        QCOMPARE(read.records.size(), 5);
        QCOMPARE(read.records.at(2).surname, QStringLiteral("Иванова"));
        QCOMPARE(read.records.at(2).firstName, QStringLiteral("Анна"));
        QCOMPARE(read.records.at(2).password, QStringLiteral("2"));
    }

    void deleteAndClearKeepTheOthers()
    {
        Admin admin = loaded();
        QCOMPARE(admin.checkDelete(), Admin::DeleteCheck::Administrator);
        QVERIFY(!admin.deleteSelected());
        QCOMPARE(readBase().records.size(), 5);

        // A user registered since the list was read stays.
        UserBase other = readBase();
        other.registerUser("Новый", "Ученик", "n", other.records.size() - 1);
        QVERIFY(other.save(m_path));
        admin.select(indexOf(admin, "Анна", "Сидорова"));
        QCOMPARE(admin.checkDelete(), Admin::DeleteCheck::Confirm);
        QVERIFY(admin.deleteSelected());
        QVERIFY(indexOf(admin, "Новый", "Ученик") >= 0);
        const QStringList lines = readLinesOrEmpty(m_path);
        QCOMPARE(lines.at(0), QStringLiteral("predel"));
        QCOMPARE(lines.at(1), QStringLiteral(" 5 "));
        QCOMPARE(lines.size(), 2 + 5 * 48);
        const UserBase read = readBase();
        QCOMPARE(read.records.at(1).bookmark, QStringLiteral("1.2"));
        QCOMPARE(read.records.at(1).resultNumber(1), 3);
        QCOMPARE(read.records.at(0).resultNumber(0), 5);
        QCOMPARE(admin.listedCount(), 4);
        QCOMPARE(admin.selected(), 0);
        // Only both names make the administrator: the first name vedok alone is a pupil's.
        admin.select(indexOf(admin, vedok, "Лось"));
        QCOMPARE(admin.checkDelete(), Admin::DeleteCheck::Confirm);
        QVERIFY(admin.deleteSelected());
        QCOMPARE(indexOf(admin, vedok, "Лось"), -1);

        // Clearing keeps the administrator, whoever is selected, and one empty record.
        admin.select(1);
        QVERIFY(admin.clearAllButAdministrator());
        QCOMPARE(readLinesOrEmpty(m_path).at(1), QStringLiteral(" 2 "));
        const UserBase cleared = readBase();
        QCOMPARE(cleared.records.size(), 2);
        QVERIFY(cleared.records.at(0).isAdministrator());
        QCOMPARE(cleared.records.at(0).password, QStringLiteral("secret"));
        QCOMPARE(cleared.records.at(0).bookmark, QStringLiteral("2.4"));
        QCOMPARE(cleared.records.at(0).resultNumber(0), 5);
        QVERIFY(cleared.records.at(1).firstName.isEmpty());
        QCOMPARE(admin.listedCount(), 1);
    }

    void listsEveryRecordButTheLastOfAReadableBase()
    {
        const QByteArray sound = readBytes(m_path);
        const QByteArray damaged =
            QByteArray(sound).replace("\r\nsecond\r\n", "\r\n\r\nsecond\r\n");
        writeBytes(m_path, damaged);
        Admin admin(m_path);
        QVERIFY(!admin.reload());
        QVERIFY(admin.isDamaged());
        QCOMPARE(admin.listedCount(), 0);
        QVERIFY(!admin.clearAllButAdministrator());
        QVERIFY(admin.problem().contains(QStringLiteral("поврежден")));
        QCOMPARE(readBytes(m_path), damaged);

        Admin missing(m_dir->filePath(QStringLiteral("missing/2_17.jpg")));
        QVERIFY(!missing.reload());
        QCOMPARE(missing.listedCount(), 0);
        QVERIFY(!missing.hasSelection());
        QVERIFY(!missing.clearAllButAdministrator());
        QVERIFY(!QFile::exists(missing.baseFile()));

        // Another base chosen: it is read at once, every record listed but the last.
        writeBytes(m_path, sound);
        Admin switched(missing.baseFile());
        switched.setBaseFile(m_path);
        QVERIFY(switched.isReadable());
        QCOMPARE(switched.listedCount(), 4);
        QCOMPARE(switched.selected(), 0);
        QVERIFY(switched.selectedRecord().isAdministrator());
        switched.select(2);
        QCOMPARE(switched.selectedRecord().surname, QStringLiteral("Сидорова"));
        switched.select(4); // the trailing empty record cannot be chosen
        QCOMPARE(switched.selected(), 2);

        // A base of empty records selects nothing to edit or delete.
        QVERIFY(baseOf({UserRecord(), UserRecord()}).save(m_path));
        QVERIFY(switched.reload());
        QCOMPARE(switched.listedCount(), 1);
        QCOMPARE(switched.beginEdit(), Admin::EditStart::Ignored);
        QCOMPARE(switched.view(), Admin::View::List);
        QCOMPARE(switched.checkDelete(), Admin::DeleteCheck::Ignored);
        QVERIFY(!switched.deleteSelected());
    }

    // Stored 2 to 5 are named; nothing, 0 and numbers out of range are not.
    void gradeWords()
    {
        const QStringList words{{}, {}, "неуд.", "удовл.", "хорошо", "отлично", {}, {}};
        UserRecord record;
        QCOMPARE(Admin::gradeWord(Admin::gradeOf(record, 4)), QString());
        for (int stored = 0; stored < words.size(); ++stored) {
            record.results[4] = textfile::printNumber(stored);
            QCOMPARE(Admin::gradeWord(Admin::gradeOf(record, 4)), words.at(stored));
        }
    }
};

QTEST_GUILESS_MAIN(UserAdministrationTest)
#include "tst_useradministration.moc"
