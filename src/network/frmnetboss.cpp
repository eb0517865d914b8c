#include "network/frmnetboss.h"

#include "app/datafiles.h"
#include "app/sessionstate.h"
#include "app/textfile.h"
#include "network/sharereader.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "users/useradminpanel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

const QString frmNETBOSS::UnreadableText =
    QStringLiteral("Немогу считать информацию с этого компьютера.");
const QString frmNETBOSS::BackgroundHint =
    QStringLiteral("В этом окне можно посмотреть 'Достижения' на других компьютерах.");

frmNETBOSS::frmNETBOSS(AppContext &context)
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
    m_panel = new UserAdminPanel(m_context, *hover(), options, this);

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
    connect(m_computers, &QComboBox::activated, this, &frmNETBOSS::chooseComputer);
    if (m_computers->count() > 0)
        chooseComputer();
}

int frmNETBOSS::computerOf(const QString &item)
{
    return textfile::leadingInt(item.mid(1));
}

void frmNETBOSS::fillComputers()
{
    const SessionState &s = m_context.session;
    for (int i = 1; i <= qMin(int(s.NetCount), SessionState::MaxComputers); ++i) {
        if (!s.NetPath.at(i - 1).isEmpty())
            m_computers->addItem(QStringLiteral("№ ") + QString::number(i));
    }
    if (m_computers->count() > 0)
        m_computers->setCurrentIndex(0);
}

// The pupil's share is first looked at off the user-interface thread: a computer that is off
// only keeps the lists waiting, never the window.
void frmNETBOSS::chooseComputer()
{
    const int computer = computerOf(m_computers->currentText());
    if (computer < 1 || computer > SessionState::MaxComputers)
        return;
    const QString base = resolvePath(m_context.session.NetPath.at(computer - 1),
                                     QStringLiteral("data/jpg/") + datafiles::UserBaseFile);
    const int request = ++m_request;
    m_panel->setEnabled(false);
    readOffThread<bool>(
        this, [base] { return QFileInfo::exists(base); },
        [this, base, request](const bool &) {
            if (request != m_request)
                return;
            m_panel->setEnabled(true);
            m_panel->setBaseFile(base);
        });
}

void frmNETBOSS::closeEvent(QCloseEvent *event)
{
    m_context.cues.play(Cue::Close);
    showMonitor();
    event->accept();
}
