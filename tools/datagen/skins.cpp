#include "skins.h"

#include "dataerror.h"
#include "drawing.h"
#include "manifest.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>

namespace {

constexpr int kMinSide = 16;
constexpr int kMaxSide = 600;
constexpr int kBevel = 3;
constexpr int kLabelPadding = 10;

struct ButtonColours
{
    QColor faceTop;
    QColor faceBottom;
    QColor light;
    QColor dark;
    QColor border;
    int borderWidth;
    QColor text;
};

ButtonColours normalColours()
{
    return {QColor(0x3A, 0x6E, 0xA5), QColor(0x1F, 0x4A, 0x78), QColor(0x86, 0xAE, 0xDA),
            QColor(0x10, 0x26, 0x3F), QColor(0x0A, 0x1A, 0x2C), 1,
            QColor(Qt::white)};
}

ButtonColours litColours()
{
    return {QColor(0x7C, 0xB4, 0xEC), QColor(0x48, 0x84, 0xC4), QColor(0xE2, 0xF0, 0xFF),
            QColor(0x1C, 0x3F, 0x66), QColor(0xFF, 0xD8, 0x3A), 3,
            QColor(0xFF, 0xFB, 0xE0)};
}

QSize parseSize(const QString &text, const QString &fileName, int line)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,4})x(\\d{1,4})$"));
    const QRegularExpressionMatch match = form.match(text);
    const QSize size =
        match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
    if (size.width() < kMinSide || size.height() < kMinSide || size.width() > kMaxSide ||
        size.height() > kMaxSide)
        throw dataError(fileName, line,
                        QStringLiteral("size \"%1\" is not WxH from %2 to %3 pixels")
                            .arg(text)
                            .arg(kMinSide)
                            .arg(kMaxSide));
    return size;
}

void checkFileName(const QString &name, const QString &fileName, int line)
{
    static const QRegularExpression form(QStringLiteral("^[a-z0-9_-]+$"));
    if (!form.match(name).hasMatch())
        throw dataError(fileName, line,
                        QStringLiteral("\"%1\" is not a lower-case file name").arg(name));
}

SkinDef parseSkin(const ManifestLine &line, const QString &fileName)
{
    const QStringList &f = line.fields;
    if (f.size() < 3 || f.size() > 4)
        throw dataError(fileName, line.number,
                        QStringLiteral("expected folder, name, label and an optional size"));
    checkFileName(f[0], fileName, line.number);
    checkFileName(f[1], fileName, line.number);
    if (f[2].isEmpty())
        throw dataError(fileName, line.number, QStringLiteral("empty label"));
    const QSize size = f.size() == 4 ? parseSize(f[3], fileName, line.number) : kDefaultButtonSize;
    return {f[0], f[1], f[2], size};
}

void paintFace(QPainter &painter, const QRect &rect, const ButtonColours &colours)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, colours.faceTop);
    gradient.setColorAt(1, colours.faceBottom);
    painter.fillRect(rect, gradient);
}

// Light edges above and to the left, dark ones below and to the right, as a raised key.
void paintBevel(QPainter &painter, const QRect &rect, const ButtonColours &colours)
{
    for (int i = 0; i < kBevel; ++i) {
        const QRect edge = rect.adjusted(i, i, -i, -i);
        painter.setPen(colours.light);
        painter.drawLine(edge.topLeft(), edge.topRight());
        painter.drawLine(edge.topLeft(), edge.bottomLeft());
        painter.setPen(colours.dark);
        painter.drawLine(edge.bottomLeft(), edge.bottomRight());
        painter.drawLine(edge.topRight(), edge.bottomRight());
    }
}

void paintBorder(QPainter &painter, const QRect &rect, const ButtonColours &colours)
{
    painter.setPen(colours.border);
    for (int i = 0; i < colours.borderWidth; ++i)
        painter.drawRect(rect.adjusted(i, i, -i - 1, -i - 1));
}

// The largest bold font, up to about two fifths of the height, in which the label fits.
QFont labelFont(const QString &label, const QSize &size)
{
    const int room = size.width() - 2 * kLabelPadding;
    int pixelSize = qMax(9, size.height() * 2 / 5);
    QFont font = drawingFont(pixelSize, true);
    while (pixelSize > 9 && QFontMetrics(font).horizontalAdvance(label) > room)
        font = drawingFont(--pixelSize, true);
    return font;
}

void paintLabel(QPainter &painter, const QRect &rect, const QString &label,
                const ButtonColours &colours)
{
    painter.setFont(labelFont(label, rect.size()));
    painter.setPen(colours.dark);
    painter.drawText(rect.translated(1, 1), Qt::AlignCenter, label);
    painter.setPen(colours.text);
    painter.drawText(rect, Qt::AlignCenter, label);
}

} // namespace

QList<SkinDef> parseSkins(const QString &manifest, const QString &fileName)
{
    QList<SkinDef> skins;
    QSet<QString> seen;
    for (const ManifestLine &line : parseManifest(manifest)) {
        const SkinDef skin = parseSkin(line, fileName);
        const QString key = skin.folder + u'/' + skin.name;
        if (seen.contains(key))
            throw dataError(fileName, line.number, QStringLiteral("%1 listed twice").arg(key));
        seen.insert(key);
        skins.append(skin);
    }
    return skins;
}

QImage drawButton(const SkinDef &skin, bool lit)
{
    const ButtonColours colours = lit ? litColours() : normalColours();
    QImage image(skin.size, QImage::Format_RGB32);
    QPainter painter(&image);
    const QRect all = image.rect();
    paintFace(painter, all, colours);
    paintBevel(painter,
               all.adjusted(colours.borderWidth, colours.borderWidth, -colours.borderWidth,
                            -colours.borderWidth),
               colours);
    paintBorder(painter, all, colours);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintLabel(painter, all, skin.label, colours);
    return image;
}
