#include "network/remoteadminwindow.h"

#include "core/sessionstate.h"
#include "core/textfile.h"
#include "network/classroom.h"
#include "network/pupilfiles.h"
#include "network/sharereader.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "users/messagewindows.h"
#include "users/useradminpanel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <memory>

const QString RemoteAdminWindow::UnreadableText =
    QStringLiteral("Немогу считать информацию с этого компьютера.");
const QString RemoteAdminWindow::BackgroundHint =
    QStringLiteral("В этом окне можно посмотреть 'Достижения' на других компьютерах.");

namespace {
// Runs the work on a share reader; done(false) when it has not ended within the limit, and
// done(true) whenever it ends.
void runOnShare(QObject *context, std::function<void()> work, std::function<void(bool)> done)
{
    auto answered = std::make_shared<bool>(false); // touched on the user-interface thread only
    readOffThread<bool>(
        context,
        [work = std::move(work)] {
            work();
            return true;
        },
        [answered, done](const bool &) {
            *answered = true;
            done(true);
        });
    QTimer::singleShot(RemoteAdminWindow::answerLimitMs, context, [answered, done] {
        if (!*answered)
            done(false);
    });
}
} // namespace

UserAdministration::Storage RemoteAdminWindow::pupilStorage = {
    pupilfiles::readUserBase, pupilfiles::updateUserBase, pupilfiles::userBasePath};

int RemoteAdminWindow::answerLimitMs = 10000;

QString RemoteAdminWindow::notAnsweredText(int computer)
{
    return QStringLiteral("Компьютер № %1 не ответил вовремя: база пользователей на нём не "
                          "прочитана, изменения отменены (если он успел их записать, здесь будет "
                          "сказано). Попробуйте позже.")
        .arg(computer);
}

QString RemoteAdminWindow::changedLateText(int computer)
{
    return QStringLiteral("Компьютер № %1 ответил позже: изменения в базе пользователей на нём "
                          "записаны.")
        .arg(computer);
}

QString RemoteAdminWindow::testingText(int computer, const UserRecord &record)
{
    return QStringLiteral("%1 %2 сейчас проходит тест на компьютере № %3. Если изменить или "
                          "удалить его, результат этого теста не сохранится. Продолжить?")
        .arg(record.surname, record.firstName)
        .arg(computer);
}

RemoteAdminWindow::RemoteAdminWindow(AppContext &context)
    : NetWindow(context, QStringLiteral("frmNETBOSS"),
                QString(30, u' ') + QStringLiteral("\"Достижения\" на сетевом компьютере"))
{
    auto *numberLabel =
        addLabel(QStringLiteral("Метка4"), QStringLiteral("Выберите номер компьютера"));
    m_computers = new QComboBox(this);
    m_computers->setObjectName(QStringLiteral("cOmBo4"));
    m_computers->setAccessibleName(QStringLiteral("Выберите номер компьютера"));
    numberLabel->setBuddy(m_computers);
    hover()->addHint(m_computers, QStringLiteral("Выбирайте номер компьютера."));
    QLabel *status = addStatusBar();
    hover()->setStatusLine(status, BackgroundHint);

    UserAdminPanel::Options options;
    options.pictureButtons = false;
    options.unreadableText = UnreadableText;
    options.storage = pupilStorage;
    options.runAway = runOnShare;
    options.confirmChange = [this](const UserRecord &record) { return confirmChange(record); };
    // The pupil's program stores a grade in the slot of its test in the catalogue.
    for (const QString &name : m_context.session.catalogue.names)
        options.resultNames << name;
    options.changedLate = [&context = m_context,
                           window = QPointer<RemoteAdminWindow>(this)](const QString &folder) {
        const auto &paths = context.classroom.folders();
        const int computer = int(std::find(paths.begin(), paths.end(), folder) - paths.begin()) + 1;
        if (window && window->isVisible())
            window->hover()->showHint(changedLateText(computer));
        else // closed since: the change must not land unnoticed
            InfoWindow::tell(context, changedLateText(computer));
    };
    m_panel = new UserAdminPanel(m_context, *hover(), options, this);
    connect(m_panel, &UserAdminPanel::notAnswered, this,
            [this] { hover()->showHint(notAnsweredText(chosenComputer())); });

    // The Latin "C" of "Cетевая" is kept on purpose: the hint has always been written so.
    QPushButton *exit =
        addButton(QStringLiteral("btnRETURN"), QStringLiteral("Выход"),
                  QStringLiteral("Нажми, чтобы вернуться в меню 'Cетевая версия'."));
    setEscapeButton(exit);
    connect(exit, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Pick);
        close();
    });

    auto *grid = new QGridLayout(this);
    grid->addWidget(numberLabel, 0, 0);
    grid->addWidget(m_computers, 0, 1);
    grid->addWidget(m_panel, 1, 0, 1, 3);
    grid->addWidget(exit, 2, 2);
    grid->addWidget(status, 3, 0, 1, 3);

    fillComputers();
    connect(m_computers, &QComboBox::activated, this, &RemoteAdminWindow::chooseComputer);
    if (m_computers->count() > 0)
        chooseComputer();
}

int RemoteAdminWindow::computerOf(const QString &item)
{
    return textfile::leadingInt(item.mid(1));
}

void RemoteAdminWindow::fillComputers()
{
    for (const int i : m_context.classroom.configured())
        m_computers->addItem(QStringLiteral("№ ") + QString::number(i));
    if (m_computers->count() > 0)
        m_computers->setCurrentIndex(0);
}

int RemoteAdminWindow::chosenComputer() const
{
    return computerOf(m_computers->currentText());
}

// The pupil's base is read off the user-interface thread: a computer that is off only keeps
// the lists waiting, never the window.
void RemoteAdminWindow::chooseComputer()
{
    const int computer = chosenComputer();
    if (computer < 1 || computer > Classroom::MaxComputers)
        return;
    m_panel->setBaseFile(m_context.classroom.folder(computer));
}

// The pupil named in the computer's curr_test.ini, as the monitor last read it, is testing:
// renamed or deleted now, his result would find no user to go to.
bool RemoteAdminWindow::confirmChange(const UserRecord &record)
{
    const int computer = chosenComputer();
    if (computer < 1 || computer > Classroom::MaxComputers)
        return true;
    const PupilStatus status = m_context.classroom.pupil(computer);
    if (status.damaged || !record.hasNames(status.firstName, status.surname))
        return true;
    return ConfirmWindow::ask(m_context, testingText(computer, record));
}

void RemoteAdminWindow::closeEvent(QCloseEvent *event)
{
    m_panel->dropUnfinished();
    m_context.cues.play(Cue::Close);
    showMonitor();
    event->accept();
}
