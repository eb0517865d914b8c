#include "ui/textcolours.h"

#include <QPalette>
#include <QWidget>

#include <cmath>

namespace textcolours {

namespace {
double channel(double value)
{
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) +
           0.0722 * channel(rgb.blueF());
}
} // namespace

QColor backgroundBehind(const QWidget *widget)
{
    for (const QWidget *w = widget->parentWidget(); w; w = w->parentWidget()) {
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(w->backgroundRole());
    }
    return widget->palette().color(QPalette::Window);
}

double textContrast(const QWidget *widget)
{
    return contrast(widget->palette().color(widget->foregroundRole()), backgroundBehind(widget));
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QColor readable(const QColor &text, const QColor &background)
{
    const bool lighten = contrast(Qt::white, background) >= contrast(Qt::black, background);
    const QColor hsl = text.toHsl();
    const int hue = qMax(0, hsl.hslHue());
    QColor shade = hsl;
    for (int lightness = hsl.lightness();
         contrast(shade, background) < MinimumContrast && lightness >= 0 && lightness <= 255;
         lightness += lighten ? 1 : -1)
        shade.setHsl(hue, hsl.hslSaturation(), lightness);
    return shade.toRgb();
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    const QColor shade = readable(colour, backgroundBehind(widget));
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, shade);
    colours.setColor(QPalette::ButtonText, shade);
    widget->setPalette(colours);
}

} // namespace textcolours
