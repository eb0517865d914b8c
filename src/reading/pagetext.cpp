#include "reading/pagetext.h"

#include "core/textfile.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringDecoder>

namespace pagetext {

QString declaredCharset(const QByteArray &page)
{
    // The head is ASCII in every charset we meet, so it can be searched as Latin-1.
    const QString head = QString::fromLatin1(page.left(4096));
    static const QRegularExpression charset(
        QStringLiteral("<meta[^>]*charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9_\\-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = charset.match(head);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

namespace {
bool isWindows1251(const QString &charset)
{
    return charset == QLatin1String("windows-1251") || charset == QLatin1String("cp1251") ||
           charset == QLatin1String("x-cp1251") || charset == QLatin1String("1251");
}

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text);
    return !decoder.hasError();
}
} // namespace

QString decodePage(const QByteArray &page)
{
    if (page.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(page.mid(3));
    const QString charset = declaredCharset(page);
    if (isWindows1251(charset))
        return textfile::decode1251(page);
    if (charset.isEmpty() && !isValidUtf8(page))
        return textfile::decode1251(page);
    return QString::fromUtf8(page);
}

QString missingPageHtml(const QString &path, const QString &problem)
{
    const QString name = QDir::toNativeSeparators(path).toHtmlEscaped();
    const QString what = problem.isEmpty()
                             ? QStringLiteral("<h2>Страница не найдена</h2>"
                                              "<p>Файл этой страницы отсутствует:</p>")
                             : QStringLiteral("<h2>Страница не открыта</h2>"
                                              "<p>Файл этой страницы не прочитан: %1.</p>")
                                   .arg(problem.toHtmlEscaped());
    return QStringLiteral("<html><body style=\"font-family:Arial,sans-serif;margin:24px\">%1"
                          "<p><b>%2</b></p>"
                          "<p>Сообщите об этом преподавателю или администратору курса.</p>"
                          "</body></html>")
        .arg(what, name);
}

} // namespace pagetext
