#include "testing/results.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"
#include "testing/testrun.h"
#include "users/useradministration.h"
#include "users/userbase.h"

#include <QDir>
#include <QMutex>
#include <QPromise>
#include <QThreadPool>
#include <QWaitCondition>

#include <memory>

namespace {
struct Description
{
    const char *name;
    const char *text;
};

const Description descriptions[] = {
    {"Проверка зависимостей", "Тест содержит вопросы по разделу 'Проверка зависимостей'."},
    {"Светофоры", "Тест содержит вопросы по разделу 'Светофоры', посвящен проверке знаний "
                  "обслуживания светофоров."},
    {"Стрелки", "Тест содержит вопросы по разделу 'Стрелки', посвящен проверке знаний "
                "обслуживания стрелок, приводов."},
    {"Стрелки с контрольными замками",
     "Тест содержит вопросы по разделу 'Стрелки, оборудованные контрольными замками'."},
    {"Рельсовые цепи", "Тест содержит вопросы по разделу 'Рельсовые цепи', посвящен проверке "
                       "знаний по обслуживанию р.ц."},
    {"Аппараты управления. АПС", "Тест содержит вопросы по разделам 'Аппараты управления' и "
                                 "'Автоматическая переездная сигнализация'."},
    {"Устройства тоннельной и мостовой сигнализации",
     "Тест содержит вопросы по разделу 'Устройства тоннельной и мостовой сигнализации'."},
    {"КГУ. САУТ", "Тест содержит вопросы по разделам 'Контрольно-габаритные устройства' и 'САУТ'."},
    {"Кабельная сеть. Воздушная сигнальная линия",
     "Тест содержит вопросы по разделам 'Кабельная сеть. Внутренний монтаж' и 'Воздушная "
     "сигнальная линия'."},
    {"Устройства электропитания. Аккумуляторы",
     "Тест содержит вопросы по разделам 'Устройства электропитания' и 'Аккумуляторы'."},
    {"ДГА", "Тест содержит вопросы по разделу 'Дизель-генераторный агрегат', посвящен проверке "
            "знаний по обслуживанию ДГА."},
    {"Защитные устройства. Штепсельные розетки",
     "Тест содержит вопросы по разделам 'Защитные устройства' и 'Приборы СЦБ.Штепсельные "
     "розетки'."},
    {"Железобетонные конструкции", "Тест содержит вопросы по разделу 'Железобетонные "
                                   "конструкции', посвящен проверке знаний по обслуживанию жб "
                                   "конструкций."},
    {"Тест по всему курсу", "Тест содержит 100 вопросов по всем темам предмета."},
};
constexpr int TopicTests = 13;
constexpr int AchievementRows = 14;

// Grades are stored in the order they were given: each store writes the user's whole record as
// the session held it, so an earlier record landing last would take a later grade back.
class StoreQueue
{
public:
    static StoreQueue &instance()
    {
        static StoreQueue queue;
        return queue;
    }
    quint64 take()
    {
        QMutexLocker locked(&m_mutex);
        return m_issued++;
    }

    class Turn
    {
    public:
        explicit Turn(quint64 turn) : m_queue(instance())
        {
            QMutexLocker locked(&m_queue.m_mutex);
            while (m_queue.m_current != turn)
                m_queue.m_next.wait(&m_queue.m_mutex);
        }
        ~Turn()
        {
            QMutexLocker locked(&m_queue.m_mutex);
            ++m_queue.m_current;
            m_queue.m_next.wakeAll();
        }
        Q_DISABLE_COPY_MOVE(Turn)

    private:
        StoreQueue &m_queue;
    };

private:
    QMutex m_mutex;
    QWaitCondition m_next;
    quint64 m_issued = 0;
    quint64 m_current = 0;
};
} // namespace

TestGrade gradeOf(const SessionState &session, const TestRun &run)
{
    return {run.name(), run.grade(), testReturnTarget(session, run) == TestReturn::Reader};
}

QFuture<ResultStore> storeTestResult(SessionState &session, const TestGrade &grade,
                                     const QString &baseFile)
{
    bool slotFound = false;
    for (int k = 0; k < SessionState::CatalogueSlots; ++k) {
        if (session.catalogue.names.at(k) == grade.testName) {
            session.user.results[k] = QString::number(grade.grade);
            slotFound = true;
        }
    }
    auto promise = std::make_shared<QPromise<ResultStore>>();
    promise->start();
    QFuture<ResultStore> stored = promise->future();
    // The application waits for the global pool when it ends: a grade being stored still lands.
    const ResultStore unslotted =
        grade.paragraphTest ? ResultStore::ParagraphTest : ResultStore::NoCatalogueSlot;
    QThreadPool::globalInstance()->start([promise, snapshot = session, baseFile, slotFound,
                                          unslotted, turn = StoreQueue::instance().take()] {
        StoreQueue::Turn inTurn(turn);
        const bool written = renewCurrentUser(snapshot, baseFile);
        promise->addResult(!slotFound ? unslotted
                           : written  ? ResultStore::Stored
                                      : ResultStore::BaseNotWritten);
        promise->finish();
    });
    return stored;
}

