#include "users/useradminpanel.h"

#include "core/administrator.h"
#include "core/sessionstate.h"
#include "core/whenfinished.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/skinbutton.h"
#include "ui/skinnedwindow.h"
#include "ui/textcolours.h"
#include "users/messagewindows.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QtConcurrent>

#include <memory>

#include <functional>

namespace {
using Admin = UserAdministration;

// A drop-down list that reports when it is opened.
class UserList : public QComboBox
{
public:
    UserList(std::function<void()> opened, QWidget *parent)
        : QComboBox(parent), m_opened(std::move(opened))
    {
    }
    void showPopup() override
    {
        m_opened();
        QComboBox::showPopup();
    }

private:
    std::function<void()> m_opened;
};

const char *const resultCaptions[Admin::ShownResults] = {
    "Системы АТМ, датчики, фильтры, светофоры",
    "Реле и приборы релейного действия",
    "Реле",
    "Общие сведения о рельсовых цепях",
    "Рельсовые цепи",
    "Тест по всему курсу",
};
const char *const valueNames[Admin::ShownResults] = {"m10", "m11", "m12", "m13", "m16", "m17"};

// Work on this computer's base: it may wait some seconds for the base's lock, never the window.
void runInPool(QObject *context, std::function<void()> work, std::function<void(bool)> done)
{
    whenFinished(QtConcurrent::run(std::move(work)), context,
                 [done = std::move(done)] { done(true); });
}

QColor gradeColour(Admin::Grade grade, const QColor &normal)
{
    switch (grade) {
    case Admin::Grade::Satisfactory:
        return QColor(192, 64, 0);
    case Admin::Grade::Good:
        return QColor(192, 192, 0);
    case Admin::Grade::Excellent:
        return QColor(0, 128, 0);
    default:
        return normal;
    }
}

} // namespace

UserAdminPanel::UserAdminPanel(AppContext &context, HoverGroup &hover, const Options &options,
                               QWidget *parent)
    : QWidget(parent), m_context(context), m_hover(hover), m_options(options),
      m_admin(QString(), options.storage)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    buildLists();
    buildResults();
    buildButtons();
    showEditView(false);
}

void UserAdminPanel::buildLists()
{
    auto *grid = static_cast<QGridLayout *>(layout());
    const QStringList captions{QStringLiteral("Фамилия"), QStringLiteral("Имя"),
                               QStringLiteral("Пароль")};
    const QStringList fieldNames{QStringLiteral("Новая фамилия"), QStringLiteral("Новое имя"),
                                 QStringLiteral("Новый пароль")};
    for (int k = 0; k < 3; ++k) {
        QLabel *label = plainLabel(captions.at(k), this);
        label->setWordWrap(false);
        label->setObjectName(QStringLiteral("Метка%1").arg(k + 1));
        auto *list = new UserList(
            [this] {
                m_context.cues.play(Cue::Pick);
                m_hover.showHint(Admin::SelectText);
            },
            this);
        list->setObjectName(QStringLiteral("cOmBo%1").arg(k + 1));
        list->setAccessibleName(captions.at(k));
        list->setMinimumWidth(150);
        label->setBuddy(list);
        m_hover.addHint(list, Admin::SelectText);
        connect(list, &QComboBox::activated, this, &UserAdminPanel::choose);
        m_lists << list;

        auto *field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("txt%1").arg(k + 1));
        field->setAccessibleName(fieldNames.at(k));
        m_hover.addHint(field, QStringLiteral("Введите: ") + fieldNames.at(k).toLower());
        field->installEventFilter(this);
        m_fields << field;

        grid->addWidget(label, 0, k);
        grid->addWidget(list, 1, k);
        grid->addWidget(field, 2, k);
    }
    setTabOrder(m_fields.at(0), m_fields.at(1));
    setTabOrder(m_fields.at(1), m_fields.at(2));

    m_prompt = plainLabel(Admin::PromptText, this);
    m_prompt->setObjectName(QStringLiteral("m18"));
    m_prompt->setAccessibleName(QStringLiteral("Подсказка"));
    grid->addWidget(m_prompt, 3, 0, 1, 3);
}

