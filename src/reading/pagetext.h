#pragma once

#include <QByteArray>
#include <QString>

namespace pagetext {
// The charset a page names in its meta tag, in lower case; empty when it names none.
QString declaredCharset(const QByteArray &page);
// The text of a page: Windows-1251 when the page says so (or says nothing and is not valid
// UTF-8), otherwise UTF-8. A byte-order mark wins over the meta tag.
QString decodePage(const QByteArray &page);

// Our own view of a page that cannot be shown, naming its file: missing, or, with `problem`,
// refused for that reason.
QString missingPageHtml(const QString &path, const QString &problem = QString());
} // namespace pagetext
