#pragma once

#include "model/text_table.h"
#include "ui/assign/key_capture.h"
#include "ui/logic/assignment_logic.h"
#include "ui/skin/face_images.h"
#include "ui/skin/image_button.h"
#include "ui/skin/skinned_dialog.h"

#include <QString>

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace tarvenor {

class ActionListView;
class SkinLabel;

// The four picture sets a page draws its controls from, and the macro-only mode's.
enum class AssignmentLook { Key, Macro, Macro2, Media, Function };

// The assignment dialog: gives one key its function and edits and records macros. Every
// decision is AssignmentLogic's; this widget places the skin's controls, shows the logic's state
// after each change and forwards clicks, edits and keystrokes.
class AssignmentDialog : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr const char* kNoOskText =
        "No on-screen keyboard is installed (for example the package onboard).";

    struct Services {
        const LanguageFile& language;
        const TextTable& texts;
        AssignmentLogic& logic;
        // The profile the keyboard has in force, read at Apply.
        std::function<int()> current_profile;
        // After an Apply that wrote the assignment.
        std::function<void(const AssignmentApplyResult&)> applied;
        std::function<void()> help;
        // The on-screen keyboard program; empty when none is installed.
        QString osk_program;
    };

    // Throws SkinError naming the skin file or picture that is missing. The logic must have been
    // opened for the key already.
    AssignmentDialog(QWidget* parent, const std::filesystem::path& skin_folder, Services services);
    ~AssignmentDialog() override;

    ImageButton* button(AssignmentControl control_id) const;
    QWidget* control(AssignmentControl control_id) const;
    ActionListView& action_list() const { return *actions_; }
    QComboBox& macro_list() const { return *macros_; }
    QLineEdit& key_field() const { return *key_field_; }
    QLineEdit& cycles_field() const { return *cycles_; }
    AssignmentLook look() const { return look_; }
    // Whether keystrokes are taken from the application (the keyboard is grabbed too while
    // recording).
    bool capturing() const { return capture_ != nullptr; }

    // Shows the logic's state in every control.
    void show_state();

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void find_pictures();
    void place_buttons();
    void place_labels();
    void place_fields();
    void connect_controls();
    void on_button(AssignmentControl control_id);
    void queue_show_state();
    void show_look();
    void show_controls();
    void show_macro_list();
    void show_record_button();
    void follow_capture();
    FaceImages faces(AssignmentLook look) const;
    QString language_text(const char* key) const;

    Services services_;
    // normal, over, down, disabled for each look.
    std::array<std::array<const SkinPicture*, 4>, 5> pictures_{};
    AssignmentLook look_ = AssignmentLook::Key;
    std::map<AssignmentControl, ImageButton*> buttons_;
    std::map<AssignmentControl, QWidget*> controls_;
    SkinLabel* page_name_ = nullptr;
    QLabel* prompt_ = nullptr;
    QLineEdit* key_field_ = nullptr;
    QComboBox* media_ = nullptr;
    QComboBox* functions_ = nullptr;
    QComboBox* macros_ = nullptr;
    ActionListView* actions_ = nullptr;
    QLineEdit* cycles_ = nullptr;
    QCheckBox* record_delay_ = nullptr;
    std::unique_ptr<KeyCapture> capture_;
    bool refresh_queued_ = false;
};

} // namespace tarvenor
