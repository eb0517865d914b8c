#include "app/registration.h"

#include "app/appcontext.h"
#include "app/windowhub.h"

void registerNetworkWindows(AppContext &context)
{
    Q_UNUSED(context);
}
