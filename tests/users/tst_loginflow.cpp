#include "core/sessionstate.h"
#include "testsupport.h"
#include "users/loginflow.h"

#include <QProcess>
#include <QtTest>

namespace {
const QString vedok = QStringLiteral("vedok");

UserBase administratorBase()
{
    return baseOf({user(vedok, vedok, vedok), UserRecord()});
}
} // namespace

class LoginFlowTest : public QObject
{
    Q_OBJECT
private:
    TestProgramFolder *m_folder = nullptr;
    QString base() const { return m_folder->jpg(QStringLiteral("2_17.jpg")); }
    QString copy() const { return m_folder->jpg(QStringLiteral("1n_12.jpg")); }

private Q_SLOTS:
    void init()
    {
        m_folder = new TestProgramFolder;
        QVERIFY(administratorBase().save(base()));
    }
    void cleanup() { delete m_folder; }

    // Letter case and blanks never split one person into two accounts; stored names stay. The
    // administrator gets in past empty fields, wrong passwords and a hand-edited base.
    void typedNamesFindTheOneUserTheyMean()
    {
        SessionState session;
        LoginFlow flow(session, base(), copy());
        UserBase written = *UserBase::load(base());
        written.registerUser("Анна Мария", "Сидорова", "1", 1);
        QVERIFY(written.save(base()));
        const QByteArray before = readBytes(base());
        QCOMPARE(flow.pressOk("  анна   МАРИЯ ", "сидорова", "1"), LoginFlow::Result::Identified);
        QCOMPARE(session.user.firstName, QStringLiteral("Анна Мария"));
        QCOMPARE(flow.pressOk("Анна мария", "Сидорова", "2"), LoginFlow::Result::WrongPassword);
        QCOMPARE(flow.pressOk("Vedok", "VEDOK", "vedok"), LoginFlow::Result::Identified);
        QCOMPARE(readBytes(base()), before);

        // Registered meanwhile in another letter case: the registration names that user.
        QCOMPARE(flow.pressOk("Пётр", "Иванов", "1"), LoginFlow::Result::NotFound);
        written.registerUser("пётр", "иванов", "9", 2);
        QVERIFY(written.save(base()));
        QCOMPARE(flow.pressOk("Пётр", "Иванов", "1"), LoginFlow::Result::Refused);
        QVERIFY(flow.message().contains(QStringLiteral("«пётр иванов»")));
        QCOMPARE(UserBase::load(base())->records.size(), written.records.size());

        // The administrator: empty fields are named before the base is asked.
        QCOMPARE(flow.pressOk("  ", "x", "p"), LoginFlow::Result::NamesMissing);
        QCOMPARE(flow.message(), LoginFlow::NamesMissingText);
        QCOMPARE(flow.pressOk("a", "b", "   "), LoginFlow::Result::PasswordMissing);
        QCOMPARE(flow.message(), LoginFlow::PasswordMissingText);
        // The text the window shows after a wrong password is compared as any password.
        QCOMPARE(flow.pressOk(vedok, vedok, "wrong"), LoginFlow::Result::WrongPassword);
        QCOMPARE(flow.pressOk(vedok, vedok, LoginFlow::WrongPasswordText),
                 LoginFlow::Result::WrongPassword);
        QCOMPARE(flow.pressOk(" vedok ", "vedok", " vedok"), LoginFlow::Result::Identified);
        QCOMPARE(session.user.firstName, vedok);

        // Blanks a hand edit left around his values lock him out of nothing.
        QByteArray edited = readBytes(base());
        edited.replace("first\r\nvedok\r\n", "first\r\nvedok \r\n")
            .replace("second\r\nvedok\r\n", "second\r\n vedok\t\r\n")
            .replace("pass\r\nvedok\r\n", "pass\r\nvedok  \r\n");
        writeBytes(base(), edited);
        SessionState again;
        QCOMPARE(LoginFlow(again, base(), copy()).pressOk(vedok, vedok, vedok),
                 LoginFlow::Result::Identified);
        QCOMPARE(again.user.firstName, vedok);
        QCOMPARE(again.user.surname, vedok);
        // A user whose password really is that text gets in with it.
        written = *UserBase::load(base());
        written.records[0].password = LoginFlow::WrongPasswordText;
        QVERIFY(written.save(base()));
        QCOMPARE(flow.pressOk(vedok, vedok, LoginFlow::WrongPasswordText),
                 LoginFlow::Result::Identified);

        // A missing base is named and nothing is written in its place.
        QFile::remove(base());
        QCOMPARE(flow.pressOk("a", "b", "c"), LoginFlow::Result::BaseUnavailable);
        QCOMPARE(flow.message(), UserBase::messageFor(UserBase::Access::Missing, base()));
        QVERIFY(flow.message().contains(QStringLiteral("data/jpg/2_17.jpg")));
        QVERIFY(!QFile::exists(base()));
        QVERIFY(!QFile::exists(copy()));
    }

