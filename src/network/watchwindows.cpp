#include "network/watchwindows.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"
#include "core/windowhub.h"
#include "network/classroom.h"
#include "network/monitorwindow.h"
#include "network/pupilfiles.h"
#include "network/sharereader.h"
#include "reading/pictureviewer.h"
#include "ui/answerbutton.h"
#include "ui/answergroup.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/textcolours.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QColor darkRed(128, 0, 0);

using textcolours::setTextColour;
} // namespace

// The chooser.

WatchChoiceWindow::WatchChoiceWindow(AppContext &context)
    : NetWindow(context, QStringLiteral("frmUSERchange"), QStringLiteral("Выбор пользователя."))
{
    auto *prompt = addLabel(QStringLiteral("Метка1"),
                            QStringLiteral("Выберите пользователя и нажмите \"ОК\""));
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("Combo1"));
    m_list->setAccessibleName(QStringLiteral("Пользователь"));
    m_list->setMinimumWidth(300);
    prompt->setBuddy(m_list);
    hover()->addHint(m_list, QStringLiteral("Компьютеры, на которых проводилось тестирование"));
    QPushButton *ok = addButton(QStringLiteral("Комманда1"), QStringLiteral("ok"),
                                QStringLiteral("Следить за выбранным пользователем"));
    QPushButton *cancel = addButton(QStringLiteral("Комманда2"), QStringLiteral("Отмена"),
                                    QStringLiteral("Вернуться в меню 'Сетевая версия'"));
    connect(ok, &QPushButton::clicked, this, &WatchChoiceWindow::accept);
    connect(cancel, &QPushButton::clicked, this, &WatchChoiceWindow::close);
    setEscapeButton(cancel);
    auto *grid = new QGridLayout(this);
    grid->addWidget(prompt, 0, 0, 1, 2);
    grid->addWidget(m_list, 1, 0, 1, 2);
    grid->addWidget(ok, 2, 0);
    grid->addWidget(cancel, 2, 1);
    grid->addWidget(addStatusBar(), 3, 0, 1, 2);
}

int WatchChoiceWindow::computerOf(const QString &item)
{
    return textfile::leadingInt(item.mid(1, 2));
}

void WatchChoiceWindow::showEvent(QShowEvent *event)
{
    m_context.windows.hide<MonitorWindow>();
    fill();
    NetWindow::showEvent(event);
}

void WatchChoiceWindow::fill()
{
    m_list->clear();
    const int generation = ++m_generation;
    for (const int i : m_context.classroom.configured()) {
        const QString file = pupilfiles::pathOf(m_context.classroom.folder(i),
                                                QStringLiteral("data/") + datafiles::SessionFile);
        readOffThread<bool>(
            this, [file] { return QFileInfo::exists(file); },
            [this, i, generation](const bool &exists) {
                if (exists && generation == m_generation)
                    addComputer(i);
            });
    }
}

// Items come back in any order; they are kept in computer order.
void WatchChoiceWindow::addComputer(int computer)
{
    const PupilStatus pupil = m_context.classroom.pupil(computer);
    const QString item = QStringLiteral("№") + QString::number(computer) + u' ' + pupil.surname +
                         u' ' + pupil.firstName;
    int at = 0;
    while (at < m_list->count() && computerOf(m_list->itemText(at)) < computer)
        ++at;
    m_list->insertItem(at, item);
    if (m_list->currentIndex() < 0 || at == 0)
        m_list->setCurrentIndex(0);
}

void WatchChoiceWindow::accept()
{
    m_context.cues.play(Cue::Pick);
    if (m_list->currentIndex() < 0)
        return;
    const int computer = computerOf(m_list->currentText());
    m_context.windows.close<WatchWindow>();
    if (auto *watch = m_context.windows.open<WatchWindow>()) {
        watch->watch(computer);
        hide();
    }
}

void WatchChoiceWindow::closeEvent(QCloseEvent *event)
{
    m_context.cues.play(Cue::Oou);
    showMonitor();
    event->accept();
}

// The watch window.

