#pragma once

#include "testing/testsettings.h"
#include "ui/skinnedwindow.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;

// The additional settings: answer time and error review, applied here and on the classroom's
// pupil computers.
class TestSettingsWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    static const QString Explanation;

    explicit TestSettingsWindow(AppContext &context);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QGroupBox *addOptions(const QString &frameName, const QString &title, QButtonGroup *group,
                          const QList<std::pair<int, QString>> &options, int firstLabel,
                          const QString &buttonPrefix);
    void showSettings();
    void choose();
    void apply();
    void delivered(const SettingsDelivery &delivery);

    TestSettings m_settings;
    SettingsPush *m_push = nullptr;
    QPushButton *m_apply = nullptr;
    QButtonGroup *m_time = nullptr;
    QButtonGroup *m_errors = nullptr;
    QLabel *m_delivery = nullptr;
};
