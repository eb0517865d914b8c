#include "network/setupwindows.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"
#include "core/windowhub.h"
#include "network/classroom.h"
#include "network/monitorwindow.h"
#include "network/netconfig.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/modalscope.h"
#include "users/messagewindows.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {
QString netIni(const AppContext &context)
{
    return context.session.dataPath(datafiles::NetConfigFile);
}

QString programName()
{
    return netsetup::programFileName();
}

QLabel *wrapped(QLabel *label, int width)
{
    label->setMinimumWidth(width);
    label->setWordWrap(true);
    return label;
}

} // namespace

QString netConfigNotWrittenText(const QString &netConfigFile)
{
    return QStringLiteral("Не удалось записать файл ") + QDir::toNativeSeparators(netConfigFile) +
           QStringLiteral(". Настройки сети остались прежними.");
}

// Step 1.

SetupComputerCountStep::SetupComputerCountStep(AppContext &context)
    : NetWindow(context, QStringLiteral("frmNETSetuP1"), QStringLiteral("Настройка сети"))
{
    auto *question = wrapped(
        addLabel(QStringLiteral("Met1"),
                 QStringLiteral("Сколько компьютеров пользователей в сети (не считая компьютера "
                                "преподавателя и сервера)?   Введите число в поле и нажмите "
                                "кнопку \"ок\".")),
        360);
    m_count = new QLineEdit(QStringLiteral("0"), this);
    m_count->setObjectName(QStringLiteral("txt1"));
    m_count->setAccessibleName(QStringLiteral("Количество компьютеров"));
    m_message = addLabel(QStringLiteral("Met2"),
                         QStringLiteral("В это поле введите количество компьютеров"));
    question->setBuddy(m_count);
    m_message->setBuddy(m_count);
    hover()->addHint(m_count, QStringLiteral("В это поле введите количество компьютеров"));
    QPushButton *ok = addButton(QStringLiteral("Комманда1"), QStringLiteral("ok"),
                                QStringLiteral("Принять количество компьютеров"));
    QPushButton *abort =
        addButton(QStringLiteral("Комманда2"), QStringLiteral("Прервать настройку сети"),
                  QStringLiteral("Вернуться без изменения настроек"));
    connect(ok, &QPushButton::clicked, this, &SetupComputerCountStep::accept);
    connect(m_count, &QLineEdit::returnPressed, this, &SetupComputerCountStep::accept);
    connect(abort, &QPushButton::clicked, this, &SetupComputerCountStep::cancel);
    setEscapeButton(abort);
    auto *grid = new QGridLayout(this);
    grid->addWidget(question, 0, 0, 1, 2);
    grid->addWidget(m_count, 1, 0, 1, 2);
    grid->addWidget(m_message, 2, 0, 1, 2);
    grid->addWidget(ok, 3, 0);
    grid->addWidget(abort, 3, 1);
    grid->addWidget(addStatusBar(), 4, 0, 1, 2);
    m_context.windows.hide<MonitorWindow>();
}

void SetupComputerCountStep::accept()
{
    m_context.cues.play(Cue::Pick);
    const netsetup::CountCheck check = netsetup::checkCount(m_count->text());
    switch (check.answer) {
    case netsetup::CountAnswer::Zero:
        m_message->setText(netsetup::ZeroText);
        break;
    case netsetup::CountAnswer::TooMany:
        m_message->setText(netsetup::TooManyText);
        break;
    case netsetup::CountAnswer::Ignored:
        break;
    case netsetup::CountAnswer::Accepted:
        m_context.windows.close<SetupComputerListStep>();
        if (auto *list = m_context.windows.open<SetupComputerListStep>())
            list->start(check.count);
        break;
    }
}

// Leaving the setup: the count typed here is forgotten, net.ini is as it was.
void SetupComputerCountStep::cancel()
{
    m_context.cues.play(Cue::Oou);
    close();
}

