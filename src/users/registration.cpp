#include "app/registration.h"

#include "core/appcontext.h"
#include "core/windowhub.h"
#include "testing/testsettingswindow.h"
#include "users/adminwindow.h"
#include "users/loginwindow.h"

void registerUsersWindows(AppContext &context)
{
    context.windows.registerWindow(QStringLiteral("id_reader"),
                                   [&context] { return new LoginWindow(context); });
    context.windows.registerWindow(QStringLiteral("frmBOSS"),
                                   [&context] { return new AdminWindow(context); });
    context.windows.registerWindow(QStringLiteral("frmDopSETUP"),
                                   [&context] { return new TestSettingsWindow(context); });
}
