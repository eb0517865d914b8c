#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "testing/testsettings.h"
#include "testsupport.h"

#include <QSemaphore>
#include <QtTest>

#include <atomic>
#include <cstdio>
#include <memory>

namespace {
const QString timeFile = datafiles::AnswerTimeFile;
const QString errorsFile = datafiles::ShowErrorsFile;

// A pupil computer's program folder, as net.ini names it (with a trailing separator).
QString pupilFolder(const TestProgramFolder &pupil)
{
    return pupil.path() + u'/';
}

// A whole push, waited for; the window thread is free while the pupil computers are written.
SettingsDelivery pushSettings(const SessionState &session, const TestSettings &settings)
{
    SettingsPush push;
    QSignalSpy finished(&push, &SettingsPush::finished);
    push.start(session, settings);
    if (!finished.wait(5000))
        return {};
    return finished.first().at(0).value<SettingsDelivery>();
}
} // namespace

class TestSettingsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readingGivesOneForMissingOrEmpty()
    {
        TestProgramFolder program;
        const QString jpg = program.data(QStringLiteral("jpg"));
        TestSettings read = TestSettings::read(jpg);
        QCOMPARE(read.answerTime, 1);
        QCOMPARE(read.showErrors, 1);
        writeBytes(program.jpg(timeFile), "\r\n 4 \r\n");
        writeBytes(program.jpg(errorsFile), " 3 \r\n");
        read = TestSettings::read(jpg);
        QCOMPARE(read.answerTime, 1);
        QCOMPARE(read.showErrors, 3);
        QFile::remove(program.jpg(timeFile));
        writeBytes(program.jpg(timeFile.toUpper()), " 9 \r\n"); // names ignore letter case
        QCOMPARE(TestSettings::read(jpg).answerTime, 9);

        SessionState session;
        session.setProgramFolder(program.path());
        QCOMPARE(loadTestSettings(session).showErrors, 3);
        // Only the leading digits of the first line count; an empty file gives 1.
        for (const auto &[content, setting] : {std::pair{"2abc\r\n", 2}, {"abc\r\n", 0}, {"", 1}}) {
            writeBytes(program.jpg(errorsFile), content);
            QCOMPARE(TestSettings::read(jpg).showErrors, setting);
        }
    }

    void onlyThisComputerWithoutAClassroom()
    {
        TestProgramFolder program;
        SessionState session;
        session.setProgramFolder(program.path());
        TestSettings settings{TestSettings::UnlimitedTime, TestSettings::ShowNever};

        SettingsDelivery delivery = pushSettings(session, settings);
        QVERIFY(delivery.local);
        QVERIFY(delivery.reached.isEmpty() && delivery.missed.isEmpty());
        QCOMPARE(readBytes(program.jpg(timeFile)), QByteArray(" 9 \r\n"));
        QCOMPARE(readBytes(program.jpg(errorsFile)), QByteArray(" 2 \r\n"));
        QCOMPARE(delivery.summary(), QStringLiteral("Настройки записаны на этом компьютере."));

        // A file that cannot be written is named.
        QVERIFY(QFile::remove(program.jpg(errorsFile)) && QDir().mkpath(program.jpg(errorsFile)));
        settings.showErrors = TestSettings::ShowAlways;
        QVERIFY(!pushSettings(session, settings).local);
        QCOMPARE(pushSettings(session, settings).summary(),
                 QStringLiteral("Не удалось записать настройки на этом компьютере (файл "
                                "data/jpg/sv10.jpg)."));
        QVERIFY(QDir().rmdir(program.jpg(errorsFile)));

        writeBytes(program.data(datafiles::NetConfigFile), "clear\r\nnumber\r\n 1 \r\n");
        delivery = pushSettings(session, settings);
        QVERIFY(delivery.reached.isEmpty() && delivery.missed.isEmpty());
    }

    void pushedToEveryReachablePupil()
    {
        TestProgramFolder program;
        TestProgramFolder first, refusing, third, linked;
        QTemporaryDir gone;
        const QString goneFolder = gone.path() + QStringLiteral("/off/");
        // A folder in place of one file refuses it, also for a privileged user; a link in place
        // of the other is never written through.
        QDir().mkpath(refusing.jpg(timeFile));
        const QString outside = program.jpg(QStringLiteral("outside.jpg"));
        writeBytes(outside, "outside");
#ifdef Q_OS_WIN
        // No link can be made there without privileges: a folder stands in its place.
        QVERIFY(QDir().mkpath(linked.jpg(errorsFile)));
#else
        QVERIFY(QFile::link(outside, linked.jpg(errorsFile)));
#endif
        const QStringList net{"number", " 6 ",
                              " 1 ",    pupilFolder(first),
                              " 3 ",    pupilFolder(third),
                              " 2 ",    pupilFolder(refusing),
                              " 4 ",    goneFolder,
                              " 5 ",    "",
                              " 6 ",    pupilFolder(linked)};
        QVERIFY(textfile::writeLines(program.data(datafiles::NetConfigFile), net));
        SessionState session;
        session.setProgramFolder(program.path());
        const TestSettings settings{4, TestSettings::ShowExceptCourseTest};

        const SettingsDelivery delivery = pushSettings(session, settings);
        QVERIFY(delivery.local);
        QCOMPARE(delivery.reached, (QList<int>{1, 3}));
        QCOMPARE(delivery.missed, (QList<int>{2, 4, 6}));
        for (const TestProgramFolder *pupil : {&program, &first, &third}) {
            QCOMPARE(readBytes(pupil->jpg(timeFile)), QByteArray(" 4 \r\n"));
            QCOMPARE(readBytes(pupil->jpg(errorsFile)), QByteArray(" 3 \r\n"));
        }
        // One file refused never stops the other.
        QCOMPARE(readBytes(refusing.jpg(errorsFile)), QByteArray(" 3 \r\n"));
        QCOMPARE(readBytes(linked.jpg(timeFile)), QByteArray(" 4 \r\n"));
        QCOMPARE(readBytes(outside), QByteArray("outside"));
        QVERIFY(!QDir(goneFolder).exists());
        QCOMPARE(delivery.summary(),
                 QStringLiteral("Настройки записаны на этом компьютере. Сетевые компьютеры: "
                                "получили 2 из 5; не получили № 2, № 4, № 6."));
        SettingsDelivery failedHere = delivery;
        failedHere.local = false;
        failedHere.missed.clear();
        QCOMPARE(failedHere.summary(),
                 QStringLiteral("Не удалось записать настройки на этом компьютере. Сетевые "
                                "компьютеры: получили 2 из 2."));
    }

    // A push that a hung share held up lands before a newer one, never after it (a stale " 5 "
    // stayed after " 4 " was pushed); one that lands after the patience is told.
    void aLatePushNeverOverwritesANewerOne()
    {
        TestProgramFolder program;
        TestProgramFolder pupil;
        QVERIFY(textfile::writeLines(program.data(datafiles::NetConfigFile),
                                     {"number", " 1 ", " 1 ", pupilFolder(pupil)}));
        SessionState session;
        session.setProgramFolder(program.path());
        // The first write of the pupil's answer time hangs until the share comes back.
        auto hung = std::make_shared<QSemaphore>();
        auto comeBack = std::make_shared<QSemaphore>();
        auto hangs = std::make_shared<std::atomic<int>>(1);
        auto landed = std::make_shared<std::atomic<bool>>(false);
        const QString pupilTime = pupil.jpg(timeFile);
        const auto restore = qScopeGuard([comeBack] {
            comeBack->release(10);
            textfile::setRenameStep({});
        });
        textfile::setRenameStep([=](const QString &from, const QString &to) {
            if (QDir::cleanPath(to) == QDir::cleanPath(pupilTime) && (*hangs)-- > 0) {
                hung->release();
                comeBack->acquire();
                const bool renamed = textfile::renameOver(from, to);
                *landed = true;
                return renamed ? textfile::RenameOutcome::Done : textfile::RenameOutcome::Refused;
            }
            return textfile::renameOver(from, to) ? textfile::RenameOutcome::Done
                                                  : textfile::RenameOutcome::Refused;
        });
        const TestSettings five{5, TestSettings::ShowAlways};
        const TestSettings four{4, TestSettings::ShowAlways};

        SettingsPush push;
        QSignalSpy finished(&push, &SettingsPush::finished);
        push.start(session, five);
        QVERIFY(hung->tryAcquire(1, 5000));
        push.start(session, four);
        // The newer push waits for the hung write instead of landing before it.
        QVERIFY(!finished.wait(100));
        comeBack->release();
        QTRY_VERIFY(*landed);
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(finished.last().at(0).value<SettingsDelivery>().reached, QList<int>{1});
        QCOMPARE(readBytes(pupilTime), QByteArray(" 4 \r\n"));

        *hangs = 1;
        push.setPatience(100);
        push.start(session, five);
        QTRY_COMPARE(finished.size(), 2);
        QCOMPARE(finished.last().at(0).value<SettingsDelivery>().missed, QList<int>{1});
        comeBack->release();
        QTRY_COMPARE(finished.size(), 3);
        QCOMPARE(finished.last().at(0).value<SettingsDelivery>().reached, QList<int>{1});
        QCOMPARE(readBytes(pupilTime), QByteArray(" 5 \r\n"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsTest)
#include "tst_testsettings.moc"
