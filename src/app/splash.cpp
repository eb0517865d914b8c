#include "app/splash.h"

#include "app/mainmenu.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "ui/cueplayer.h"
#include "ui/pictures.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

SplashWindow::SplashWindow(AppContext &context, int closeAfterMs)
    : SkinnedWindow(context, QStringLiteral("frmSplash"), QStringLiteral("Тарвел")),
      m_timer(new QTimer(this))
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setAcceptDrops(true);
    auto *title = addLabel(QStringLiteral("lblProductName"), QStringLiteral("Тарвел"));
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 18);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    auto *subtitle =
        addLabel(QStringLiteral("lblCompany"),
                 QStringLiteral("Учебник и тесты по техническому обслуживанию устройств СЦБ"));
    subtitle->setAlignment(Qt::AlignCenter);
    auto *picture = addLabel(QStringLiteral("imgLogo"), QString());
    picture->setPixmap(QPixmap::fromImage(
        pictures::load(context.session.dataPath(QString()),
                       context.session.dataPath(QStringLiteral("jpg/main/3_1.jpg")))));
    picture->setAlignment(Qt::AlignCenter);
    auto *version = addLabel(QStringLiteral("lblVersion"), QStringLiteral("Версия 1.0"));
    version->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(title);
    layout->addWidget(subtitle);
    layout->addWidget(picture, 1);
    layout->addWidget(version);
    setFixedSize(520, 420);

    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &QWidget::close);
    if (closeAfterMs >= 0)
        m_timer->start(closeAfterMs);
}

void SplashWindow::closeSoon()
{
    m_timer->start(ClickDelayMs);
}

void SplashWindow::mousePressEvent(QMouseEvent *)
{
    closeSoon();
}

void SplashWindow::dragEnterEvent(QDragEnterEvent *event)
{
    event->acceptProposedAction();
}

void SplashWindow::dropEvent(QDropEvent *event)
{
    event->acceptProposedAction();
    closeSoon();
}

void SplashWindow::closeEvent(QCloseEvent *event)
{
    m_timer->stop();
    m_context.windows.open<MainMenu>();
    m_context.cues.play(Cue::Thenx);
    event->accept();
}
