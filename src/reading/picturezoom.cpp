#include "reading/picturezoom.h"

PictureLayout PictureLayout::compute(int zoomPercent, int naturalWidth, int naturalHeight,
                                     int frameAllowance)
{
    PictureLayout layout;
    layout.pictureHeight = static_cast<int>(qint64(zoomPercent) * naturalHeight / 100);
    layout.pictureWidth = static_cast<int>(qint64(zoomPercent) * naturalWidth / 100);
    layout.windowWidth = layout.pictureWidth + 100;
    layout.windowHeight = layout.pictureHeight + 10 + ButtonStrip + frameAllowance;
    const bool wide = layout.windowWidth > 2890;
    layout.zoomOutCaption = wide ? QStringLiteral("уменьшить") : QStringLiteral("-");
    layout.zoomInCaption = wide ? QStringLiteral("увеличить") : QStringLiteral("+");
    layout.buttonTop = 10;
    layout.buttonWidth = layout.pictureWidth / 2 - 10;
    layout.zoomOutLeft = 10;
    layout.zoomInLeft = layout.pictureWidth / 2 + 20;
    layout.buttonHeight = ButtonStrip - 25;
    layout.pictureTop = layout.buttonTop + layout.buttonHeight + 15;
    return layout;
}

ViewerPlacement ViewerPlacement::compute(QRect question, QSize viewer, const QRect &area,
                                         std::optional<int> keptHeight)
{
    int left = question.right() + 1;
    int top = question.top();
    const bool noRoomRight = left + viewer.width() > area.right() + 1;
    if (noRoomRight && question.left() - viewer.width() >= area.left()) {
        left = question.left() - viewer.width();
    } else if (noRoomRight && question.width() + viewer.width() <= area.width()) {
        question.moveLeft(area.left() + (area.width() - question.width() - viewer.width()) / 2);
        left = question.right() + 1;
    } else if (noRoomRight && keptHeight) {
        const int overflow = question.top() + *keptHeight + viewer.height() - (area.bottom() + 1);
        question.moveTo(area.left(),
                        question.top() - qBound(0, overflow, question.top() - area.top()));
        top = question.top() + *keptHeight;
        left = area.right() + 1 - viewer.width();
    }
    left = qBound(area.left(), left, qMax(area.left(), area.right() + 1 - viewer.width()));
    top = qBound(area.top(), top, qMax(area.top(), area.bottom() + 1 - viewer.height()));
    return {question, QPoint(left, top)};
}

void PictureZoom::zoomOut()
{
    if (m_percent != Smallest)
        m_percent -= Step;
    m_zoomOutEnabled = m_percent != Smallest;
    m_zoomInEnabled = true;
}

void PictureZoom::zoomIn()
{
    if (!zoomInEnabled())
        return;
    m_percent += Step;
    m_zoomInEnabled = true;
    m_zoomOutEnabled = m_percent != Smallest;
}

void PictureZoom::toggleFull()
{
    if (m_percent == Full) {
        m_percent = Smallest;
        m_zoomInEnabled = true;
        m_zoomOutEnabled = false;
    } else {
        m_percent = Full;
        m_zoomOutEnabled = true;
        m_zoomInEnabled = false;
    }
}

const QString CaptionTicker::Notice = QStringLiteral("Рисунок для самостоятельного ответа.    ");

void CaptionTicker::tick()
{
    if (!m_text.isEmpty())
        m_text = m_text.mid(1) + m_text.front();
}
