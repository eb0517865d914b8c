#include "ui/wrappedtext.h"

#include <QPainter>
#include <QStyle>
#include <QTextLayout>

namespace {
// The widest a label asks to be, and the narrowest it may become, in average characters.
constexpr int PreferredChars = 80;
constexpr int NarrowestChars = 30;

// QTextLayout breaks lines only at the line separator, where QLabel also takes "\n".
QString layoutText(const QString &text)
{
    return QString(text).replace(u'\n', QChar::LineSeparator);
}
} // namespace

QSize wrappedtext::layOut(QTextLayout &layout, int width, Qt::Alignment alignment)
{
    QTextOption option(alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    qreal height = 0;
    qreal widest = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
        widest = qMax(widest, line.naturalTextWidth());
    }
    layout.endLayout();
    return {qCeil(widest), qCeil(height)};
}

bool WrappedLabel::breaksWords() const
{
    return wordWrap() && textFormat() == Qt::PlainText && pixmap().isNull() &&
           !(textInteractionFlags() & (Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard));
}

int WrappedLabel::textHeight(int textWidth) const
{
    QTextLayout layout(layoutText(text()), font());
    return wrappedtext::layOut(layout, qMax(1, textWidth)).height();
}

QSize WrappedLabel::sizeHint() const
{
    const QSize natural = QLabel::sizeHint();
    if (!breaksWords())
        return natural;
    const int width = qMin(natural.width(), fontMetrics().averageCharWidth() * PreferredChars);
    return {width, heightForWidth(width)};
}

QSize WrappedLabel::minimumSizeHint() const
{
    const QSize natural = QLabel::minimumSizeHint();
    if (!breaksWords())
        return natural;
    // The height comes from heightForWidth at the width the layout gives.
    return {qMin(natural.width(), fontMetrics().averageCharWidth() * NarrowestChars),
            fontMetrics().height() + frameSpace()};
}

int WrappedLabel::heightForWidth(int width) const
{
    if (!breaksWords())
        return QLabel::heightForWidth(width);
    return textHeight(width - frameSpace()) + frameSpace();
}

void WrappedLabel::paintEvent(QPaintEvent *event)
{
    if (!breaksWords()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    QTextLayout layout(layoutText(text()), font());
    const QSize extent = wrappedtext::layOut(layout, area.width(), align);
    int top = area.top();
    if (align & Qt::AlignVCenter)
        top += qMax(0, (area.height() - extent.height()) / 2);
    else if (align & Qt::AlignBottom)
        top += qMax(0, area.height() - extent.height());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled, foregroundRole()));
    layout.draw(&painter, QPointF(area.left(), top));
}
