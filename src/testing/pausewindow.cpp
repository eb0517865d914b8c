#include "testing/pausewindow.h"

#include "testing/results.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/skinbutton.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

PauseWindow::PauseWindow(AppContext &context, int pausesUsed)
    : SkinnedWindow(context, QStringLiteral("frmPAUSE"), QStringLiteral("Передышка"))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    const PauseText texts = pauseTexts(pausesUsed);
    auto *layout = new QVBoxLayout(this);
    for (const auto &[name, text] :
         {std::pair{"Метка1", texts.heading}, std::pair{"Метка2", texts.count},
          std::pair{"Метка3", texts.instruction}}) {
        QLabel *label = addLabel(QString::fromUtf8(name), text);
        dragger()->addHandle(label);
        layout->addWidget(label);
    }
    SkinButton *resume =
        addSkinButton(QStringLiteral("Комманда1"), QStringLiteral("pause/return"),
                      QStringLiteral("Продолжить"), QStringLiteral("Продолжить тест"));
    layout->addWidget(resume, 0, Qt::AlignHCenter);
    connect(resume, &SkinButton::clicked, this, [this] {
        m_context.cues.play(Cue::Pick);
        close();
    });
    m_context.cues.play(Cue::About);
}

void PauseWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    Q_EMIT finished();
}
