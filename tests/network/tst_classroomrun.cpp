#include "app/application.h"
#include "network/monitormodel.h"
#include "network/monitorwindow.h"
#include "network/pupillive.h"
#include "network/pupilpoller.h"
#include "testing/catalogue.h"
#include "testing/questionbank.h"

#include "classroomfolders.h"
#include "privatedesk.h"
#include "windowsupport.h"

#include <QLabel>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <memory>

namespace {

const QString Python = "/usr/bin/python3";

// The right answer of every question of a bank, found by the set of its answers.
class AnswerKey
{
public:
    explicit AnswerKey(const QString &bankPath)
    {
        QRandomGenerator random(1);
        const PreparedTest test = loadQuestionBank(bankPath, random);
        m_count = test.bank.lastIndex + 1;
        for (int i = 0; i < m_count; ++i) {
            const BankRecord &r = test.bank.records[size_t(i)];
            m_right[key({r.answers.begin(), r.answers.end()})] << r.answers[size_t(r.correct - 1)];
        }
    }

    int questionCount() const { return m_count; }

    // The right answer among the answers shown; empty when they fit no question or more than
    // one with different right answers.
    QString rightAnswer(const QStringList &shown) const
    {
        const QSet<QString> right = m_right.value(key(shown));
        return right.size() == 1 ? *right.begin() : QString();
    }

private:
    static QString key(QStringList answers)
    {
        answers.sort();
        return answers.join(u'\n');
    }

    QHash<QString, QSet<QString>> m_right;
    int m_count = 0;
};

// The pupil's real program, started in its own folder on the desk. It is stopped when this goes,
// and what it said is shown when the test failed. Its output goes to a file, so that a program
// that says much never blocks on a full pipe.
class PupilProgram
{
public:
    PupilProgram(const QString &folder, const QString &built, const QProcessEnvironment &env)
    {
        const QString program = folder + QFileInfo(built).fileName();
        if (!QFile::exists(program) && !QFile::copy(built, program)) {
            m_fault = QStringLiteral("could not copy ") + built + QStringLiteral(" to ") + folder;
            return;
        }
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(folder);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setStandardOutputFile(m_log.filePath(QStringLiteral("pupil.log")));
        stopWithParent(m_process);
        m_process.start(program, {});
        if (!m_process.waitForStarted(10000))
            m_fault = program + " did not start: " + m_process.errorString();
    }
    ~PupilProgram()
    {
        stop(m_process);
        if (QTest::currentTestFailed())
            qWarning().noquote() << "The pupil's program said:\n" << said();
    }

    // Empty while the program runs; otherwise why it does not, with what it said.
    QString fault() const
    {
        if (!m_fault.isEmpty() || m_process.state() == QProcess::Running)
            return m_fault;
        return QStringLiteral("the pupil's program stopped with code %1; it said:\n%2")
            .arg(m_process.exitCode())
            .arg(said());
    }
    qint64 pid() const { return m_process.processId(); }
    // The computer fails: the program dies at once, as in a power cut.
    void crash()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

private:
    QString said() const
    {
        return QString::fromLocal8Bit(readBytes(m_log.filePath(QStringLiteral("pupil.log"))));
    }

    QTemporaryDir m_log;
    QProcess m_process;
    QString m_fault;
};

} // namespace

