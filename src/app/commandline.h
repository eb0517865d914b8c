#pragma once

#include <QStringList>

#include <optional>

class QTextStream;

// The program's command line. "--help", "--version", "--check-bank FILE", "--import FILE BANK",
// "--export BANK FILE" and "--item-analysis BANK FOLDER... --csv FILE" are answered on the console
// without opening a window; they return the exit code. Without them the result is empty and the
// program opens its windows; options it does not know are left to the window system ("-platform
// offscreen" and the like).
std::optional<int> runCommandLine(const QStringList &arguments, QTextStream &out, QTextStream &err);

// runCommandLine on the standard output and error. A Windows program of the window subsystem
// has neither when a command prompt starts it: its answers then go to that prompt's console.
std::optional<int> answerOnTheConsole(const QStringList &arguments);