void UserAdminPanel::buildResults()
{
    if (m_options.resultNames.isEmpty()) {
        for (int k = 0; k < Admin::ShownResults; ++k) {
            const QString captionText = QString::fromUtf8(resultCaptions[k]);
            QLabel *caption = plainLabel(captionText, this);
            caption->setWordWrap(false);
            caption->setObjectName(QStringLiteral("m%1").arg(k + 4));
            QLabel *value = plainLabel(QString(), this);
            value->setWordWrap(false);
            value->setObjectName(QString::fromLatin1(valueNames[k]));
            value->setAccessibleName(captionText);
            auto *line = new QFrame(this);
            line->setObjectName(QStringLiteral("line%1").arg(k + 1));
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            addResultRow(k, caption, value, line);
        }
        return;
    }
    // Without separator lines: a whole catalogue fits a small screen.
    for (int k = 0; k < qMin(int(m_options.resultNames.size()), UserRecord::ResultCount); ++k) {
        const QString name = m_options.resultNames.at(k).trimmed();
        if (name.isEmpty())
            continue;
        // A catalogue's name, wrapped so that a long one never widens the window.
        QLabel *caption = plainLabel(name, this);
        caption->setObjectName(QStringLiteral("lblTest%1").arg(k + 1));
        QLabel *value = plainLabel(QString(), this);
        value->setWordWrap(false);
        value->setObjectName(QStringLiteral("lblResult%1").arg(k + 1));
        value->setAccessibleName(name);
        addResultRow(k, caption, value, nullptr);
    }
}

void UserAdminPanel::addResultRow(int slot, QLabel *caption, QLabel *value, QFrame *line)
{
    auto *grid = static_cast<QGridLayout *>(layout());
    const int row = 4 + 2 * int(m_values.size());
    value->setMinimumWidth(80);
    grid->addWidget(caption, row, 0, 1, 2);
    grid->addWidget(value, row, 2);
    m_resultArea << caption << value;
    if (line) {
        grid->addWidget(line, row + 1, 0, 1, 3);
        m_resultArea << line;
    }
    m_values << value;
    m_valueSlots << slot;
}

SkinButton *UserAdminPanel::addButton(const QString &name, const QString &skin,
                                      const QString &caption, const QString &hint)
{
    auto *button = new SkinButton(name, caption, this);
    if (m_options.pictureButtons) {
        button->setSkin(m_context.session.skinPath(skin + QStringLiteral(".bmp")),
                        m_context.session.skinPath(skin + QStringLiteral("_move.bmp")));
    }
    m_hover.addButton(button, hint);
    return button;
}

void UserAdminPanel::buildButtons()
{
    m_change = addButton(QStringLiteral("chANge_but"), QStringLiteral("BOSS/change"),
                         QStringLiteral("Изменить ID"),
                         QStringLiteral("Здесь можно изменить ФИО или пароль у пользователя."));
    m_delete = addButton(QStringLiteral("DEL_but"), QStringLiteral("BOSS/DEL"),
                         QStringLiteral("Удалить выбранного"),
                         QStringLiteral("Так можно удалить выбранного пользователя из базы."));
    m_clear = addButton(
        QStringLiteral("CleAR_but"), QStringLiteral("BOSS/CleAr"), QStringLiteral("Удалить всех"),
        QStringLiteral("Осторожнее, эта кнопка удаляет всех пользователей из базы."));
    m_accept = addButton(QStringLiteral("butACCEPT"), QStringLiteral("BOSS/ACCEPT"),
                         QStringLiteral("Принять изменения"),
                         QStringLiteral("Нажми и изменения будут приняты."));
    m_cancel = addButton(QStringLiteral("butCANCEL"), QStringLiteral("BOSS/CANCEL"),
                         QStringLiteral("Отмена изменений"),
                         QStringLiteral("Возврат без принятия внесенных изменений."));
    connect(m_change, &SkinButton::clicked, this, &UserAdminPanel::startEdit);
    connect(m_delete, &SkinButton::clicked, this, &UserAdminPanel::deleteUser);
    connect(m_clear, &SkinButton::clicked, this, &UserAdminPanel::clearBase);
    connect(m_accept, &SkinButton::clicked, this, &UserAdminPanel::acceptEdit);
    connect(m_cancel, &SkinButton::clicked, this, &UserAdminPanel::cancelEdit);

    auto *row = new QHBoxLayout;
    for (SkinButton *button : {m_change, m_delete, m_clear, m_accept, m_cancel})
        row->addWidget(button);
    row->addStretch();
    auto *grid = static_cast<QGridLayout *>(layout());
    const int below = 4 + 2 * int(m_values.size());
    grid->addLayout(row, below, 0, 1, 3);
    // Both views keep their controls at the top when the window is taller than they need.
    grid->setRowStretch(below + 1, 1);
}