    void registrationOnlyOnSecondPressWithSameNames()
    {
        SessionState session;
        LoginFlow flow(session, base(), copy());
        const QByteArray before = readBytes(base());
        QCOMPARE(flow.pressOk("Иван", "Петров", "1"), LoginFlow::Result::NotFound);
        QCOMPARE(flow.message(), LoginFlow::NotFoundText);
        QVERIFY(flow.registrationPending());
        QCOMPARE(readBytes(base()), before);
        // Another surname on the second press: not found again, nothing registered. An empty
        // password never makes an account; the registration waits for one.
        QCOMPARE(flow.pressOk("Иван", "Петрова", "1"), LoginFlow::Result::NotFound);
        QCOMPARE(flow.pressOk("Иван", "Петрова", "  "), LoginFlow::Result::PasswordMissing);
        QVERIFY(flow.registrationPending());
        QCOMPARE(readBytes(base()), before);
        // A list another program holds refuses for now; the next press registers.
        auto other = std::make_unique<QLockFile>(UserBase::lockFile(base()));
        QVERIFY(other->lock());
        QCOMPARE(flow.pressOk("Иван", "Петрова", "1"), LoginFlow::Result::Refused);
        QCOMPARE(flow.message(), UserBase::messageFor(UserBase::Access::Locked, base()));
        QVERIFY(flow.registrationPending());
        other.reset();
        // Meanwhile somebody else registered in the free slot: the new user comes after him.
        UserBase changed = *UserBase::load(base());
        changed.registerUser("x", "y", "z", 1);
        QVERIFY(changed.save(base()));
        QCOMPARE(flow.pressOk("Иван", "Петрова", "1"), LoginFlow::Result::Registered);
        QVERIFY(!flow.registrationPending());
        QCOMPARE(flow.message(), LoginFlow::PromptText);
        QCOMPARE(session.user.surname, QStringLiteral("Петрова"));
        const UserBase written = *UserBase::load(base());
        QCOMPARE(written.records.size(), 4);
        QCOMPARE(written.indexOf("x", "y"), 1);
        QCOMPARE(written.indexOf("Иван", "Петрова"), 2);
        const QStringList single = readLinesOrEmpty(copy());
        QCOMPARE(single.size(), 48);
        QCOMPARE(single.at(1), QStringLiteral("Иван"));
        // The new user can now log in.
        SessionState again;
        LoginFlow second(again, base(), copy());
        QCOMPARE(second.pressOk("Иван", "Петрова", "1"), LoginFlow::Result::Identified);
    }