QString resultStoreNotice(ResultStore outcome, const QString &testName, const QString &baseFile)
{
    switch (outcome) {
    case ResultStore::Stored:
        return {};
    case ResultStore::ParagraphTest:
        return QStringLiteral("Это тест по параграфу: его оценка не записывается в ваши "
                              "результаты.");
    case ResultStore::NoCatalogueSlot:
        return QStringLiteral("Оценка не записана в ваши результаты: теста «%1» нет в каталоге "
                              "тестов.")
            .arg(testName);
    case ResultStore::BaseNotWritten:
        return QStringLiteral("Оценку не удалось записать в ваши результаты: не записан файл "
                              "%1.")
            .arg(QDir::toNativeSeparators(baseFile));
    }
    return {};
}

namespace {
// The catalogue slots after the course's own that hold a school's test.
QList<int> schoolTestSlots(const SessionState &session)
{
    QList<int> slots;
    for (int k = AchievementRows; k < SessionState::CatalogueSlots; ++k) {
        if (!session.catalogue.names.at(k).isEmpty())
            slots << k;
    }
    return slots;
}
} // namespace

QStringList achievementTopics(const SessionState &session)
{
    QStringList topics;
    for (int k = 0; k < TopicTests; ++k)
        topics << QString::fromUtf8(descriptions[k].name);
    topics << QStringLiteral("Тест по курсу");
    for (int k : schoolTestSlots(session))
        topics << session.catalogue.names.at(k);
    return topics;
}

QString gradeWord(int grade)
{
    return UserAdministration::gradeWord(UserAdministration::gradeOfNumber(grade));
}

QStringList achievementGrades(const SessionState &session)
{
    QStringList grades;
    for (int k = 0; k < AchievementRows; ++k)
        grades << gradeWord(textfile::leadingInt(session.user.results.at(k)));
    for (int k : schoolTestSlots(session))
        grades << gradeWord(textfile::leadingInt(session.user.results.at(k)));
    return grades;
}

QString testDescriptionForName(const QString &listText)
{
    for (const Description &d : descriptions) {
        if (listText == QString::fromUtf8(d.name))
            return QString::fromUtf8(d.text);
    }
    return {};
}

QString testDescriptionForBank(const QString &bankFile)
{
    const QString file = bankFile.toLower();
    if (file == datafiles::CourseBankFile)
        return QString::fromUtf8(descriptions[TopicTests].text);
    for (int k = 0; k < TopicTests; ++k) {
        if (file == QStringLiteral("t01_%1.jpg").arg(96 + k))
            return QString::fromUtf8(descriptions[k].text);
    }
    return {};
}

QString pauseSentence()
{
    return QStringLiteral(" Во время прохождения теста вы можете взять 3 паузы (пауза "
                          "активируется после ответа на вопрос).");
}

QString testIntroduction(const QString &bankFile, int questionCount)
{
    QString description = testDescriptionForBank(bankFile);
    if (description.isEmpty()) {
        const int lastTwo = questionCount % 100;
        const int last = questionCount % 10;
        const char *word = lastTwo >= 11 && lastTwo <= 14 ? "вопросов"
                           : last == 1                    ? "вопрос"
                           : last >= 2 && last <= 4       ? "вопроса"
                                                          : "вопросов";
        description =
            QStringLiteral("Тест содержит %1 %2.").arg(questionCount).arg(QString::fromUtf8(word));
    }
    return description + pauseSentence() + QStringLiteral("  И так, готовы?");
}

QString practiceIntroduction(int questionCount)
{
    return QStringLiteral("Вопросы, на которые вы ответили неверно. Оценка не ставится; вопрос "
                          "уходит из этого списка, когда вы верно ответите на него дважды, в "
                          "разные дни. ") +
           testIntroduction(QString(), questionCount);
}

TestReturn testReturnTarget(const SessionState &session, const TestRun &run)
{
    if (run.isPractice())
        return TestReturn::Results;
    if (run.fromChoice())
        return TestReturn::TopicChoice;
    if (session.mode == SessionMode::CourseTest)
        return TestReturn::MainMenu;
    return TestReturn::Reader;
}

PauseText pauseTexts(int pausesUsed)
{
    PauseText text{QStringLiteral("Вы взяли тайм-аут"), QString(),
                   QStringLiteral("Как сделаете свои дела жмите на кнопку")};
    if (pausesUsed == 1)
        text.count = QStringLiteral("У Вас есть еще 2 паузы");
    else if (pausesUsed == 2)
        text.count = QStringLiteral("У вас осталась только 1 пауза");
    else if (pausesUsed == 3)
        text.count = QStringLiteral("Это ваша последняя пауза");
    return text;
}
