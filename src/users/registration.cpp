#include "users/registration.h"

#include "core/appcontext.h"
#include "core/windowhub.h"
#include "users/loginwindow.h"

void registerUsersWindows(AppContext &context)
{
    context.windows.add<LoginWindow>(QStringLiteral("id_reader"),
                                     [&context] { return new LoginWindow(context); });
}