void SetupComputerCountStep::closeEvent(QCloseEvent *event)
{
    // Whether the setup ended or was left, the classroom holds what net.ini holds.
    reloadNetConfig(m_context.classroom, netIni(m_context));
    showMonitor();
    event->accept();
}

// Step 2.

SetupComputerListStep::SetupComputerListStep(AppContext &context)
    : NetWindow(context, QStringLiteral("frmNETSetuP2"),
                QStringLiteral("Настройка сетевой версии")),
      m_wizard(context.classroom, netIni(context))
{
    auto *info =
        wrapped(addLabel(QStringLiteral("Met1"),
                         QStringLiteral("На каждом компьютере в сети должна быть установлена эта "
                                        "программа, все компьютеры должны быть включены.")),
                380);
    auto *how = wrapped(addLabel(QStringLiteral("Met3"),
                                 QStringLiteral("Нажми \"Да\" если установлена или \"Пропустить "
                                                "этот компьютер\" если программа на него не "
                                                "устанавливалась (ну или если он временно не "
                                                "работает).")),
                        380);
    m_question = addLabel(QStringLiteral("Met2"), QString());
    QPushButton *yes = addButton(QStringLiteral("Комманда1"), QStringLiteral("Да"),
                                 QStringLiteral("Указать программу на этом компьютере"));
    QPushButton *skip =
        addButton(QStringLiteral("Комманда2"), QStringLiteral("Пропустить этот компьютер"),
                  QStringLiteral("Этот компьютер не будет настроен"));
    QPushButton *cancel = addButton(QStringLiteral("Комманда3"), QStringLiteral("Отмена"),
                                    QStringLiteral("Прервать настройку сети без изменений"));
    connect(yes, &QPushButton::clicked, this, &SetupComputerListStep::locate);
    connect(skip, &QPushButton::clicked, this, &SetupComputerListStep::skip);
    connect(cancel, &QPushButton::clicked, this, &SetupComputerListStep::close);
    setEscapeButton(cancel);
    auto *grid = new QGridLayout(this);
    grid->addWidget(info, 0, 0, 1, 3);
    grid->addWidget(m_question, 1, 0, 1, 3);
    grid->addWidget(how, 2, 0, 1, 3);
    grid->addWidget(yes, 3, 0);
    grid->addWidget(skip, 3, 1);
    grid->addWidget(cancel, 3, 2);
    grid->addWidget(addStatusBar(), 4, 0, 1, 3);
}

void SetupComputerListStep::start(int count)
{
    m_wizard.start(count);
    m_question->setText(m_wizard.question());
    m_context.windows.hide<SetupComputerCountStep>();
}

void SetupComputerListStep::locate()
{
    m_context.cues.play(Cue::Pick);
    const QPointer<SetupComputerListStep> self(this);
    const std::optional<QString> chosen =
        SetupProgramFileStep::locate(m_context, m_wizard.computer());
    if (self && chosen)
        moved(m_wizard.answer(*chosen));
}

void SetupComputerListStep::skip()
{
    m_context.cues.play(Cue::Close);
    moved(m_wizard.skip());
}

void SetupComputerListStep::moved(bool finished)
{
    if (!finished) {
        m_question->setText(m_wizard.question());
        return;
    }
    if (!m_wizard.written())
        InfoWindow::tell(m_context, netConfigNotWrittenText(netIni(m_context)));
    close();
}

// Leaving before the last computer changes nothing: the whole setup is left.
void SetupComputerListStep::closeEvent(QCloseEvent *event)
{
    if (!m_wizard.finished())
        m_context.cues.play(Cue::Oou);
    m_context.windows.close<SetupComputerCountStep>();
    event->accept();
}

// Step 3.

// The dialog has no parent: every window of the program, this one too, waits for it disabled.
std::function<QString(const QString &)> SetupProgramFileStep::chooseFile =
    [](const QString &start) {
        const ModalScope others(nullptr);
        return QFileDialog::getOpenFileName(nullptr, QStringLiteral("Открыть"), start);
    };

