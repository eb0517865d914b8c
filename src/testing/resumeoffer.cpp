#include "testing/resumeoffer.h"

#include "ui/cueplayer.h"
#include "ui/skinbutton.h"

#include <QCloseEvent>

#include <memory>

ResumeOfferWindow::ResumeOfferWindow(AppContext &context)
    : ModalMessageWindow(context, QStringLiteral("frmRESUME"),
                         QStringLiteral("     Тест был прерван"), QStringLiteral("m1"))
{
    SkinButton *goOn = addSkinButton(QStringLiteral("cmdGoOn"), QStringLiteral("SURE/goon"),
                                     QStringLiteral("Продолжить"),
                                     QStringLiteral("Продолжить тест с того же места"));
    SkinButton *anew = addSkinButton(
        QStringLiteral("cmdAnew"), QStringLiteral("SURE/anew"), QStringLiteral("Начать заново"),
        QStringLiteral("Удалить данные ответы и начать тест с начала"));
    connect(goOn, &SkinButton::clicked, this, [this] { answer(true); });
    connect(anew, &SkinButton::clicked, this, [this] { answer(false); });
    layOut({goOn, anew});
    setFirstFocus(goOn);
}

void ResumeOfferWindow::answer(bool goOn)
{
    m_context.cues.play(goOn ? Cue::Aaa : Cue::Oou);
    m_goOn = goOn;
    m_answered = true;
    close();
}

void ResumeOfferWindow::closeEvent(QCloseEvent *event)
{
    if (m_answered)
        event->accept();
    else
        event->ignore();
}

bool ResumeOfferWindow::ask(AppContext &context, const QString &question)
{
    const auto window = std::make_unique<ResumeOfferWindow>(context);
    window->setMessage(question);
    window->exec();
    return window->m_goOn;
}
