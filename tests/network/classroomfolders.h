#pragma once

#include "core/datafiles.h"
#include "core/sessionfiles.h"
#include "core/sessionstate.h"
#include "network/classroom.h"
#include "network/netconfig.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A base with the administrator, the given pupils (surname, first name) and the empty record.
inline void writeUserBase(const QString &path, const QList<std::pair<QString, QString>> &pupils)
{
    UserBase base;
    base.records = {user("vedok", "vedok", "vedok"), UserRecord()};
    for (const auto &[surname, first] : pupils)
        base.registerUser(first, surname, QStringLiteral("111"), base.records.size() - 1);
    QVERIFY(base.save(path));
}

// A classroom on local disk: the teacher's program folder and N pupil program folders, with
// net.ini pointing at them. Pupil sessions are written by the test session's own writers.
class ClassroomFolders
{
public:
    explicit ClassroomFolders(
        int pupils, TestProgramFolder::Content content = TestProgramFolder::Content::Empty)
        : m_teacher(content), m_count(pupils)
    {
        for (int i = 1; i <= pupils; ++i)
            QDir().mkpath(pupilFolder(i) + QStringLiteral("data/jpg"));
        Classroom::Folders folders;
        for (int i = 1; i <= pupils; ++i)
            folders[i - 1] = pupilFolder(i);
        Classroom classroom;
        classroom.assign(pupils, folders);
        saveNetConfig(classroom, netIni());
    }

    const TestProgramFolder &teacher() const { return m_teacher; }
    int count() const { return m_count; }
    QString netIni() const { return m_teacher.data(datafiles::NetConfigFile); }
    // The program folder of pupil i, ending with a separator as net.ini keeps it.
    QString pupilFolder(int i) const
    {
        return m_pupils.path() + QStringLiteral("/pc") + QString::number(i) + u'/';
    }
    QString pupilData(int i, const QString &name) const
    {
        return pupilFolder(i) + QStringLiteral("data/") + name;
    }

    // Pupil i during question `curr` of a `max`-question test with `ok` right answers.
    void progress(int i, const QString &first, const QString &second, int max, int curr, int ok,
                  int grade = 0, const QString &test = QStringLiteral("Рельсовые цепи")) const
    {
        writeProgressFile(pupilData(i, datafiles::ProgressFile),
                          {first, second, test, max, curr, ok, grade});
    }

    // Pupil i has answered `answered` of `max` questions; answer j was (j % 5) + 1.
    void session(int i, const QString &first, const QString &second, int max, int answered, int ok,
                 int grade = 0) const
    {
        SessionRecords records;
        clearSessionRecords(records);
        for (int j = 1; j <= answered; ++j) {
            SessionRecord &r = records[j - 1];
            r.topic = QStringLiteral("Тема ") + QString::number(j);
            r.question = QStringLiteral("Вопрос ") + QString::number(j);
            for (int k = 1; k <= 5; ++k)
                r.answers[k - 1] = QStringLiteral("Ответ %1.%2").arg(j).arg(k);
            r.picture = j == 2 ? QStringLiteral("T01_P01.jpg") : QString();
            r.chosenAnswer = j % 5 + 1;
            r.rightAnswer = 1;
        }
        writeSessionFile(
            pupilData(i, datafiles::SessionFile),
            {first, second, QStringLiteral("Рельсовые цепи"), max, answered, ok, grade}, records);
    }

private:
    TestProgramFolder m_teacher;
    QTemporaryDir m_pupils;
    int m_count;
};
