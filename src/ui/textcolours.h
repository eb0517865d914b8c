#pragma once

#include <QColor>

class QWidget;

// Coloured texts that keep their meaning (red for a wrong answer, green for the right one, the
// grade colours) in a shade that reads well on what is behind them.
namespace textcolours {

// The least contrast ratio of a text against its background (WCAG AA for normal text).
inline constexpr double MinimumContrast = 4.5;

// The WCAG contrast ratio of two colours: 1 for equal colours, 21 for black on white.
double contrast(const QColor &a, const QColor &b);

// The colour of the same hue and saturation, lightened or darkened as little as needed to
// reach MinimumContrast against background.
QColor readable(const QColor &text, const QColor &background);

// The colour the nearest painted ancestor fills behind the widget.
QColor backgroundBehind(const QWidget *widget);
// The contrast of the widget's text (a label's, a radio button's or a check box's) against
// the background behind it.
double textContrast(const QWidget *widget);

// Gives the widget's text the readable shade of colour against the background its window
// paints behind it.
void setTextColour(QWidget *widget, const QColor &colour);

} // namespace textcolours
