#include "app/commandline.h"

#include <QCoreApplication>

// The program's console answers in a program of the window subsystem that needs no windows,
// for the Windows test of where they go.
int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Тарвел"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVEL_VERSION));
    return answerOnTheConsole(QCoreApplication::arguments()).value_or(3);
}