UserAdminPanel::~UserAdminPanel()
{
    dropUnfinished();
}

void UserAdminPanel::dropUnfinished()
{
    for (const auto &abandoned : std::as_const(m_unfinished))
        *abandoned = true;
}

void UserAdminPanel::onBase(std::function<void(UserAdministration &)> work,
                            std::function<void()> shown, BaseUse use)
{
    const int generation = ++m_generation;
    if (use == BaseUse::Read && !m_options.runAway) { // this computer's base takes no lock
        work(m_admin);
        shown();
        return;
    }
    // The work changes a copy; the window takes it over only when the work is over in time.
    auto copy = std::make_shared<UserAdministration>(m_admin);
    auto abandoned = std::make_shared<std::atomic<bool>>(false);
    copy->abandonWith(abandoned);
    m_unfinished << abandoned;
    setEnabled(false); // busy: the base may wait for its lock or its share
    const decltype(m_options.runAway) run =
        m_options.runAway ? m_options.runAway : decltype(m_options.runAway)(runInPool);
    // The answer may come after the panel has gone: it is waited for by the application.
    run(
        QCoreApplication::instance(), [copy, work = std::move(work)] { work(*copy); },
        [this, self = QPointer<UserAdminPanel>(this), changedLate = m_options.changedLate, copy,
         generation, abandoned, shown = std::move(shown)](bool done) {
            if (!self) {
                if (done && copy->lastChangeWritten() && changedLate)
                    changedLate(copy->baseFile());
                return;
            }
            if (!done) {
                *abandoned = true; // what is not written yet never will be
                if (generation == m_generation)
                    forgetBase();
                return;
            }
            m_unfinished.removeOne(abandoned);
            if (*abandoned) {
                if (copy->lastChangeWritten() && changedLate)
                    changedLate(copy->baseFile());
                return;
            }
            if (generation != m_generation)
                return; // a later request replaced this one
            setEnabled(true);
            m_admin = *copy;
            shown();
        });
}

void UserAdminPanel::forgetBase()
{
    setEnabled(true);
    m_admin = UserAdministration(QString(), m_options.storage);
    showEditView(false);
    fillLists();
    Q_EMIT notAnswered();
}

void UserAdminPanel::setBaseFile(const QString &baseFile)
{
    onBase([baseFile](Admin &admin) { admin.setBaseFile(baseFile); },
           [this] {
               showEditView(false);
               fillLists();
           },
           BaseUse::Read);
}

void UserAdminPanel::fillLists()
{
    for (QComboBox *list : std::as_const(m_lists)) {
        list->clear();
        list->setEnabled(m_admin.isReadable());
    }
    for (qsizetype i = 0; i < m_admin.listedCount(); ++i) {
        const UserRecord &record = m_admin.listed(i);
        m_lists.at(0)->addItem(record.surname);
        m_lists.at(1)->addItem(record.firstName);
        m_lists.at(2)->addItem(record.password);
    }
    for (QLabel *value : std::as_const(m_values))
        value->setVisible(m_admin.isReadable());
    for (SkinButton *button : {m_change, m_delete, m_clear})
        button->setEnabled(m_admin.isReadable());
    if (m_admin.isDamaged())
        m_hover.showHint(UserBase::messageFor(UserBase::Access::Damaged, m_admin.shownFile()));
    else if (!m_admin.isReadable())
        m_hover.showHint(m_options.unreadableText);
    showSelection();
}

void UserAdminPanel::choose(int index)
{
    m_admin.select(index);
    showSelection();
    m_hover.showHint(Admin::SelectText);
}

void UserAdminPanel::showSelection()
{
    for (QComboBox *list : std::as_const(m_lists))
        list->setCurrentIndex(int(m_admin.selected()));
    showResults();
}

void UserAdminPanel::showResults()
{
    const UserRecord record = m_admin.selectedRecord();
    const QColor normal = palette().color(QPalette::WindowText);
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        const Admin::Grade grade = Admin::gradeOf(record, m_valueSlots.at(i));
        QLabel *value = m_values.at(i);
        value->setText(Admin::gradeWord(grade));
        textcolours::setTextColour(value, gradeColour(grade, normal));
    }
}

