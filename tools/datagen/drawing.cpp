#include "drawing.h"

#include "dataerror.h"
#include "textconvert.h"

#include <QPainter>
#include <QRegularExpression>
#include <QTextStream>

#include <cmath>

namespace {

constexpr int kMaxSide = 4000;

// Reads the commands of one description, keeping the current pen and brush.
class DrawingParser
{
public:
    explicit DrawingParser(const QString &fileName) : m_fileName(fileName) {}

    Drawing parse(const QString &description);

private:
    void parseLine(const QString &line);
    void parseSize(const QStringList &args);
    void parseShape(DrawingShape::Kind kind, const QStringList &args);
    void parseText(const QString &line);
    QStringList arguments(const QStringList &tokens, int count) const;
    double number(const QString &token) const;
    QColor colour(const QString &token) const;
    [[noreturn]] void fail(const QString &what) const;

    QString m_fileName;
    int m_line = 0;
    Drawing m_drawing;
    QPen m_pen{QColor(Qt::black), 1};
    QBrush m_brush{Qt::NoBrush};
};

Drawing DrawingParser::parse(const QString &description)
{
    const QStringList lines = splitTextLines(description);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        m_line = int(i + 1);
        const QString line = lines[i].trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            parseLine(line);
    }
    if (m_drawing.size.isEmpty()) {
        m_line = 0;
        fail(QStringLiteral("no \"size\" command"));
    }
    return m_drawing;
}

void DrawingParser::parseLine(const QString &line)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList tokens = line.split(blanks);
    const QString command = tokens.first();
    static const QStringList known{QStringLiteral("size"),    QStringLiteral("background"),
                                   QStringLiteral("pen"),     QStringLiteral("brush"),
                                   QStringLiteral("line"),    QStringLiteral("rect"),
                                   QStringLiteral("ellipse"), QStringLiteral("text")};
    if (!known.contains(command))
        fail(QStringLiteral("unknown command \"%1\"").arg(command));
    if (command != QLatin1String("size") && m_drawing.size.isEmpty())
        fail(QStringLiteral("the first command must be \"size\""));
    if (command == QLatin1String("size"))
        parseSize(arguments(tokens, 2));
    else if (command == QLatin1String("background"))
        m_drawing.background = colour(arguments(tokens, 1)[0]);
    else if (command == QLatin1String("pen")) {
        const QStringList args = arguments(tokens, 2);
        const double width = number(args[1]);
        if (width < 0)
            fail(QStringLiteral("pen width must not be negative"));
        m_pen = QPen(colour(args[0]), width);
    } else if (command == QLatin1String("brush")) {
        const QString arg = arguments(tokens, 1)[0];
        m_brush = arg == QLatin1String("none") ? QBrush(Qt::NoBrush) : QBrush(colour(arg));
    } else if (command == QLatin1String("line"))
        parseShape(DrawingShape::Kind::Line, arguments(tokens, 4));
    else if (command == QLatin1String("rect"))
        parseShape(DrawingShape::Kind::Rect, arguments(tokens, 4));
    else if (command == QLatin1String("ellipse"))
        parseShape(DrawingShape::Kind::Ellipse, arguments(tokens, 4));
    else
        parseText(line);
}

void DrawingParser::parseSize(const QStringList &args)
{
    if (!m_drawing.size.isEmpty())
        fail(QStringLiteral("\"size\" given twice"));
    const double width = number(args[0]);
    const double height = number(args[1]);
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide ||
        width != std::floor(width) || height != std::floor(height))
        fail(QStringLiteral("size must be whole numbers from 1 to %1").arg(kMaxSide));
    m_drawing.size = QSize(int(width), int(height));
}

void DrawingParser::parseShape(DrawingShape::Kind kind, const QStringList &args)
{
    DrawingShape shape;
    shape.kind = kind;
    shape.pen = m_pen;
    shape.brush = m_brush;
    for (int i = 0; i < 4; ++i)
        shape.numbers[i] = number(args[i]);
    m_drawing.shapes.append(shape);
}

void DrawingParser::parseText(const QString &line)
{
    static const QRegularExpression form(
        QStringLiteral("^text\\s+(\\S+)\\s+(\\S+)\\s+(\\S+)\\s+(.+)$"));
    const QRegularExpressionMatch match = form.match(line);
    if (!match.hasMatch())
        fail(QStringLiteral("\"text\" needs X Y SIZE and the words"));
    DrawingShape shape;
    shape.kind = DrawingShape::Kind::Text;
    shape.pen = m_pen;
    shape.numbers = {number(match.captured(1)), number(match.captured(2)),
                     number(match.captured(3)), 0};
    if (shape.numbers[2] < 1)
        fail(QStringLiteral("text size must be at least 1"));
    shape.text = match.captured(4);
    m_drawing.shapes.append(shape);
}

