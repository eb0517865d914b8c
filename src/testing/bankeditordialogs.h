#pragma once

#include "testing/bankdocument.h"
#include "testing/bankimport.h"

#include <QImage>
#include <QString>

#include <optional>

class QWidget;

// The dialogs of the test editor; each returns its answer.
namespace bankeditor {

struct NewTest
{
    QString name;
    QString description;
};

// Asks for the name and description of a new topic test for catalogue slot `slot`; nothing
// when the administrator cancels.
std::optional<NewTest> askNewTest(QWidget *parent, int slot);
// Shows what an import would take and refuse; true when the administrator takes it.
bool confirmImport(QWidget *parent, const QString &file, const bankimport::Result &result);
// The start of a long text, for a list.
QString startOf(const QString &text);
// A picture read with the bounds of every data file; a null picture when it is none.
QImage boundedImage(const QString &path);

} // namespace bankeditor