WatchWindow::WatchWindow(AppContext &context)
    : NetWindow(context, QStringLiteral("frmNetLog"),
                QStringLiteral("Наблюдение за пользователем")),
      m_flow(0)
{
    buildControls();
    m_refresh->hide();
    m_notice->setText(WatchFlow::AnswerNotice);
}

void WatchWindow::watch(int computer)
{
    m_flow = WatchFlow(computer);
    m_files = WatchedFiles();
    m_timer1->start(100);
}

void WatchWindow::buildControls()
{
    m_frame2 = new QGroupBox(QStringLiteral("Вопрос № "), this);
    m_frame2->setObjectName(QStringLiteral("Frame2"));
    m_question = addLabel(QStringLiteral("QESTION"), QStringLiteral("Вопрос"));
    m_question->setAccessibleName(QStringLiteral("Вопрос"));
    m_question->setMinimumWidth(480);
    (new QVBoxLayout(m_frame2))->addWidget(m_question);
    m_answers = new AnswerGroup(AnswerGroup::Use::Showing, this);
    std::array<QString, 5> placeholders;
    for (int n = 1; n <= 5; ++n) {
        placeholders[n - 1] = QStringLiteral("Ответ ") + QString::number(n);
        // One name for the five, as the watch window has always had.
        m_answers->button(n)->setObjectName(QStringLiteral("OTVET"));
    }
    m_answers->setAnswers(placeholders);
    m_test = addLabel(QStringLiteral("metTEST"), QString());
    m_test->setTextFormat(Qt::PlainText);
    m_topic = addLabel(QStringLiteral("lbTema"), QString());
    m_watching = addLabel(QStringLiteral("metSLEJKA"), QString());
    m_rightAnswers = addLabel(QStringLiteral("metGOOD"), QString());
    m_grade = addLabel(QStringLiteral("metOcenka"), QStringLiteral("Оценка:"));
    m_notice = addLabel(QStringLiteral("metINFA"), QString());
    m_notice->setAccessibleDescription(QStringLiteral("Сообщение"));
    m_prev = addButton(QStringLiteral("btnPREV"), QStringLiteral("Предыдущий"),
                       QStringLiteral("Предыдущий ответ пользователя"));
    m_next = addButton(QStringLiteral("btnNEXT"), QStringLiteral("Следующий"),
                       QStringLiteral("Следующий ответ пользователя"));
    m_picture = addButton(QStringLiteral("btnRIS"), QStringLiteral("Рисунок"),
                          QStringLiteral("Рисунок к вопросу"));
    m_refresh = addButton(QStringLiteral("btnRefresH"), QStringLiteral("Обновить"),
                          QStringLiteral("Включить автоматическое обновление"));
    QPushButton *exit = addButton(QStringLiteral("Комманда1"), QStringLiteral("Выход"),
                                  QStringLiteral("Вернуться в меню 'Сетевая версия'"));
    connect(m_next, &QPushButton::clicked, this, &WatchWindow::goNext);
    connect(m_prev, &QPushButton::clicked, this, &WatchWindow::goPrevious);
    connect(m_refresh, &QPushButton::clicked, this, &WatchWindow::followAgain);
    connect(m_picture, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Pick);
        if (auto *viewer = m_context.windows.load<PictureViewer>())
            viewer->showFor(m_flow.view().picture, this);
    });
    connect(exit, &QPushButton::clicked, this, &WatchWindow::close);
    setEscapeButton(exit);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_watching, 0, 0, 1, 5);
    grid->addWidget(m_test, 1, 0, 1, 5);
    grid->addWidget(m_topic, 2, 0, 1, 5);
    grid->addWidget(m_frame2, 3, 0, 1, 5);
    grid->addWidget(m_answers, 4, 0, 1, 5);
    grid->addWidget(m_rightAnswers, 5, 0, 1, 2);
    grid->addWidget(m_grade, 5, 2, 1, 3);
    grid->addWidget(m_notice, 6, 0, 1, 5);
    const QList<QPushButton *> buttons = {m_prev, m_next, m_picture, m_refresh, exit};
    for (int c = 0; c < buttons.size(); ++c)
        grid->addWidget(buttons.at(c), 7, c);
    grid->addWidget(addStatusBar(), 8, 0, 1, 5);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    connect(m_timer1, &QTimer::timeout, this, &WatchWindow::refresh);
    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer2->setInterval(500);
    connect(m_timer2, &QTimer::timeout, this, &WatchWindow::blink);
}

