#pragma once

#include "model/configuration.h"
#include "model/text_table.h"
#include "model/user_storage.h"
#include "ui/logic/assignment_logic.h"
#include "ui/logic/assignment_prompts.h"
#include "ui/logic/key_click.h"
#include "ui/logic/macro_recorder.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <filesystem>
#include <functional>

namespace tarvenor {

class MainWindow;
class AssignmentDialog;

// The dialog's questions and messages as message boxes; Yes/No questions preselect No.
class MessageBoxPrompts final : public AssignmentPrompts {
public:
    using Ask = std::function<bool(const QString&)>;
    using Tell = std::function<void(const QString&)>;

    MessageBoxPrompts();
    // Replaces the boxes (tests answer them).
    void set(Ask ask, Tell tell);

    bool ask_yes_no(const std::string& text) override;
    void show_message(const std::string& text) override;

private:
    Ask ask_;
    Tell tell_;
};

struct AssignmentHostServices {
    const LanguageFile& language;
    const TextTable& texts;
    Configuration& configuration;
    SettingsStore& settings;
    std::filesystem::path skin_folder;
};

// Opens the assignment dialog for the main window's key-click requests, one at a time, beside
// the clicked key; after an Apply the main window's captions follow and its Apply is enabled.
// The dialog's logic lives as long as the host, so the new-macro counter survives openings.
class AssignmentHost final : public QObject {
    Q_OBJECT
public:
    AssignmentHost(MainWindow& window, AssignmentHostServices services);
    ~AssignmentHost() override;

    void open(const KeyClickRequest& request);
    // The dialog is on screen (a profile switch is refused meanwhile).
    bool is_open() const { return !dialog_.isNull(); }
    AssignmentDialog* dialog() const;
    AssignmentLogic& logic() { return logic_; }
    MessageBoxPrompts& prompts() { return prompts_; }
    // The on-screen keyboard the dialog's button starts (empty: the button is disabled).
    void set_osk_program(QString program) { osk_program_ = std::move(program); }

    // The on-screen keyboard installed on this system, empty when there is none.
    static QString find_osk_program();

private:
    void applied(const AssignmentApplyResult& result);

    MainWindow& window_;
    AssignmentHostServices services_;
    SteadyClock clock_;
    MessageBoxPrompts prompts_;
    AssignmentLogic logic_;
    QString osk_program_;
    QPointer<AssignmentDialog> dialog_;
};

} // namespace tarvenor
