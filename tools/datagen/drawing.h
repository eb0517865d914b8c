#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPen>
#include <QSize>
#include <QString>

#include <array>

// Pictures are kept as small drawing descriptions (datagen/README-content.md), one command a
// line:
//   size W H / background #RRGGBB / pen #RRGGBB WIDTH / brush #RRGGBB | brush none /
//   line X1 Y1 X2 Y2 / rect X Y W H / ellipse CX CY RX RY / text X Y SIZE words...
// A line whose first non-blank character is '#' is a comment, and so is the rest of a line after
// a command's last argument when it starts with '#' (a text runs to the end of its line).

struct DrawingShape
{
    enum class Kind { Line, Rect, Ellipse, Text };
    Kind kind = Kind::Line;
    QPen pen;
    QBrush brush;
    std::array<double, 4> numbers{}; // the coordinates; a text uses X, Y and its size
    QString text;
};

struct Drawing
{
    QSize size;
    QColor background = Qt::white;
    QList<DrawingShape> shapes;
};

// Parses a description; a fault is a DataError naming fileName and the line.
Drawing parseDrawing(const QString &description, const QString &fileName);

// Paints the shapes in order over the background.
QImage renderDrawing(const Drawing &drawing);

// The same picture as a scalable SVG document, one element per shape.
QByteArray drawingToSvg(const Drawing &drawing);

// The font for texts drawn by the generator, at a pixel size.
QFont drawingFont(int pixelSize, bool bold = false);
