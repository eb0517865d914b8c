#include "app/registration.h"

#include "app/appcontext.h"
#include "app/windowhub.h"

void registerReadingWindows(AppContext &context)
{
    Q_UNUSED(context);
}
