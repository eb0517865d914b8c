#include "ui/skinnedwindow.h"

#include "app/sessionstate.h"
#include "ui/hovergroup.h"
#include "ui/skinbutton.h"

#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

SkinnedWindow::SkinnedWindow(AppContext &context, const QString &objectName,
                             const QString &caption, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_context(context),
      m_hover(new HoverGroup(this)), m_dragger(new WindowDragger(this))
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setAccessibleName(caption);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(58, 74, 96));
    colours.setColor(QPalette::WindowText, QColor(240, 240, 232));
    setPalette(colours);
    m_hover->addBackground(this);
    m_dragger->addHandle(this);
}

void SkinnedWindow::showEvent(QShowEvent *event)
{
    if (!testAttribute(Qt::WA_Moved))
        centreOnScreen();
    QWidget::showEvent(event);
}

void SkinnedWindow::hideEvent(QHideEvent *event)
{
    if (m_modalLoop)
        m_modalLoop->quit();
    QWidget::hideEvent(event);
}

void SkinnedWindow::execModal()
{
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec();
    m_modalLoop = nullptr;
}

void SkinnedWindow::centreOnScreen()
{
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = this->size().expandedTo(minimumSizeHint());
    move(area.left() + (area.width() - size.width()) / 2,
         area.top() + (area.height() - size.height()) / 2);
}

SkinButton *SkinnedWindow::addSkinButton(const QString &objectName, const QString &skin,
                                         const QString &caption, const QString &hint)
{
    auto *button = new SkinButton(objectName, caption, this);
    button->setSkin(m_context.session.skinPath(skin + QStringLiteral(".bmp")),
                    m_context.session.skinPath(skin + QStringLiteral("_move.bmp")));
    m_hover->addButton(button, hint);
    return button;
}

QPushButton *SkinnedWindow::addTitleButton(const QString &objectName, const QString &text,
                                           const QString &accessibleName)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setAccessibleName(accessibleName);
    button->setAccessibleDescription(accessibleName);
    button->setToolTip(accessibleName);
    button->setFixedSize(26, 22);
    return button;
}

QLabel *SkinnedWindow::addLabel(const QString &objectName, const QString &text)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    return label;
}

int twipsToPixels(int twips, const QWidget *widget)
{
    return qRound(twips * widget->logicalDpiX() / 1440.0);
}

int pixelsToTwips(int pixels, const QWidget *widget)
{
    return qRound(pixels * 1440.0 / widget->logicalDpiX());
}
