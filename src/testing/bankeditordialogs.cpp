#include "testing/bankeditordialogs.h"

#include "core/textfile.h"
#include "ui/answergroup.h"
#include "ui/windows1251validator.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace bankeditor {

QString startOf(const QString &text)
{
    return text.size() > 60 ? text.left(59) + u'…' : text;
}

std::optional<NewTest> askNewTest(QWidget *parent, int slot)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlgNewTest"));
    dialog.setWindowTitle(QStringLiteral("Новый тест на месте %1 каталога").arg(slot + 1));
    auto *form = new QFormLayout(&dialog);
    const auto line = [&](const char *name, const QString &label, const QString &hint) {
        auto *edit = new QLineEdit(&dialog);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAccessibleName(QString(label).remove(u'&').remove(u':'));
        edit->setAccessibleDescription(hint);
        edit->setToolTip(hint);
        edit->setValidator(new Windows1251Validator(edit));
        form->addRow(label, edit);
        return edit;
    };
    QLineEdit *name = line("txtTestName", QStringLiteral("&Название:"),
                           QStringLiteral("Название теста в выборе тестов и в результатах"));
    QLineEdit *description =
        line("txtTestNote", QStringLiteral("&Описание:"),
             QStringLiteral("Ученик видит его при выборе теста; оно записывается в каталог и "
                            "в начало файла банка"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(QStringLiteral("Создать"));
    ok->setAccessibleDescription(QStringLiteral("Создать пустой банк и записать тест в каталог"));
    ok->setEnabled(false);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    buttons->button(QDialogButtonBox::Cancel)
        ->setAccessibleDescription(QStringLiteral("Не создавать тест"));
    // Both are shown in the test choice.
    const auto allowCreate = [=] {
        ok->setEnabled(!name->text().trimmed().isEmpty() &&
                       !description->text().trimmed().isEmpty());
    };
    QObject::connect(name, &QLineEdit::textChanged, ok, allowCreate);
    QObject::connect(description, &QLineEdit::textChanged, ok, allowCreate);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    dialog.setMinimumWidth(480);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return NewTest{name->text().trimmed(), description->text().trimmed()};
}

QImage boundedImage(const QString &path)
{
    const textfile::FileRead read = textfile::readFile(path);
    return read.isRead() ? QImage::fromData(read.bytes) : QImage();
}

bool confirmImport(QWidget *parent, const QString &file, const bankimport::Result &result)
{
    QStringList lines;
    for (const bankimport::Taken &taken : result.taken)
        lines << QStringLiteral("строка %1: будет взят: %2")
                     .arg(taken.line)
                     .arg(startOf(taken.question.question));
    for (const bankimport::Refusal &refusal : result.refused)
        lines
            << QStringLiteral("строка %1: не будет взят: %2").arg(refusal.line).arg(refusal.reason);
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlgImport"));
    dialog.setWindowTitle(QStringLiteral("Импорт из «%1»").arg(file));
    auto *list = new QPlainTextEdit(lines.join(u'\n'), &dialog);
    list->setObjectName(QStringLiteral("txtImportPreview"));
    list->setReadOnly(true);
    list->setAccessibleName(QStringLiteral("Что будет взято из файла"));
    list->setAccessibleDescription(QStringLiteral("Каждый вопрос файла с номером его строки: "
                                                  "будет ли он взят, а если нет — почему"));
    auto *buttons = new QDialogButtonBox(&dialog);
    QPushButton *take =
        buttons->addButton(QStringLiteral("Добавить вопросов: %1").arg(result.taken.size()),
                           QDialogButtonBox::AcceptRole);
    take->setAccessibleName(take->text());
    take->setAccessibleDescription(QStringLiteral("Дописать взятые вопросы в конец банка"));
    take->setEnabled(!result.taken.isEmpty());
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setAccessibleName(cancel->text());
    cancel->setAccessibleDescription(QStringLiteral("Ничего не добавлять"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *column = new QVBoxLayout(&dialog);
    column->addWidget(list);
    column->addWidget(buttons);
    dialog.resize(720, 420);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace bankeditor
