#include "ui/answerbutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
// Wider than this a caption wraps even when the window could grow.
constexpr int PreferredTextWidth = 560;
constexpr int TextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
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
    const int textWidth = qMax(1, width - indicatorWidth());
    return fontMetrics().boundingRect(QRect(0, 0, textWidth, 100000), TextFlags, text());
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
    painter.drawItemText(area, TextFlags, option.palette, isEnabled(), caption, foregroundRole());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics().boundingRect(area, TextFlags, caption).adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
