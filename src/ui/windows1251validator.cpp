#include "ui/windows1251validator.h"

#include "core/textfile.h"

QValidator::State Windows1251Validator::validate(QString &input, int &position) const
{
    Q_UNUSED(position);
    const QString foreign = textfile::charactersWithout1251Form(input);
    if (foreign.isEmpty())
        return Acceptable;
    Q_EMIT refused(foreign);
    return Invalid;
}