void UserAdminPanel::startEdit()
{
    m_context.cues.play(Cue::Pick);
    const Admin::EditStart start = m_admin.beginEdit();
    if (start == Admin::EditStart::Ignored)
        return;
    const UserRecord record = m_admin.selectedRecord();
    const bool passwordOnly = start == Admin::EditStart::PasswordOnly;
    m_fields.at(0)->setText(passwordOnly ? administrator::Name : record.surname);
    m_fields.at(1)->setText(passwordOnly ? administrator::Name : record.firstName);
    m_fields.at(2)->setText(record.password);
    m_fields.at(0)->setEnabled(!passwordOnly);
    m_fields.at(1)->setEnabled(!passwordOnly);
    m_prompt->setText(Admin::PromptText);
    showEditView(true);
    m_fields.at(passwordOnly ? 2 : 0)->setFocus();
}

void UserAdminPanel::acceptEdit()
{
    m_context.cues.play(Cue::Pick);
    if (!confirmed([this] {
            return !m_options.confirmChange || m_options.confirmChange(m_admin.selectedRecord());
        }))
        return;
    auto result = std::make_shared<Admin::EditResult>();
    onBase([result, surname = m_fields.at(0)->text(), first = m_fields.at(1)->text(),
            password = m_fields.at(2)->text()](
               Admin &admin) { *result = admin.acceptEdit(surname, first, password); },
           [this, result] {
               const bool explained = *result == Admin::EditResult::Unstorable ||
                                      *result == Admin::EditResult::NotWritten;
               m_prompt->setText(explained ? m_admin.problem() : Admin::messageFor(*result));
               if (*result != Admin::EditResult::Saved)
                   return;
               showEditView(false);
               fillLists();
           });
}

void UserAdminPanel::cancelEdit()
{
    m_context.cues.play(Cue::Oou);
    onBase([](Admin &admin) { admin.cancelEdit(); },
           [this] {
               m_prompt->setText(Admin::PromptText);
               showEditView(false);
               fillLists();
           },
           BaseUse::Read);
}

void UserAdminPanel::deleteUser()
{
    m_context.cues.play(Cue::Pick);
    switch (m_admin.checkDelete()) {
    case Admin::DeleteCheck::Ignored:
        return;
    case Admin::DeleteCheck::Administrator:
        InfoWindow::tell(m_context, Admin::DeleteAdministratorText);
        return;
    case Admin::DeleteCheck::Confirm:
        break;
    }
    if (!confirmed([this] {
            return !m_options.confirmChange || m_options.confirmChange(m_admin.selectedRecord());
        }))
        return;
    if (!confirmed([this] { return ConfirmWindow::ask(m_context, Admin::DeleteConfirmText); }))
        return;
    changeAndTell([](Admin &admin) { return admin.deleteSelected(); });
}

void UserAdminPanel::clearBase()
{
    m_context.cues.play(Cue::Pick);
    if (!confirmed([this] { return ConfirmWindow::ask(m_context, Admin::ClearConfirmText); }))
        return;
    changeAndTell([](Admin &admin) { return admin.clearAllButAdministrator(); });
}

bool UserAdminPanel::confirmed(const std::function<bool()> &ask)
{
    const QPointer<UserAdminPanel> self(this);
    return ask() && self;
}

void UserAdminPanel::changeAndTell(const std::function<bool(UserAdministration &)> &change)
{
    auto written = std::make_shared<bool>(false);
    onBase([written, change](Admin &admin) { *written = change(admin); },
           [this, written] {
               fillLists();
               if (!*written)
                   InfoWindow::tell(m_context, m_admin.problem());
           });
}

void UserAdminPanel::showEditView(bool editing)
{
    for (QComboBox *list : std::as_const(m_lists))
        list->setEnabled(!editing && m_admin.isReadable());
    for (QLineEdit *field : std::as_const(m_fields)) {
        field->setVisible(editing);
        if (!editing) {
            field->setEnabled(true);
            field->clear();
        }
    }
    for (QWidget *widget : std::as_const(m_resultArea))
        widget->setVisible(!editing);
    for (SkinButton *button : {m_change, m_delete, m_clear})
        button->setVisible(!editing);
    m_prompt->setVisible(editing);
    m_accept->setVisible(editing);
    m_cancel->setVisible(editing);
    Q_EMIT editingChanged(editing);
}

bool UserAdminPanel::eventFilter(QObject *watched, QEvent *event)
{
    const auto field = m_fields.indexOf(qobject_cast<QLineEdit *>(watched));
    if (field < 0 || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    m_context.cues.play(Cue::Type);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    m_fields.at((field + 1) % m_fields.size())->setFocus();
    return true;
}