SetupProgramFileStep::SetupProgramFileStep(AppContext &context, int computer)
    : NetWindow(context, QStringLiteral("frmNETSetuP3"),
                QStringLiteral("Настройка сетевой версии")),
      m_computer(computer)
{
    const QString n = QString::number(computer);
    const QString program = programName();
    auto *heading = addLabel(QStringLiteral("Met3"), QStringLiteral("Установка компьютера № ") + n);
    auto *how = wrapped(
        addLabel(QStringLiteral("Met1"),
                 QStringLiteral("        Нажмите на кнопку 'выбрать' и найдите на сетевом "
                                "компьютере № %1 файл '%2'. Для этого сначала откройте общую "
                                "папку компьютера № %1 (сетевой диск или подключённый ресурс). "
                                "Дальнейшее расположение файла '%2' зависит от указанного вами "
                                "пути при установке программы на данный компьютер.")
                     .arg(n, program)),
        420);
    m_path = new QLineEdit(QStringLiteral("Укажите сетевой путь к файлу '%1'").arg(program), this);
    m_path->setObjectName(QStringLiteral("Text1"));
    m_path->setReadOnly(true);
    m_path->setAccessibleName(QStringLiteral("Путь к программе"));
    how->setBuddy(m_path);
    hover()->addHint(m_path, QStringLiteral("Сетевой путь к программе на компьютере № ") + n);
    m_message = addLabel(QStringLiteral("Met2"), QString());
    m_message->setAccessibleDescription(QStringLiteral("Сообщение"));
    QPushButton *choose = addButton(QStringLiteral("Command1"), QStringLiteral("Выбрать"),
                                    QStringLiteral("Найти программу на сетевом компьютере"));
    QPushButton *cancel =
        addButton(QStringLiteral("Command2"), QStringLiteral("Отмена"),
                  QStringLiteral("Вернуться, не выбирая программу на этом компьютере"));
    connect(choose, &QPushButton::clicked, this, &SetupProgramFileStep::choose);
    connect(cancel, &QPushButton::clicked, this, &SetupProgramFileStep::close);
    setEscapeButton(cancel);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(choose);
    buttons->addWidget(cancel);
    auto *grid = new QGridLayout(this);
    grid->addWidget(heading, 0, 0);
    grid->addWidget(how, 1, 0);
    grid->addWidget(m_path, 2, 0);
    grid->addWidget(m_message, 3, 0);
    grid->addLayout(buttons, 4, 0);
    grid->addWidget(addStatusBar(), 5, 0);
}

std::optional<QString> SetupProgramFileStep::locate(AppContext &context, int computer)
{
    SetupProgramFileStep window(context, computer);
    window.exec();
    return window.m_chosen;
}

// Only a program file is taken; a cancelled dialog or another file leaves nothing chosen.
void SetupProgramFileStep::choose()
{
    m_context.cues.play(Cue::Pick);
    const QString start =
        m_tried.isEmpty() ? netsetup::startFolder(m_context.classroom, m_computer) : m_tried;
    const QString chosen = chooseFile(start);
    if (chosen.isEmpty())
        return;
    m_path->setText(QDir::toNativeSeparators(chosen));
    if (!netsetup::isProgramFile(chosen)) {
        m_tried = netconfig::folderOf(chosen);
        m_message->setText(QStringLiteral("Выберите файл '%1' !").arg(programName()));
        return;
    }
    m_chosen = m_path->text();
    m_context.classroom.setProgramFolderChosenLast(netconfig::folderOf(chosen));
    close();
}

// One computer.

