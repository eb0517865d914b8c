#include "app/registration.h"

#include "app/appcontext.h"
#include "app/windowhub.h"
#include "users/loginwindow.h"

void registerUsersWindows(AppContext &context)
{
    context.windows.registerWindow(QStringLiteral("id_reader"),
                                   [&context] { return new id_reader(context); });
}
