#pragma once

#include "ui/logic/control_ids.h"
#include "ui/logic/profile_list.h"
#include "ui/profile/profile_manager_host.h"
#include "ui/skin/image_button.h"
#include "ui/skin/skinned_dialog.h"

#include <map>

class QTreeWidget;
class QTreeWidgetItem;

namespace tarvenor {

// The profile manager: which of the keyboard's profiles is active, and a list of profile files.
// The list's rules live in ProfileList; this dialog places, paints and forwards.
class ProfileManagerDialog : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr OwnText kBeyondProfilesText{
        "PROFILE_BEYOND_THREE",
        "Only the first three rows stand for the keyboard's three profiles; a later row cannot "
        "be made active."};
    static constexpr OwnText kDeleteRowText{
        "PROFILE_DELETE_ROW_CONFIRM",
        "Remove %1 from the list? The file itself stays where it is."};
    static constexpr OwnText kColumnTexts[] = {
        {"PROFILE_COLUMN_ACTIVE", "Active"},
        {"PROFILE_COLUMN_NAME", "Name"},
        {"PROFILE_COLUMN_PATH", "Path"},
    };

    // Throws SkinError naming the skin file or picture that is missing.
    ProfileManagerDialog(QWidget* parent, const std::filesystem::path& skin_folder,
                         ProfileManagerHost& host);

    // Fills the list afresh and runs modally.
    int exec() override;
    bool is_open() const { return open_count_ > 0; }
    bool pending() const { return list_.pending(); }
    // After a switch from the main window: the active row checked, nothing pending.
    void show_active(int profile);
    void close_if_open();

    const ProfileList& list() const { return list_; }
    ImageButton* button(ProfileManagerControl control) const;
    QTreeWidget* list_view() const { return view_; }

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void place_buttons();
    void fill();
    void show_rows();
    void on_item_changed(QTreeWidgetItem* item, int column);
    void add_row();
    void load_row();
    void delete_row();
    void apply();
    void set_pending_look();

    ProfileManagerHost& host_;
    const SkinPicture* normal_ = nullptr;
    const SkinPicture* over_ = nullptr;
    const SkinPicture* down_ = nullptr;
    std::map<ProfileManagerControl, ImageButton*> buttons_;
    QTreeWidget* view_ = nullptr;
    ProfileList list_;
    int open_count_ = 0;
    bool showing_rows_ = false;
};

} // namespace tarvenor