void WatchWindow::refresh()
{
    m_timer1->setInterval(RefreshMs);
    const int computer = m_flow.computer();
    if (computer < 1 || computer > Classroom::MaxComputers)
        return;
    const qint64 now = steadyMs();
    if (m_reading) {
        // The look still hangs: said once it is overdue; it goes on when the look comes back.
        if (!m_flow.lost() && now - m_readingSince > PupilLive::LostAfterMs) {
            m_flow.setLost(true);
            m_notice->setText(m_flow.notice());
        }
        return;
    }
    m_reading = true;
    m_readingSince = now;
    readOffThread<WatchLook>(
        this,
        [folder = m_context.classroom.folder(computer), seen = m_files, now] {
            return WatchLook::take(folder, seen, now);
        },
        [this](const WatchLook &look) { received(look); });
}

// A file that is gone or cannot be read leaves the question on screen as it is; the notice
// says what happened.
void WatchWindow::received(const WatchLook &look)
{
    m_reading = false;
    m_files.looked(look, steadyMs(), QDateTime::currentMSecsSinceEpoch());
    const bool wasLost = m_flow.lost();
    m_flow.setLost(false);
    if (m_flow.state() == WatchFlow::State::Browsing)
        return;
    const bool done = look.status == pupilfiles::Status::Done;
    if (look.read && done)
        m_flow.refreshed(look.watched);
    else if (look.read)
        m_flow.readFailed(look.status);
    else if (!wasLost)
        return;
    m_notice->setText(m_flow.notice());
    showSlot();
    if (look.read && done)
        Q_EMIT refreshed();
}

void WatchWindow::showSlot()
{
    const WatchView v = m_flow.view();
    m_frame2->setTitle(v.frameCaption);
    m_question->setText(v.question);
    m_test->setText(v.test);
    m_answers->setVisible(v.answersShown);
    if (v.noTest) {
        m_answers->setAnswers(v.answers);
        m_prev->hide();
        m_next->hide();
        m_picture->hide();
        return;
    }
    m_prev->setVisible(v.previousVisible);
    m_next->setVisible(v.nextVisible);
    m_topic->setText(v.topic);
    m_watching->setText(v.watching);
    showAnswers(v);
    m_rightAnswers->setText(v.rightAnswers);
    m_grade->setText(v.grade);
    m_picture->setVisible(v.pictureVisible);
    fitContents();
}

void WatchWindow::showAnswers(const WatchView &view)
{
    m_answers->setAnswers(view.answers);
    m_answers->mark(view.checked, darkRed);
}

void WatchWindow::closePicture()
{
    m_context.windows.close<PictureViewer>();
}

void WatchWindow::goNext()
{
    m_context.cues.play(Cue::Pick);
    closePicture();
    m_flow.next();
    showSlot();
}

void WatchWindow::goPrevious()
{
    m_context.cues.play(Cue::Pick);
    closePicture();
    m_flow.previous();
    m_notice->setText(m_flow.notice());
    m_timer2->start();
    m_refresh->show();
    m_timer1->stop();
    showSlot();
}

void WatchWindow::followAgain()
{
    m_context.cues.play(Cue::Hihihih);
    m_flow.follow();
    m_files = WatchedFiles(); // the next refresh reads the files, changed or not
    m_timer2->stop();
    setNoticeLit(false);
    m_notice->setText(m_flow.notice());
    m_timer1->start(1);
}

void WatchWindow::blink()
{
    if (!m_flow.blink())
        m_timer2->stop();
    setNoticeLit(m_flow.blinkLit());
}

void WatchWindow::setNoticeLit(bool lit)
{
    setTextColour(m_notice, lit ? darkRed : m_answers->palette().color(QPalette::WindowText));
}

void WatchWindow::closeEvent(QCloseEvent *event)
{
    m_timer1->stop();
    m_timer2->stop();
    closePicture();
    showMonitor();
    m_context.cues.play(Cue::Close);
    event->accept();
}
