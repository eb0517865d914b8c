#include "core/sessionstate.h"
#include "fuzzsupport.h"
#include "users/loginflow.h"
#include "users/userbase.h"

// Login and renewal with typed names. The input is three lines typed into the login window
// (first name, surname, password, in any script) followed by the bytes of the user base. A user
// who is let in, or registered, gets his results stored by the renewal and finds them again
// with the same typed names; no other user of the base is lost on the way.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(data, qsizetype(size));
    QList<QString> typed;
    qsizetype at = 0;
    while (typed.size() < 3) {
        const qsizetype end = input.indexOf('\n', at);
        if (end < 0)
            return 0;
        typed << QString::fromUtf8(input.sliced(at, end - at));
        at = end + 1;
    }
    const QByteArray baseBytes = input.sliced(at).toByteArray();
    const QString baseFile =
        fuzzFile(data + at, size_t(baseBytes.size()), QStringLiteral("2_17.jpg"));
    const QString newUserFile = fuzzFolder() + QStringLiteral("/1n_12.jpg");
    const UserBase before = UserBase::fromBytes(baseBytes);

    SessionState session;
    LoginFlow login(session, baseFile, newUserFile);
    LoginFlow::Result result = login.pressOk(typed.at(0), typed.at(1), typed.at(2));
    if (result == LoginFlow::Result::NotFound)
        result = login.pressOk(typed.at(0), typed.at(1), typed.at(2));
    if (result != LoginFlow::Result::Identified && result != LoginFlow::Result::Registered)
        return 0;

    session.user.bookmark = QStringLiteral("Закладка");
    session.user.results[0] = QStringLiteral("5");
    if (!renewCurrentUser(session, baseFile))
        __builtin_trap(); // the user just let in cannot keep his results

    const std::optional<UserBase> after = UserBase::load(baseFile);
    if (!after)
        __builtin_trap();
    for (qsizetype i = 0; i + 1 < before.records.size(); ++i) {
        const UserRecord &record = before.records.at(i);
        if (record.firstName.isEmpty() ||
            record.hasNames(session.user.firstName, session.user.surname))
            continue;
        const qsizetype found = after->indexOf(record.firstName, record.surname);
        if (found < 0 || after->records.at(found).password != record.password)
            __builtin_trap();
    }

    SessionState again;
    LoginFlow second(again, baseFile, newUserFile);
    if (second.pressOk(typed.at(0), typed.at(1), typed.at(2)) != LoginFlow::Result::Identified)
        __builtin_trap();
    if (again.user.bookmark != session.user.bookmark ||
        again.user.results[0] != QStringLiteral("5"))
        __builtin_trap();
    return 0;
}