SetupChangeWindow::SetupChangeWindow(AppContext &context)
    : NetWindow(context, QStringLiteral("frmNETSetup5"),
                QStringLiteral("Настройка сетевой версии."))
{
    auto *frame = new QGroupBox(QStringLiteral("Настройка отдельных компьютеров"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto *info = wrapped(
        addLabel(QStringLiteral("Met1"),
                 QStringLiteral("Для настройки отдельных компьютеров, выберите номер компьютера "
                                "и нажмите кнопку \"Изменить\". Кнопка \"Полная настройка\" "
                                "позволяет заново настроить все компьютеры.  ")),
        380);
    auto *numberLabel = addLabel(QStringLiteral("Met2"), QStringLiteral("Номер компьютера:"));
    m_computers = new QComboBox(this);
    m_computers->setObjectName(QStringLiteral("cOmBo1"));
    m_computers->setAccessibleName(QStringLiteral("Номер компьютера:"));
    numberLabel->setBuddy(m_computers);
    hover()->addHint(m_computers, QStringLiteral("Выберите номер компьютера"));
    m_way = addLabel(QStringLiteral("metWAY"), QString());
    m_way->setAccessibleName(QStringLiteral("Путь к программе"));
    QPushButton *change = addButton(QStringLiteral("btnChangeONE"), QStringLiteral("Изменить"),
                                    QStringLiteral("Указать программу на выбранном компьютере"));
    QPushButton *full =
        addButton(QStringLiteral("btnFullSetup"), QStringLiteral("Полная настройка"),
                  QStringLiteral("Заново настроить все компьютеры"));
    QPushButton *back = addButton(QStringLiteral("btnRETURN"), QStringLiteral("Вернуться"),
                                  QStringLiteral("Вернуться в меню 'Сетевая версия'"));
    auto *inner = new QGridLayout(frame);
    inner->addWidget(numberLabel, 0, 0);
    inner->addWidget(m_computers, 0, 1);
    inner->addWidget(change, 0, 2);
    inner->addWidget(m_way, 1, 0, 1, 3);
    auto *grid = new QGridLayout(this);
    grid->addWidget(info, 0, 0, 1, 2);
    grid->addWidget(frame, 1, 0, 1, 2);
    grid->addWidget(full, 2, 0);
    grid->addWidget(back, 2, 1);
    grid->addWidget(addStatusBar(), 3, 0, 1, 2);

    for (int i = 1; i <= m_context.classroom.count(); ++i)
        m_computers->addItem(QStringLiteral("№ ") + QString::number(i));
    connect(m_computers, &QComboBox::currentIndexChanged, this, &SetupChangeWindow::showPath);
    connect(change, &QPushButton::clicked, this, &SetupChangeWindow::change);
    connect(full, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Hihihih);
        m_fullSetup = true;
        close();
        m_context.windows.open<SetupComputerCountStep>();
    });
    connect(back, &QPushButton::clicked, this, &SetupChangeWindow::close);
    setEscapeButton(back);
    showPath();
    m_context.windows.hide<MonitorWindow>();
}

int SetupChangeWindow::selectedComputer() const
{
    return textfile::leadingInt(m_computers->currentText().mid(2));
}

void SetupChangeWindow::showPath()
{
    const int i = selectedComputer();
    m_way->setText(m_context.classroom.folder(i));
}

void SetupChangeWindow::change()
{
    const int i = selectedComputer();
    if (i < 1)
        return;
    m_context.cues.play(Cue::Pick);
    const QPointer<SetupChangeWindow> self(this);
    const std::optional<QString> chosen = SetupProgramFileStep::locate(m_context, i);
    if (!self || !chosen)
        return;
    if (!setOneComputer(m_context.classroom, netIni(m_context), i, *chosen))
        InfoWindow::tell(m_context, netConfigNotWrittenText(netIni(m_context)));
    showPath();
}

void SetupChangeWindow::closeEvent(QCloseEvent *event)
{
    if (!m_fullSetup) {
        m_context.cues.play(Cue::Close);
        showMonitor();
    }
    event->accept();
}
