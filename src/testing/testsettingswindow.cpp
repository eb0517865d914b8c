#include "testing/testsettingswindow.h"

#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

const QString TestSettingsWindow::Explanation = QStringLiteral(
    "Вы можете задать время отводимое на ответ в тестах, изменения будут приняты при условии "
    "выполнения настроки сетевой версии и включенном состоянии компьютеров, для возвращения "
    "параметра к первоначальному значению необходимо выбрать пункт \"1 минута\"");

TestSettingsWindow::TestSettingsWindow(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("frmDopSETUP"),
                    QStringLiteral("Дополнительные настройки"))
{
    auto *header = addLabel(QStringLiteral("caption"), windowTitle());
    header->setAccessibleName(windowTitle());
    QFont bold = header->font();
    bold.setPointSize(bold.pointSize() + 4);
    bold.setBold(true);
    header->setFont(bold);
    dragger()->addHandle(header);
    auto *explanation = addLabel(QStringLiteral("Метка1"), Explanation);
    explanation->setAccessibleName(QStringLiteral("Пояснение"));
    dragger()->addHandle(explanation);

    m_time = new QButtonGroup(this);
    m_errors = new QButtonGroup(this);
    QGroupBox *time =
        addOptions(QStringLiteral("Рамка1"), QStringLiteral("Время на ответ в тесте"), m_time,
                   {{1, QStringLiteral("1 минута")},
                    {2, QStringLiteral("2 минуты")},
                    {3, QStringLiteral("3 минуты")},
                    {4, QStringLiteral("4 минуты")},
                    {5, QStringLiteral("5 минут")},
                    {TestSettings::UnlimitedTime, QStringLiteral("бесконечность")}},
                   2, QStringLiteral("MIN"));
    m_time->button(TestSettings::UnlimitedTime)->setObjectName(QStringLiteral("UNLIM"));
    QGroupBox *errors = addOptions(
        QStringLiteral("Рамка2"), QStringLiteral("После теста показывать ошибки?"), m_errors,
        {{TestSettings::ShowAlways, QStringLiteral("да")},
         {TestSettings::ShowNever, QStringLiteral("нет")},
         {TestSettings::ShowExceptCourseTest, QStringLiteral("да, кроме теста по курсу")}},
        0, QStringLiteral("test"));

    m_push = new SettingsPush(this);
    connect(m_push, &SettingsPush::finished, this, &TestSettingsWindow::delivered);
    m_apply = new QPushButton(QStringLiteral("Принять изменения"), this);
    m_apply->setObjectName(QStringLiteral("Комманда1"));
    m_apply->setAccessibleName(m_apply->text());
    hover()->addHint(m_apply,
                     QStringLiteral("Записать настройки на этом и на сетевых компьютерах"));
    auto *back = new QPushButton(QStringLiteral("Вернуться"), this);
    back->setObjectName(QStringLiteral("Комманда2"));
    back->setAccessibleName(back->text());
    hover()->addHint(back, QStringLiteral("Вернуться в меню администратора"));
    connect(m_apply, &QPushButton::clicked, this, &TestSettingsWindow::apply);
    connect(back, &QPushButton::clicked, this, &TestSettingsWindow::close);
    setEscapeButton(back);

    m_delivery = addLabel(QStringLiteral("labDELIVERY"), QString());
    m_delivery->setAccessibleName(QStringLiteral("Кому переданы настройки"));

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(16, 10, 16, 12);
    column->addWidget(header);
    auto *frames = new QHBoxLayout;
    frames->addWidget(time);
    frames->addWidget(errors, 1);
    column->addLayout(frames);
    column->addWidget(explanation);
    column->addWidget(m_delivery);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_apply);
    buttons->addWidget(back);
    column->addLayout(buttons);
    setMinimumWidth(560);

    m_context.windows.hideMenu(WindowHub::Menu::Admin);
    m_settings = loadTestSettings(m_context.session);
    showSettings();
    // Toggled, not clicked: a screen reader's toggle action chooses an option as a click does.
    for (QButtonGroup *group : {m_time, m_errors})
        connect(group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
            if (checked)
                choose();
        });
}

QGroupBox *TestSettingsWindow::addOptions(const QString &frameName, const QString &title,
                                          QButtonGroup *group,
                                          const QList<std::pair<int, QString>> &options,
                                          int firstLabel, const QString &buttonPrefix)
{
    auto *frame = new QGroupBox(title, this);
    frame->setObjectName(frameName);
    frame->setAccessibleName(title);
    auto *grid = new QGridLayout(frame);
    int row = 0;
    for (const auto &[value, caption] : options) {
        auto *option = new QRadioButton(frame);
        option->setObjectName(buttonPrefix + QString::number(row + 1));
        option->setAccessibleName(caption);
        hover()->addHint(option, title + u' ' + caption);
        group->addButton(option, value);
        grid->addWidget(option, row, 0);
        if (firstLabel > 0) {
            QLabel *label = plainLabel(caption, frame);
            label->setWordWrap(false);
            label->setObjectName(QStringLiteral("Метка") + QString::number(firstLabel + row));
            label->setBuddy(option);
            label->installEventFilter(this);
            grid->addWidget(label, row, 1);
        } else {
            option->setText(caption);
        }
        ++row;
    }
    grid->setColumnStretch(1, 1);
    return frame;
}

void TestSettingsWindow::showSettings()
{
    // A value outside the options selects nothing and is kept until another is chosen.
    for (QButtonGroup *group : {m_time, m_errors}) {
        group->setExclusive(false);
        for (QAbstractButton *option : group->buttons())
            option->setChecked(false);
        group->setExclusive(true);
    }
    if (QAbstractButton *option = m_time->button(m_settings.answerTime))
        option->setChecked(true);
    if (QAbstractButton *option = m_errors->button(m_settings.showErrors))
        option->setChecked(true);
}

void TestSettingsWindow::choose()
{
    m_context.cues.play(Cue::Pick);
    if (m_time->checkedId() > 0)
        m_settings.answerTime = qint16(m_time->checkedId());
    if (m_errors->checkedId() > 0)
        m_settings.showErrors = qint16(m_errors->checkedId());
}

void TestSettingsWindow::apply()
{
    m_context.cues.play(Cue::Pick);
    const SettingsDelivery here = m_push->start(m_context.session, m_settings);
    const bool pushing = m_push->waiting() > 0;
    m_apply->setEnabled(!pushing);
    m_delivery->setText(pushing ? here.summary() +
                                      QStringLiteral(" Настройки передаются на сетевые компьютеры…")
                                : here.summary());
    if (!here.local) { // the options show again what this computer's files hold
        m_settings = loadTestSettings(m_context.session);
        showSettings();
    }
}

void TestSettingsWindow::delivered(const SettingsDelivery &delivery)
{
    m_delivery->setText(delivery.summary());
    m_apply->setEnabled(true);
}

bool TestSettingsWindow::eventFilter(QObject *watched, QEvent *event)
{
    // A click on the caption of an option chooses the option.
    auto *label = qobject_cast<QLabel *>(watched);
    if (label && label->buddy() && event->type() == QEvent::MouseButtonRelease) {
        if (auto *option = qobject_cast<QAbstractButton *>(label->buddy()))
            option->click();
        return true;
    }
    return SkinnedWindow::eventFilter(watched, event);
}

void TestSettingsWindow::closeEvent(QCloseEvent *event)
{
    m_context.cues.play(Cue::Close);
    event->accept();
    if (QWidget *boss = m_context.windows.menu(WindowHub::Menu::Admin))
        boss->show();
    else
        m_context.windows.openMenu(WindowHub::Menu::Main);
}
