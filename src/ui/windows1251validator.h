#pragma once

#include <QValidator>

// Refuses, as it is typed or pasted, text that a Windows-1251 file cannot hold, and names the
// characters it refused.
class Windows1251Validator : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override;

Q_SIGNALS:
    void refused(const QString &characters) const;
};