// A pupil takes a test in the real program on a computer of the classroom while the teacher's
// monitor shows the pupil's row change. The pupil is driven from outside through the program's
// accessibility interface, as a screen reader user would.
class ClassroomRunTest : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<PrivateDesk> m_desk;

    // Runs one step of the pupil robot; false (with the reason in the log) when it failed.
    bool robot(const PupilProgram &pupil, const QStringList &step, QStringList *printed = nullptr)
    {
        QProcess robot;
        robot.setProcessEnvironment(m_desk->environment());
        robot.start(Python,
                    QStringList{QStringLiteral(TARVEL_PUPIL_ROBOT), QString::number(pupil.pid())} +
                        step);
        const bool finished = robot.waitForFinished(40000);
        stop(robot);
        if (!finished || robot.exitStatus() != QProcess::NormalExit || robot.exitCode() != 0) {
            qWarning().noquote() << "The pupil could not" << step.join(u' ') << ":"
                                 << QString::fromUtf8(robot.readAllStandardError());
            return false;
        }
        if (printed)
            *printed =
                QString::fromUtf8(robot.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        return true;
    }

    static QString cell(MonitorWindow *monitor, MonitorModel::Column column)
    {
        return monitor->model()->index(0, column).data().toString();
    }

    // The first row of the monitor shows the pupil at question `current` with `right` answers,
    // and what it says of his last answer.
    static void rowShows(MonitorWindow *monitor, int current, int right, int max,
                         const QString &answered)
    {
        QTRY_COMPARE_WITH_TIMEOUT(cell(monitor, MonitorModel::Current), QString::number(current),
                                  5000);
        QCOMPARE(cell(monitor, MonitorModel::Computer), QStringLiteral("№1"));
        QCOMPARE(cell(monitor, MonitorModel::Name), QStringLiteral("Петров"));
        QCOMPARE(cell(monitor, MonitorModel::Right), QStringLiteral("%1/%2").arg(right).arg(max));
        QCOMPARE(cell(monitor, MonitorModel::Grade), QString());
        QCOMPARE(cell(monitor, MonitorModel::Answered), answered);
        const QModelIndex progress = monitor->model()->index(0, MonitorModel::Progress);
        QCOMPARE(progress.data(MonitorModel::MaximumRole).toInt(), max);
        QCOMPARE(progress.data(MonitorModel::ValueRole).toInt(), current);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // The pupil's computer has a window manager when the teacher's has one.
        PrivateDesk::Options options;
        options.accessibility = true;
        options.windowManager = qEnvironmentVariableIsSet(DeskWindowManagerVariable);
        m_desk = std::make_unique<PrivateDesk>(options);
        const QString fault = m_desk->start();
        if (!fault.isEmpty() && m_desk->programMissing())
            QSKIP(qPrintable("no desk for the pupil's program: " + fault));
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QProcess probe;
        probe.start(Python, {QStringLiteral("-c"), QStringLiteral("import pyatspi")});
        QVERIFY2(probe.waitForFinished(20000) && probe.exitCode() == 0,
                 "python3-pyatspi is needed to drive the pupil's program "
                 "(scripts/install-deps.sh installs it)");
    }

    void cleanup()
    {
        if (QTest::currentTestFailed())
            qWarning().noquote() << "The pupil's desk:\n" << m_desk->log();
    }

    void cleanupTestCase() { m_desk.reset(); }

    void teacherWatchesPupilTakeATest()
    {
        ClassroomFolders room(1, TestProgramFolder::Content::DemoData);
        const QString pupilFolder = room.pupilFolder(1);
        TestProgramFolder::copyTree(QStringLiteral(TARVEL_DEMO_DATA), pupilFolder + "data");

        // The teacher's program with its monitor, looking at the pupil's folder twice a second.
        // When the row's question changes, the time since the pupil's program wrote it.
        const std::unique_ptr<Application> teacher = startApplication(room.teacher());
        const auto closeWindows = qScopeGuard(deleteAllWindows);
        auto *monitor = teacher->windows.open<MonitorWindow>();
        QVERIFY(monitor);
        const QString progressFile = room.pupilData(1, datafiles::ProgressFile);
        QMap<QString, qint64> shownAfterMs;
        connect(monitor->poller(), &PupilPoller::computerRead, monitor, [&] {
            const QString current = cell(monitor, MonitorModel::Current);
            if (!shownAfterMs.contains(current))
                shownAfterMs[current] = QDateTime::currentMSecsSinceEpoch() -
                                        QFileInfo(progressFile).lastModified().toMSecsSinceEpoch();
        });
        QTRY_COMPARE_WITH_TIMEOUT(cell(monitor, MonitorModel::Computer), "№1", 5000);
        QCOMPARE(cell(monitor, MonitorModel::Name), QString());

        // A new pupil starts the program on the pupil's computer and takes the first topic test.
        auto pupil = std::make_unique<PupilProgram>(pupilFolder, QString::fromUtf8(TARVEL_PROGRAM),
                                                    m_desk->environment());
        QVERIFY2(pupil->fault().isEmpty(), qPrintable(pupil->fault()));
        QVERIFY(robot(*pupil, {"login", "Иван", "Петров", "12345"}));
        QVERIFY(robot(*pupil, {"press", "Выбрать тест"}));
        QVERIFY(robot(*pupil, {"press", "Пройти тест"}) && robot(*pupil, {"press", "Начать тест"}));

        SessionState files;
        files.setProgramFolder(pupilFolder);
        QVERIFY(readTestCatalogue(files, files.jpgPath(datafiles::TestCatalogueFile)));
        const AnswerKey key(files.jpgPath(files.catalogue.files.at(0)));
        const int max = key.questionCount();
        QVERIFY(max > 3);
        rowShows(monitor, 1, 0, max, PupilLive::NoAnswerText);
        if (QTest::currentTestFailed())
            return;

        // Right, wrong, right, and after the crash below right again: the row follows every
        // answer.
        int right = 0;
        for (int question = 1; question <= 4; ++question) {
            if (question == 4) {
                // The pupil's computer fails mid-test. Started again, his program offers him
                // after his login to go on: the test goes on at the next question with his
                // answers kept.
                pupil->crash();
                pupil = std::make_unique<PupilProgram>(
                    pupilFolder, QString::fromUtf8(TARVEL_PROGRAM), m_desk->environment());
                QVERIFY2(pupil->fault().isEmpty(), qPrintable(pupil->fault()));
                QVERIFY(robot(*pupil, {"login", "Иван", "Петров", "12345"}));
                QVERIFY(robot(*pupil, {"press", "Продолжить"}));
            }
            QStringList shown;
            QVERIFY(robot(*pupil, {"question"}, &shown));
            QCOMPARE(shown.size(), 6);
            QCOMPARE(shown.at(0), QStringLiteral("Вопрос № %1").arg(question));
            const QString correct = key.rightAnswer(shown.mid(1));
            QVERIFY2(!correct.isEmpty(), qPrintable(shown.join(u'\n')));
            const bool answerRight = question != 2;
            const QString choice = answerRight ? correct : shown.at(shown.at(1) == correct ? 2 : 1);
            QVERIFY(robot(*pupil, {"answer", choice}));
            right += answerRight ? 1 : 0;
            rowShows(monitor, question + 1, right, max, QStringLiteral("только что"));
            if (QTest::currentTestFailed())
                return;
            const qint64 after = shownAfterMs.value(QString::number(question + 1), -1);
            QVERIFY2(after >= 0 && after <= 2000,
                     qPrintable(QStringLiteral("the answer showed after %1 ms").arg(after)));
        }

        // The computer goes off: its folder no longer answers. The row keeps the pupil and says
        // so, and follows him again when the computer is back.
        pupil->crash();
        const QString online = QDir::cleanPath(pupilFolder);
        const QString offline = online + QStringLiteral("-off");
        QVERIFY(QDir().rename(online, offline));
        QTRY_COMPARE_WITH_TIMEOUT(cell(monitor, MonitorModel::Answered),
                                  PupilLive::NoConnectionText, 3000);
        QCOMPARE(cell(monitor, MonitorModel::Name), QStringLiteral("Петров"));
        QVERIFY(QDir().rename(offline, online));
        QTRY_VERIFY_WITH_TIMEOUT(
            cell(monitor, MonitorModel::Answered) != PupilLive::NoConnectionText, 3000);
        QCOMPARE(cell(monitor, MonitorModel::Current), QStringLiteral("5"));
    }
};

QTEST_MAIN(ClassroomRunTest)
#include "tst_classroomrun.moc"
