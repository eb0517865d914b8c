#include "users/registration.h"

#include "core/appcontext.h"
#include "users/loginwindow.h"

void registerUsersWindows(AppContext &context)
{
    registerWindows<LoginWindow>(context);
}
