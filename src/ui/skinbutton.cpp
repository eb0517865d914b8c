#include "ui/skinbutton.h"

#include "ui/pictures.h"

#include <QFileInfo>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
QPixmap skinPicture(const QString &path)
{
    return QPixmap::fromImage(pictures::load(QFileInfo(path).absolutePath(), path));
}
} // namespace

SkinButton::SkinButton(const QString &objectName, const QString &caption, QWidget *parent)
    : QAbstractButton(parent)
{
    setObjectName(objectName);
    setText(caption);
    setAccessibleName(caption);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void SkinButton::setSkin(const QString &normalPath, const QString &hoverPath)
{
    m_normalPath = normalPath;
    m_hoverPath = hoverPath;
    setLit(m_lit);
    if (!m_pixmap.isNull())
        resize(m_pixmap.size());
    else
        resize(sizeHint());
}

void SkinButton::setLit(bool lit)
{
    m_lit = lit;
    m_pixmap = skinPicture(lit && !m_hoverPath.isEmpty() ? m_hoverPath : m_normalPath);
    if (m_pixmap.isNull() && lit)
        m_pixmap = skinPicture(m_normalPath);
    update();
}

QSize SkinButton::sizeHint() const
{
    if (!m_pixmap.isNull())
        return m_pixmap.size();
    const QSize caption = fontMetrics().size(Qt::TextSingleLine, text());
    return QSize(caption.width() + 24, caption.height() + 14);
}

void SkinButton::paintEvent(QPaintEvent *)
{
    if (!m_pixmap.isNull()) {
        QPainter painter(this);
        if (!isEnabled())
            painter.setOpacity(0.45);
        painter.drawPixmap(rect(), m_pixmap);
        if (hasFocus()) {
            painter.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
            painter.drawRect(rect().adjusted(1, 1, -2, -2));
        }
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = text();
    if (isDown())
        option.state |= QStyle::State_Sunken;
    if (m_lit)
        option.state |= QStyle::State_MouseOver;
    painter.drawControl(QStyle::CE_PushButton, option);
}