    // A damaged base lets nobody in, registers nobody and is never written over: today's
    // administrator cannot be replaced by whoever types vedok/vedok.
    void damagedBaseLetsNobodyRegister_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = administratorBase().toBytes();
        QTest::addRow("empty file") << QByteArray();
        QTest::addRow("another encoding")
            << QByteArray(good).replace("pass\r\nvedok", "pass\r\n\xD0\x96\xD0\xB6");
    }
    void damagedBaseLetsNobodyRegister()
    {
        QFETCH(QByteArray, bytes);
        writeBytes(base(), bytes);
        SessionState session;
        LoginFlow flow(session, base(), copy());
        // Without a backup the message does not send the user to restore from one.
        QCOMPARE(flow.openingMessage(), UserBase::damagedWithoutBackupText(base()));
        writeBytes(UserBase::backupFile(base()), administratorBase().toBytes());
        const QString damaged = UserBase::messageFor(UserBase::Access::Damaged, base());
        QVERIFY(damaged.contains(QStringLiteral("резервной копии 2_17.bak")));
        QCOMPARE(flow.openingMessage(), damaged);
        for (int press = 0; press < 2; ++press) {
            QCOMPARE(flow.pressOk(vedok, vedok, "new"), LoginFlow::Result::BaseDamaged);
            QCOMPARE(flow.message(), damaged);
        }
        QCOMPARE(flow.pressOk("Иван", "Петров", "1"), LoginFlow::Result::BaseDamaged);
        QVERIFY(session.user.firstName.isEmpty());
        QCOMPARE(readBytes(base()), bytes);
        QVERIFY(!QFile::exists(copy()));
    }

    // Nobody becomes the administrator by registering, nor takes names that only look like his:
    // a base without one stays so. Characters the base cannot hold are named, never stored as
    // "?".
    void namesLikeTheAdministratorsAreRefused_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("message");
        const QString invisible =
            QStringLiteral("Эти знаки нельзя сохранить в списке пользователей: невидимый знак "
                           "%1. Замените их.");
        QTest::addRow("letter case and blanks") << " VEDOK"
                                                << "vedok " << LoginFlow::AdministratorNameText;
        QTest::addRow("Cyrillic е")
            << QStringLiteral("v\u0435dok") << vedok << LoginFlow::AdministratorNameText;
        QTest::addRow("Cyrillic capitals О and К")
            << vedok << QStringLiteral("VED\u041E\u041A") << LoginFlow::AdministratorNameText;
        QTest::addRow("soft hyphen")
            << QStringLiteral("ve\u00ADdok") << vedok << invisible.arg(QStringLiteral("U+00AD"));
        QTest::addRow("zero-width space")
            << vedok << QStringLiteral("ved\u200Bok") << invisible.arg(QStringLiteral("U+200B"));
        QTest::addRow("not in the code page")
            << "Renée"
            << "Dupont😀"
            << "Эти знаки нельзя сохранить в списке пользователей: «é», «😀». Замените их.";
    }
    void namesLikeTheAdministratorsAreRefused()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, message);
        UserBase noAdministrator = administratorBase();
        noAdministrator.removeUser(vedok, vedok);
        QVERIFY(noAdministrator.save(base()));
        const QByteArray before = readBytes(base());
        SessionState session;
        LoginFlow flow(session, base(), copy());
        LoginFlow::Result result = flow.pressOk(first, second, "x");
        if (result == LoginFlow::Result::NotFound)
            result = flow.pressOk(first, second, "x");
        QCOMPARE(result, LoginFlow::Result::Refused);
        QCOMPARE(flow.message(), message);
        QCOMPARE(readBytes(base()), before);
    }

    // On a full disk the registration is refused with the file's name; nothing is lost and
    // nobody is logged in.
    void registrationOnAFullDisk()
    {
        SmallDisk disk(64);
        if (!disk.isMounted())
            QSKIP("mounting a small file system is not permitted here");
        const QString path = disk.file(QStringLiteral("2_17.jpg"));
        QVERIFY(administratorBase().save(path));
        const QByteArray before = readBytes(path);
        disk.fill();
        SessionState session;
        LoginFlow flow(session, path, disk.file(QStringLiteral("1n_12.jpg")));
        QCOMPARE(flow.pressOk("Иван", "Петров", "1"), LoginFlow::Result::NotFound);
        QCOMPARE(flow.pressOk("Иван", "Петров", "1"), LoginFlow::Result::Refused);
        QCOMPARE(flow.message(), UserBase::messageFor(UserBase::Access::NotWritten, path));
        QVERIFY(flow.message().startsWith(QStringLiteral("Не удалось записать")));
        QVERIFY(session.user.firstName.isEmpty());
        QCOMPARE(readBytes(path), before);
        QCOMPARE(flow.pressOk(vedok, vedok, vedok), LoginFlow::Result::Identified);
    }

    // Two programs registering on one base at once: every registration is in the base.
    void concurrentRegistrationsLoseNobody()
    {
        const int each = 200;
        // tmpfs keeps hundreds of synced rewrites quick.
        QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                              ? QStringLiteral("/dev/shm/tarvel-users-XXXXXX")
                              : QDir::tempPath() + QStringLiteral("/tarvel-users-XXXXXX"));
        const QString path = dir.filePath(QStringLiteral("2_17.jpg"));
        QVERIFY(administratorBase().save(path));
        QList<QProcess *> writers;
        for (const QString &surname : {QStringLiteral("Первый"), QStringLiteral("Второй")}) {
            auto *writer = new QProcess(this);
            writer->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            writer->start(QStringLiteral(TARVEL_REGISTRAR), {path, surname, QString::number(each)});
            writers << writer;
        }
        for (QProcess *writer : writers) {
            QVERIFY(writer->waitForFinished(240000));
            QCOMPARE(writer->exitCode(), 0);
            delete writer;
        }
        const UserBase written = *UserBase::load(path);
        QCOMPARE(written.records.size(), 2 + 2 * each);
        int turns = 0; // how often the registering program changed in the base's order
        for (qsizetype i = 2; i + 1 < written.records.size(); ++i)
            turns += written.records.at(i).surname != written.records.at(i - 1).surname;
        qInfo("%d registrations, the programs took turns %d times", 2 * each, turns);
        QVERIFY(turns > 2);
        for (int n = 0; n < each; ++n) {
            QVERIFY(written.indexOf(QString::number(n), QStringLiteral("Первый")) >= 0);
            QVERIFY(written.indexOf(QString::number(n), QStringLiteral("Второй")) >= 0);
        }
    }

    void rememberedLoginRoundTrip()
    {
        const QString path = m_folder->jpg(QStringLiteral("sv11.jpg"));
        QCOMPARE(RememberedLogin::read(path).box, RememberedLogin::Box::Missing);
        QVERIFY(RememberedLogin::write(path, true, " Иван", "Петров ", "p w"));
        QCOMPARE(readLinesOrEmpty(path), (QStringList{" 1 ", " Иван", "Петров ", "p w"}));
        const RememberedLogin login = RememberedLogin::read(path);
        QCOMPARE(login.box, RememberedLogin::Box::Ticked);
        QCOMPARE(login.firstName, QStringLiteral(" Иван"));
        QCOMPARE(login.password, QStringLiteral("p w"));
        QVERIFY(RememberedLogin::write(path, false, "a", "b", "c"));
        QCOMPARE(RememberedLogin::read(path).box, RememberedLogin::Box::Unknown);
        writeBytes(path, "\r\na\r\n");
        QCOMPARE(RememberedLogin::read(path).box, RememberedLogin::Box::Unticked);
        // "?" in place of a character would leave a login that finds nobody.
        QVERIFY(RememberedLogin::write(path, true, "Иван", "Петров", "п"));
        QVERIFY(!RememberedLogin::write(path, true, "Иван☺", "Петров", "п"));
        QVERIFY(!RememberedLogin::refusal("Иван", "Петров", "п€ж☺").isEmpty());
        QCOMPARE(RememberedLogin::read(path).firstName, QStringLiteral("Иван"));
        QVERIFY(RememberedLogin::write(path, false, "Иван☺", "Петров", "п"));
        QCOMPARE(readLinesOrEmpty(path), (QStringList{" 0 ", "", "", ""}));
        // The administrator's password is never taken from the file.
        QVERIFY(!RememberedLogin::mayRemember(" Vedok", "vedok"));
        writeBytes(path, " 1 \r\nvedok\r\nvedok\r\nsecret\r\n");
        QCOMPARE(RememberedLogin::read(path).box, RememberedLogin::Box::Unticked);
        QVERIFY(RememberedLogin::read(path).password.isEmpty());
    }
};

QTEST_GUILESS_MAIN(LoginFlowTest)
#include "tst_loginflow.moc"