// The `count` arguments after the command word; more are allowed only as a comment.
QStringList DrawingParser::arguments(const QStringList &tokens, int count) const
{
    const QString command = tokens.first();
    if (tokens.size() < count + 1)
        fail(QStringLiteral("\"%1\" needs %2 argument(s)").arg(command).arg(count));
    if (tokens.size() > count + 1 && !tokens[count + 1].startsWith(u'#'))
        fail(QStringLiteral("\"%1\" takes %2 argument(s)").arg(command).arg(count));
    return tokens.mid(1, count);
}

double DrawingParser::number(const QString &token) const
{
    bool ok = false;
    const double value = token.toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > 100000)
        fail(QStringLiteral("\"%1\" is not a number").arg(token));
    return value;
}

QColor DrawingParser::colour(const QString &token) const
{
    static const QRegularExpression form(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!form.match(token).hasMatch())
        fail(QStringLiteral("\"%1\" is not a colour #RRGGBB").arg(token));
    return QColor(token);
}

void DrawingParser::fail(const QString &what) const
{
    throw dataError(m_fileName, m_line, what);
}

void paintShape(QPainter &painter, const DrawingShape &shape)
{
    painter.setPen(shape.pen);
    painter.setBrush(shape.brush);
    const auto &n = shape.numbers;
    switch (shape.kind) {
    case DrawingShape::Kind::Line:
        painter.drawLine(QPointF(n[0], n[1]), QPointF(n[2], n[3]));
        break;
    case DrawingShape::Kind::Rect:
        painter.drawRect(QRectF(n[0], n[1], n[2], n[3]));
        break;
    case DrawingShape::Kind::Ellipse:
        painter.drawEllipse(QPointF(n[0], n[1]), n[2], n[3]);
        break;
    case DrawingShape::Kind::Text:
        painter.setFont(drawingFont(int(std::lround(n[2]))));
        painter.drawText(QPointF(n[0], n[1]), shape.text);
        break;
    }
}

// A pen of width 0 is one device pixel wide when painted; in SVG it would draw nothing.
QString svgStroke(const QPen &pen)
{
    return QStringLiteral("stroke=\"%1\" stroke-width=\"%2\"")
        .arg(pen.color().name())
        .arg(pen.widthF() > 0 ? pen.widthF() : 1.0);
}

QString svgFill(const QBrush &brush)
{
    return QStringLiteral("fill=\"%1\"")
        .arg(brush.style() == Qt::NoBrush ? QStringLiteral("none") : brush.color().name());
}

QString svgElement(const DrawingShape &shape)
{
    const auto &n = shape.numbers;
    switch (shape.kind) {
    case DrawingShape::Kind::Line:
        return QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" %5/>")
            .arg(n[0])
            .arg(n[1])
            .arg(n[2])
            .arg(n[3])
            .arg(svgStroke(shape.pen));
    case DrawingShape::Kind::Rect:
        return QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" %5 %6/>")
            .arg(n[0])
            .arg(n[1])
            .arg(n[2])
            .arg(n[3])
            .arg(svgFill(shape.brush), svgStroke(shape.pen));
    case DrawingShape::Kind::Ellipse:
        return QStringLiteral("<ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" %5 %6/>")
            .arg(n[0])
            .arg(n[1])
            .arg(n[2])
            .arg(n[3])
            .arg(svgFill(shape.brush), svgStroke(shape.pen));
    case DrawingShape::Kind::Text:
        return QStringLiteral("<text x=\"%1\" y=\"%2\" font-family=\"%3\" font-size=\"%4\" "
                              "fill=\"%5\">%6</text>")
            .arg(n[0])
            .arg(n[1])
            .arg(drawingFont(1).families().join(QStringLiteral(", ")))
            .arg(std::lround(n[2]))
            .arg(shape.pen.color().name(), shape.text.toHtmlEscaped());
    }
    return {};
}

} // namespace

Drawing parseDrawing(const QString &description, const QString &fileName)
{
    return DrawingParser(fileName).parse(description);
}

QImage renderDrawing(const Drawing &drawing)
{
    QImage image(drawing.size, QImage::Format_RGB32);
    image.fill(drawing.background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const DrawingShape &shape : drawing.shapes)
        paintShape(painter, shape);
    return image;
}

QByteArray drawingToSvg(const Drawing &drawing)
{
    QString svg;
    QTextStream out(&svg);
    const int w = drawing.size.width();
    const int h = drawing.size.height();
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << w << "\" height=\"" << h
        << "\" viewBox=\"0 0 " << w << ' ' << h << "\">\n"
        << "  <rect width=\"" << w << "\" height=\"" << h << "\" fill=\""
        << drawing.background.name() << "\"/>\n";
    for (const DrawingShape &shape : drawing.shapes)
        out << "  " << svgElement(shape) << '\n';
    out << "</svg>\n";
    out.flush();
    return svg.toUtf8();
}

QFont drawingFont(int pixelSize, bool bold)
{
    // Windows has no DejaVu; Arial is there with Cyrillic, so labels look alike on both.
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Arial")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}
