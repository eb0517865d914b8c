// Registers COUNT users named "<PREFIX> <n>" in the user base at PATH, each through the login's
// two presses of OK, while another copy of this program does the same on the same base.
#include "core/sessionstate.h"
#include "users/loginflow.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return 2;
    const QString &base = args.at(1);
    const int count = args.at(3).toInt();
    for (int n = 0; n < count; ++n) {
        SessionState session;
        LoginFlow flow(session, base, base + QStringLiteral(".new"));
        const QString first = QString::number(n);
        if (flow.pressOk(first, args.at(2), QStringLiteral("p")) != LoginFlow::Result::NotFound ||
            flow.pressOk(first, args.at(2), QStringLiteral("p")) != LoginFlow::Result::Registered) {
            qWarning("registration %d: %s", n, qPrintable(flow.message()));
            return 1;
        }
    }
    return 0;
}
