#pragma once

#include <QString>
#include <QStringList>

class Classroom;

// net.ini: "number", the count of pupil computers, then for every computer its number and the
// folder of its program (ending with a separator), or an empty line when it is not set up.
// A missing file or one whose first line is "clear" means the classroom is not configured.
namespace netconfig {
bool isConfigured(const QString &path);
// The lines of net.ini for the classroom.
QStringList toLines(const Classroom &classroom);
// Reads the lines into the classroom; indices outside 1..50 are skipped, folders the lines do
// not name are kept, the count is kept within 0..50.
void applyLines(Classroom &classroom, const QStringList &lines);
// The folder part of a chosen program file: up to and including the last separator.
QString folderOf(const QString &programFile);
} // namespace netconfig

// Refreshes the classroom from net.ini when it exists and is not "clear".
void loadNetConfig(Classroom &classroom, const QString &path);
// Writes net.ini from the classroom.
bool saveNetConfig(const Classroom &classroom, const QString &path);
