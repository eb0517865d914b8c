#include "testing/achievements.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "network/sharereader.h"
#include "testing/attemptviews.h"
#include "testing/mistakepractice.h"
#include "testing/results.h"
#include "testing/testnavigation.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/skinbutton.h"
#include "users/messagewindows.h"

#include <QChartView>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTimer>

AchievementsWindow::AchievementsWindow(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("frmDOSTIG"), QString())
{
    const SessionState &s = m_context.session;
    const QString who = s.user.surname + QStringLiteral("  ") + s.user.firstName;
    setWindowTitle(QStringLiteral("Доска почета пользователя: ") + who);
    setAccessibleName(windowTitle());
    auto *heading =
        addLabel(QStringLiteral("Метка2"), QStringLiteral("Результаты пользователя: ") + who);
    auto *intro = addLabel(QStringLiteral("Метка1"),
                           QStringLiteral("Тесты пройдены вами со следующими результатами :"));
    auto *m10 = addLabel(QStringLiteral("m10"), QStringLiteral("отлично"));
    m_grades = newGradeTable();
    intro->setBuddy(m_grades);
    SkinButton *exit =
        addSkinButton(QStringLiteral("comEXIT"), QStringLiteral("dostig/return"),
                      QStringLiteral("Назад"), QStringLiteral("Вернуться в главное меню"));
    QPushButton *minimise =
        addTitleButton(QStringLiteral("btnSVER"), QStringLiteral("_"), QStringLiteral("Свернуть"));
    QPushButton *close =
        addTitleButton(QStringLiteral("btnUNLOAD"), QStringLiteral("X"), QStringLiteral("Закрыть"));
    setEscapeButton(close);
    m_mistakes = new QPushButton(QStringLiteral("Работа над ошибками"), this);
    m_mistakes->setObjectName(QStringLiteral("btnMISTAKES"));
    m_mistakes->setAccessibleName(m_mistakes->text());
    hover()->addHint(m_mistakes,
                     QStringLiteral("Ещё раз ответить на вопросы, в которых вы ошиблись"));
    for (QLabel *label : {heading, intro, m10})
        dragger()->addHandle(label);

    auto *grid = new QGridLayout(this);
    grid->addWidget(heading, 0, 0);
    grid->addWidget(minimise, 0, 1);
    grid->addWidget(close, 0, 2);
    grid->addWidget(intro, 1, 0, 1, 3);
    grid->addWidget(m_grades, 2, 0, 1, 3);
    grid->addWidget(m10, 3, 0);
    grid->addWidget(m_mistakes, 3, 1);
    grid->addWidget(exit, 3, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
    m_attempts = attemptviews::newTable(this, QStringLiteral("tblAttempts"));
    m_chart = attemptviews::newChart(this, QStringLiteral("chartGrades"));
    hover()->addHint(m_attempts, m_attempts->accessibleDescription());
    hover()->addHint(m_chart, m_chart->accessibleDescription());
    grid->addWidget(m_attempts, 4, 0, 1, 3);
    grid->addWidget(m_chart, 5, 0, 1, 3);

    const QString first = s.user.results.at(0).trimmed();
    if (first.isEmpty() || first == QLatin1String("0"))
        m10->clear();
    fillAchievements();

    connect(m_mistakes, &QPushButton::clicked, this, &AchievementsWindow::practiseMistakes);
    connect(exit, &SkinButton::clicked, this, &AchievementsWindow::leave);
    connect(close, &QPushButton::clicked, this, &AchievementsWindow::leave);
    connect(minimise, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Pick);
        showMinimized();
    });
    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("TIMer"));
    timer->setSingleShot(true);
    timer->setInterval(300);
    connect(timer, &QTimer::timeout, this, [this] { m_context.cues.play(Cue::Dostig); });
    timer->start();
    resize(760, 720);
}

// Topic and grade in one row, so that they scroll together and are read as one.
QTableWidget *AchievementsWindow::newGradeTable()
{
    QTableWidget *table = attemptviews::newReadOnlyTable(
        this, QStringLiteral("SpiS1"), {QStringLiteral("Тема"), QStringLiteral("Оценка")},
        QStringLiteral("Выделить все оценки"));
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table->setAccessibleName(QStringLiteral("Оценки по темам"));
    table->setAccessibleDescription(QStringLiteral("Тема теста и последняя оценка за него"));
    hover()->addHint(table, table->accessibleDescription());
    return table;
}

void AchievementsWindow::fillAchievements()
{
    const QStringList topics = achievementTopics(m_context.session);
    const QStringList grades = achievementGrades(m_context.session);
    m_grades->setRowCount(int(topics.size()));
    for (int row = 0; row < topics.size(); ++row) {
        m_grades->setItem(row, 0, new QTableWidgetItem(topics[row]));
        m_grades->setItem(row, 1, new QTableWidgetItem(grades.value(row)));
    }
    const SessionState &s = m_context.session;
    const QList<journal::Attempt> mine = journal::ofUser(
        journal::read(s.dataPath(datafiles::JournalFile)), s.user.firstName, s.user.surname);
    attemptviews::fillTable(m_attempts, mine);
    attemptviews::fillChart(m_chart, mine);
}

void AchievementsWindow::practiseMistakes()
{
    const SessionState &s = m_context.session;
    m_mistakes->setEnabled(false);
    const QString answers = s.dataPath(datafiles::AnswerJournalFile);
    const QString program = s.programFolder;
    const QString first = s.user.firstName;
    const QString second = s.user.surname;
    // The journal may hold a few megabytes: it and the banks are read off the window thread.
    readOffThread<std::shared_ptr<const PreparedTest>>(
        this,
        [answers, program, first, second] {
            return std::make_shared<const PreparedTest>(prepareMistakePractice(
                answers,
                [&program](const QString &bank) {
                    return resolvePath(program, QStringLiteral("data/jpg/") + bank);
                },
                first, second, *QRandomGenerator::global()));
        },
        [this](const std::shared_ptr<const PreparedTest> &practice) { startPractice(practice); });
}

void AchievementsWindow::startPractice(const std::shared_ptr<const PreparedTest> &practice)
{
    m_mistakes->setEnabled(true);
    if (!practice->ok()) {
        InfoWindow::tell(m_context, practice->error);
        return;
    }
    m_context.cues.play(Cue::Pick);
    // Hidden, not closed: closing would bring up the main menu; the practice returns here.
    hide();
    introducePractice(m_context, practice);
}

void AchievementsWindow::leave()
{
    m_closeCue = true;
    close();
}

void AchievementsWindow::closeEvent(QCloseEvent *event)
{
    m_context.cues.play(m_closeCue ? Cue::Close : Cue::Pick);
    m_context.windows.openMenu(WindowHub::Menu::Main);
    event->accept();
}
