#include "core/sessionstate.h"
#include "testsupport.h"
#include "users/userbase.h"

#include <QtTest>

#include <cstdio>

namespace {
const QString vedok = QStringLiteral("vedok");
} // namespace

class UserBaseTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writesTheExactLayout()
    {
        UserRecord admin = user(vedok, vedok, QStringLiteral("пароль"));
        admin.results[0] = textfile::printNumber(5);
        const QStringList lines = baseOf({admin, UserRecord()}).toLines();
        QCOMPARE(lines.size(), 2 + 2 * 48);
        QCOMPARE(lines.mid(0, 12),
                 (QStringList{"predel", " 2 ", "first", "vedok", "second", "vedok", "pass",
                              "пароль", "zak", "", "test1", " 5 "}));
        QCOMPARE(lines.at(48), QStringLiteral("test20"));
        QCOMPARE(lines.at(50), QStringLiteral("first"));
        QCOMPARE(lines.at(51), QString());

        // Line breaks in a value cannot break the file.
        const UserBase broken = baseOf({user("a\nsecond", "b\r\npass", "c\rzak"), UserRecord()});
        const UserBase read = UserBase::fromLines(
            textfile::splitLines(textfile::decode1251(textfile::joinLines(broken.toLines()))));
        QCOMPARE(read.records.size(), 2);
        QCOMPARE(read.records.at(0).firstName, QStringLiteral("a second"));
        QCOMPARE(read.records.at(0).password, QStringLiteral("c zak"));

        // The checker accepts what the program writes and the delivered base.
        UserRecord odd = user(QStringLiteral("First"), QStringLiteral("x"), QString());
        odd.results[4] = QStringLiteral("5");
        QCOMPARE(UserBase::check(baseOf({odd, UserRecord()}).toBytes()), UserBase::Damage::None);
        const TestProgramFolder demo(TestProgramFolder::Content::DemoData);
        QCOMPARE(UserBase::check(readBytes(demo.jpg(QStringLiteral("2_17.jpg")))),
                 UserBase::Damage::None);
        // An unknown key pair is ignored, as the format allows.
        QByteArray extra = baseOf({user("a", "b", "c"), UserRecord()}).toBytes();
        extra.insert(extra.indexOf("second"), "First\r\nignored\r\n");
        QCOMPARE(UserBase::check(extra), UserBase::Damage::None);

        // What the code page cannot hold is named once each.
        QCOMPARE(unstorableCharacters(QStringLiteral("Renée 😀 Әлиева é")),
                 (QStringList{"«é»", "«😀»", "«Ә»"}));
        QCOMPARE(unstorableCharacters(QStringLiteral("a\r\nb\tc")),
                 (QStringList{"перевод строки", "табуляция"}));
        QVERIFY(unstorableCharacters(QStringLiteral("Пётр Ёжиков-№1")).isEmpty());
    }

    void readsFindsAndGrowsRecords()
    {
        const QStringList lines{"predel", " 3 ",     "first",  "Иван",   "test2", " 4 ",
                                "zak",    "1.1.x",   "second", "Петров", "pass",  "п",
                                "First",  "Ignored", "test21", " 5 ",    "test0", " 3 ",
                                "first",  "",        "second", ""};
        const UserBase keyed = UserBase::fromLines(lines);
        QCOMPARE(keyed.records.size(), 2);
        const UserRecord &ivan = keyed.records.at(0);
        QCOMPARE(ivan.surname, QStringLiteral("Петров"));
        QCOMPARE(ivan.bookmark, QStringLiteral("1.1.x"));
        QCOMPARE(ivan.results[1], QStringLiteral(" 4 "));
        QVERIFY(ivan.results[19].isEmpty());
        QCOMPARE(ivan.resultNumber(1), 4);

        // A thousand records and more are kept.
        UserBase many;
        for (int i = 0; i < 1200; ++i)
            many.records.append(user(QString::number(i), QStringLiteral("s"), QStringLiteral("p")));
        many.records.append(UserRecord());
        const UserBase read = UserBase::fromLines(many.toLines());
        QCOMPARE(read.records.size(), 1201);
        QCOMPARE(read.find("1100", "s", "p").index, 1100);

        // Results survive only as numbers.
        const UserBase numbers =
            UserBase::fromLines({"predel", " 2 ", "first", "a", "second", "b", "pass", "c", "test1",
                                 "4хорошо", "test2", "", "test3", "abc", "first", ""});
        QCOMPARE(numbers.records.at(0).results[0], QStringLiteral(" 4 "));
        QVERIFY(numbers.records.at(0).results[1].isEmpty());
        QCOMPARE(numbers.records.at(0).results[2], QStringLiteral(" 0 "));
        SessionState session;
        fillSessionUser(session, numbers.records.at(0));
        QCOMPARE(session.user.results[0], QStringLiteral("4"));
        QVERIFY(session.user.results[1].isEmpty());

        // A new user takes the first empty record (its old bookmark stays) and the base still
        // ends with an empty one.
        UserBase base = baseOf({user(vedok, vedok, "pw"), UserRecord()});
        QCOMPARE(base.find(vedok, vedok, "pw").outcome, UserBase::Outcome::Found);
        const UserBase::Lookup lookup = base.find("Иван", "Петров", "1");
        QCOMPARE(lookup.outcome, UserBase::Outcome::NotFound);
        QCOMPARE(lookup.freeSlot, 1);
        QCOMPARE(base.registerUser("Иван", "Петров", "1", lookup.freeSlot), 1);
        QCOMPARE(base.records.size(), 3);
        QCOMPARE(base.records.at(1).surname, QStringLiteral("Петров"));
        QVERIFY(base.records.at(2).firstName.isEmpty());
        QCOMPARE(base.toLines().at(1), QStringLiteral(" 3 "));

        base = baseOf({user(vedok, vedok, "p"), UserRecord(), user("a", "b", "1"), UserRecord()});
        base.records[1].bookmark = QStringLiteral("старая закладка");
        QCOMPARE(base.find("c", "d", "2").freeSlot, 1);
        base.registerUser("c", "d", "2", 1);
        QCOMPARE(base.records.size(), 5);
        QCOMPARE(base.records.at(1).bookmark, QStringLiteral("старая закладка"));

        // The first match in file order answers, even where a later record's password would
        // fit; the last record, the empty one the base ends with, never matches.
        base = baseOf({user("a", "b", "1"), user("a", "b", "2"), user("x", "y", "1")});
        QCOMPARE(base.find("a", "b", "1").index, 0);
        QCOMPARE(base.find("a", "b", "2").outcome, UserBase::Outcome::WrongPassword);
        QCOMPARE(base.find("x", "y", "1").outcome, UserBase::Outcome::NotFound);

        // Count below 2 and no trailing empty record: the administrator can still log in
        // and a new user gets a new record at the end.
        base = UserBase::fromLines(
            {"predel", " 1 ", "first", "vedok", "second", "vedok", "pass", "p"});
        QCOMPARE(base.records.size(), 2);
        QCOMPARE(base.find(vedok, vedok, "p").outcome, UserBase::Outcome::Found);
        // Keys before the first record and a truncated last pair are ignored.
        base = UserBase::fromLines({"pass", "x", "predel", "5", "first", "a", "second"});
        QCOMPARE(base.records.size(), 2);
        QCOMPARE(base.records.at(0).firstName, QStringLiteral("a"));
        base = UserBase::fromLines({});
        QCOMPARE(base.records.size(), 1);
        QCOMPARE(base.find("a", "b", "c").outcome, UserBase::Outcome::NotFound);
    }

    // A base held by another program is not changed; the lock is waited for a few seconds.
    // Its age is measured on the clock of the base's computer, here a share whose server runs
    // 40 seconds behind this computer: a lock its program took there just now is live, one left
    // there a minute ago by a program that died is taken over. A lock that is no file is damage.
    void renewalStoresBookmarkAndResults()
    {
        TestProgramFolder folder;
        const QString path = folder.jpg(QStringLiteral("2_17.jpg"));
        UserRecord other = user("a", "b", "1");
        other.results[3] = textfile::printNumber(3);
        QVERIFY(baseOf({other, user("Иван", "Петров", "2"), UserRecord()}).save(path));
        SessionState session;
        session.user.firstName = QStringLiteral("Иван");
        session.user.surname = QStringLiteral("Петров");
        session.user.bookmark = QStringLiteral("2.1.Сигнал");
        session.user.results[0] = QStringLiteral("5");
        QVERIFY(renewCurrentUser(session, path));
        const QStringList lines = readLinesOrEmpty(path);
        QCOMPARE(lines.at(1), QStringLiteral(" 3 "));
        const int ivan = 2 + 48;
        QCOMPARE(lines.at(ivan + 7), QStringLiteral("2.1.Сигнал"));
        QCOMPARE(lines.at(ivan + 9), QStringLiteral("5")); // the session's text as held
        const UserBase read = *UserBase::load(path);
        QCOMPARE(read.records.at(0).results[3], QStringLiteral(" 3 "));
        QCOMPARE(read.records.at(1).resultNumber(0), 5);

        const QDateTime shareNow = QDateTime::currentDateTime().addSecs(-40);
        const auto restore = qScopeGuard([] { textfile::setRenameStep({}); });
        textfile::setRenameStep([&](const QString &from, const QString &to) {
            return setModified(from, shareNow) && textfile::renameOver(from, to)
                       ? textfile::RenameOutcome::Done
                       : textfile::RenameOutcome::Refused;
        });
        writeBytes(UserBase::lockFile(path), "4242\nТарвел\npupil-computer\n"); // its program's
        QVERIFY(setModified(UserBase::lockFile(path), shareNow));
        session.user.bookmark = QStringLiteral("1.1");
        QCOMPARE(renewUser(session, path), UserBase::Access::Locked);
        QCOMPARE(UserBase::load(path)->records.at(1).bookmark, QStringLiteral("2.1.Сигнал"));
        QVERIFY(UserBase::messageFor(UserBase::Access::Locked, path).contains("другая программа"));
        QVERIFY(setModified(UserBase::lockFile(path), shareNow.addSecs(-60)));
        QCOMPARE(renewUser(session, path), UserBase::Access::Done);
        QCOMPARE(UserBase::load(path)->records.at(1).bookmark, QStringLiteral("1.1"));

        // A user deleted meanwhile, or a base gone: nothing is written.
        const QByteArray before = readBytes(path);
        session.user.firstName = QStringLiteral("gone");
        QVERIFY(!renewCurrentUser(session, path));
        QCOMPARE(readBytes(path), before);
        QVERIFY(!renewCurrentUser(session, folder.jpg(QStringLiteral("missing.jpg"))));
        QVERIFY(!QFile::exists(folder.jpg(QStringLiteral("missing.jpg"))));

        QVERIFY(QDir().mkdir(UserBase::lockFile(path)));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(renewUser(session, path), UserBase::Access::LockDamaged);
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY(UserBase::messageFor(UserBase::Access::LockDamaged, path)
                    .contains(QStringLiteral("data/jpg/2_17.lock")));
    }

    // Every damage a base can suffer is found, and such a base is never written over.
    void damagedBaseIsNeverWritten_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("damage");
        UserRecord admin = user(vedok, vedok, QStringLiteral("пароль"));
        const QByteArray good =
            baseOf({admin, user("Иван", "Петров", "1"), UserRecord()}).toBytes();
        const qsizetype second = good.indexOf("first", 20); // the second record
        using D = UserBase::Damage;
        QTest::addRow("empty file") << QByteArray() << int(D::Empty);
        QTest::addRow("header alone") << QByteArray("predel\r\n 0 \r\n") << int(D::Empty);
        QTest::addRow("truncated inside a record")
            << good.left(good.size() / 2) << int(D::Truncated);
        QTest::addRow("cut after a key line") << good.left(second + 7) << int(D::Truncated);
        QTest::addRow("stray empty line")
            << QByteArray(good).insert(second, "\r\n") << int(D::StrayLine);
        QTest::addRow("empty line at the end") << good + "\r\n" << int(D::StrayLine);
        QTest::addRow("binary bytes")
            << QByteArray(good).replace(200, 4, QByteArray(4, '\0')) << int(D::NotText);
        QTest::addRow("saved as UTF-8")
            << textfile::decode1251(good).toUtf8() << int(D::OtherEncoding);
        QTest::addRow("count disagrees")
            << QByteArray(good).replace("predel\r\n 3 ", "predel\r\n 2 ") << int(D::CountDisagrees);
        QTest::addRow("no header") << good.mid(good.indexOf("first")) << int(D::NoHeader);
        QTest::addRow("record without its password")
            << QByteArray(good).replace("pass\r\n", "zzzz\r\n") << int(D::BrokenRecord);
    }
    void damagedBaseIsNeverWritten()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, damage);
        QCOMPARE(int(UserBase::check(bytes)), damage);
        TestProgramFolder folder;
        const QString path = folder.jpg(QStringLiteral("2_17.jpg"));
        writeBytes(path, bytes);
        UserBase base;
        QCOMPARE(UserBase::read(path, base), UserBase::Access::Damaged);
        QVERIFY(!UserBase::load(path));
        bool changed = false;
        QCOMPARE(UserBase::update(path, [&](UserBase &) { return changed = true; }),
                 UserBase::Access::Damaged);
        QVERIFY(!changed);
        QCOMPARE(readBytes(path), bytes);
        QVERIFY(!QFile::exists(UserBase::backupFile(path)));
        QVERIFY(UserBase::messageFor(UserBase::Access::Damaged, path)
                    .contains(QStringLiteral("data/jpg/2_17.jpg")));
    }

    // The first clean read of a fresh install makes the backup the damage message names; every
    // change keeps the base as it was in three generations, and what a deletion started from
    // stays whatever routine saves follow.
    void rewriteKeepsThePreviousBaseAsBackup()
    {
        TestProgramFolder folder;
        const QString path = folder.jpg(QStringLiteral("2_17.jpg"));
        QVERIFY(baseOf({user(vedok, vedok, "p"), user("x", "y", "1"), UserRecord()}).save(path));
        const QByteArray installed = readBytes(path);
        QVERIFY(UserBase::load(path));
        QCOMPARE(UserBase::backupFile(path), folder.jpg(QStringLiteral("2_17.bak")));
        QCOMPARE(readBytes(UserBase::backupFile(path)), installed);
        QVERIFY(UserBase::messageFor(UserBase::Access::Damaged, path).contains("2_17.bak"));
        const auto change = [&path](const std::function<void(UserBase &)> &edit) {
            return UserBase::update(path, [&edit](UserBase &base) {
                edit(base);
                return true;
            });
        };
        QCOMPARE(change([](UserBase &base) { base.clearAllButAdministrator(); }),
                 UserBase::Access::Done);
        QCOMPARE(readBytes(UserBase::beforeDeletionBackup(path)), installed);
        QList<QByteArray> states{installed};
        for (const char *name : {"a", "b", "c", "d"}) {
            states.prepend(readBytes(path));
            QCOMPARE(change([name](UserBase &base) {
                         base.registerUser(name, "b", "c", base.records.size() - 1);
                     }),
                     UserBase::Access::Done);
        }
        QCOMPARE(readBytes(UserBase::backupFile(path)), states.at(0));
        QCOMPARE(readBytes(UserBase::olderBackups(path).at(0)), states.at(1));
        QCOMPARE(readBytes(UserBase::olderBackups(path).at(1)), states.at(2));
        QCOMPARE(readBytes(UserBase::beforeDeletionBackup(path)), installed);
        QCOMPARE(UserBase::load(path)->records.size(), 6);
        QVERIFY(!QFile::exists(UserBase::lockFile(path)));
        QCOMPARE(QDir(folder.jpg(QString())).entryList({QStringLiteral("2_17.*")}, QDir::Files),
                 (QStringList{"2_17.bak", "2_17.bak2", "2_17.bak3", "2_17.before-delete.bak",
                              "2_17.jpg"}));
    }
};

QTEST_GUILESS_MAIN(UserBaseTest)
#include "tst_userbase.moc"
