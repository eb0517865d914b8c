#include "app/sessionstate.h"
#include "users/loginflow.h"
#include "testsupport.h"

#include <QtTest>

namespace {
const QString vedok = QStringLiteral("vedok");

void writeAdministratorBase(const QString &path)
{
    UserBase base;
    UserRecord admin;
    admin.firstName = admin.surname = admin.password = vedok;
    base.records = {admin, UserRecord()};
    QVERIFY(base.save(path));
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
        writeAdministratorBase(base());
    }
    void cleanup() { delete m_folder; }

    void administratorLogsIn()
    {
        SessionState session;
        LoginFlow flow(session, base(), copy());
        QCOMPARE(flow.pressOk(" vedok ", "vedok", " vedok"), LoginFlow::Result::Identified);
        QCOMPARE(session.UserFirstName, vedok);
    }

    void emptyFieldsAreReported()
    {
        SessionState session;
        LoginFlow flow(session, base(), copy());
        QCOMPARE(flow.pressOk("  ", "x", "p"), LoginFlow::Result::NamesMissing);
        QCOMPARE(flow.message(), LoginFlow::NamesMissingText);
        QCOMPARE(flow.pressOk("a", "b", "   "), LoginFlow::Result::PasswordMissing);
        QCOMPARE(flow.message(), LoginFlow::PasswordMissingText);
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
        // Another surname on the second press: not found again, nothing registered.
        QCOMPARE(flow.pressOk("Иван", "Петрова", "1"), LoginFlow::Result::NotFound);
        QCOMPARE(readBytes(base()), before);
        QCOMPARE(flow.pressOk("Иван", "Петрова", "1"), LoginFlow::Result::Registered);
        QVERIFY(!flow.registrationPending());
        QCOMPARE(flow.message(), LoginFlow::PromptText);
        QCOMPARE(session.UserSurname, QStringLiteral("Петрова"));
        const UserBase written = *UserBase::load(base());
        QCOMPARE(written.records.size(), 3);
        QCOMPARE(written.records.at(1).firstName, QStringLiteral("Иван"));
        QVERIFY(QFile::exists(copy()));
        // The new user can now log in.
        SessionState again;
        LoginFlow second(again, base(), copy());
        QCOMPARE(second.pressOk("Иван", "Петрова", "1"), LoginFlow::Result::Identified);
    }

    void wrongPasswordTextIsComparedAsPassword()
    {
        SessionState session;
        LoginFlow flow(session, base(), copy());
        QCOMPARE(flow.pressOk(vedok, vedok, "wrong"), LoginFlow::Result::WrongPassword);
        QCOMPARE(flow.pressOk(vedok, vedok, LoginFlow::WrongPasswordText),
                 LoginFlow::Result::WrongPassword);
        // A user whose password really is that text gets in with it.
        UserBase written = *UserBase::load(base());
        written.records[0].password = LoginFlow::WrongPasswordText;
        QVERIFY(written.save(base()));
        QCOMPARE(flow.pressOk(vedok, vedok, LoginFlow::WrongPasswordText),
                 LoginFlow::Result::Identified);
    }

    void missingBaseWritesNothing()
    {
        QFile::remove(base());
        SessionState session;
        LoginFlow flow(session, base(), copy());
        QCOMPARE(flow.pressOk("a", "b", "c"), LoginFlow::Result::BaseUnavailable);
        QCOMPARE(flow.message(), LoginFlow::BaseUnavailableText);
        QVERIFY(!QFile::exists(base()));
        QVERIFY(!QFile::exists(copy()));
    }

    void baseChangedBetweenPressesLosesNothing()
    {
        SessionState session;
        LoginFlow flow(session, base(), copy());
        QCOMPARE(flow.pressOk("a", "b", "c"), LoginFlow::Result::NotFound);
        // Meanwhile somebody else registered in the free slot.
        UserBase changed = *UserBase::load(base());
        changed.registerUser("x", "y", "z", 1);
        QVERIFY(changed.save(base()));
        QCOMPARE(flow.pressOk("a", "b", "c"), LoginFlow::Result::Registered);
        const UserBase written = *UserBase::load(base());
        QCOMPARE(written.records.size(), 4);
        QCOMPARE(written.indexOf("x", "y"), 1);
        QCOMPARE(written.indexOf("a", "b"), 2);
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
    }
};

QTEST_GUILESS_MAIN(LoginFlowTest)
#include "tst_loginflow.moc"
