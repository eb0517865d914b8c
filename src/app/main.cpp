#include "app/application.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Тарвел"));
    QApplication::setOrganizationName(QStringLiteral("Тарвел"));
    QApplication::setQuitOnLastWindowClosed(false);
    Application application(QApplication::applicationDirPath());
    return application.run();
}
