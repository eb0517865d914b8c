#pragma once

#include <QString>

// The administrator of the user base: the user whose first name and surname are both "vedok".
namespace administrator {

inline const QString Name = QStringLiteral("vedok");

// Names as the user base stores them, compared exactly; typed names go through nameKey first.
inline bool hasNames(const QString &first, const QString &second)
{
    return first == Name && second == Name;
}

} // namespace administrator
