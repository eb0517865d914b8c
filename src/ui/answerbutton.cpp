#include "ui/answerbutton.h"

#include "ui/wrappedtext.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>

namespace {
// Wider than this a caption wraps even when the window could grow.
constexpr int PreferredTextWidth = 560;

} // namespace

AnswerButton::AnswerButton(QWidget *parent) : QRadioButton(parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int AnswerButton::indicatorWidth() const
{
    return style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, this) +
           style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, this);
}

QRect AnswerButton::textRect(int width) const
{
    QTextLayout layout(text(), font());
    return QRect(QPoint(0, 0), wrappedtext::layOut(layout, qMax(1, width - indicatorWidth())));
}

QSize AnswerButton::sizeHint() const
{
    const QSize text = textRect(PreferredTextWidth + indicatorWidth()).size();
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, this);
    return {indicatorWidth() + text.width() + 2, qMax(indicator, text.height()) + 4};
}

QSize AnswerButton::minimumSizeHint() const
{
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, this);
    return {indicatorWidth() + fontMetrics().averageCharWidth() * 12,
            qMax(indicator, fontMetrics().height()) + 4};
}

int AnswerButton::heightForWidth(int width) const
{
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, this);
    return qMax(indicator, textRect(width).height()) + 4;
}

void AnswerButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_RadioButton, option);
    const QRect area = rect().adjusted(indicatorWidth(), 0, 0, 0);
    QTextLayout layout(caption, font());
    const QSize extent = wrappedtext::layOut(layout, area.width());
    const QPoint topLeft(area.left(), area.top() + qMax(0, (area.height() - extent.height()) / 2));
    painter.setPen(option.palette.color(isEnabled() ? QPalette::Normal : QPalette::Disabled,
                                        foregroundRole()));
    layout.draw(&painter, topLeft);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = QRect(topLeft, extent).adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
