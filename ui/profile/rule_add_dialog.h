#pragma once

#include "model/text_table.h"
#include "ui/skin/image_button.h"
#include "ui/skin/skinned_dialog.h"

#include <string>
#include <vector>

class QComboBox;

namespace tarvenor {

// The rules page's Add: one of the applications that show windows now, or a typed name, and
// the profile it gets.
class RuleAddDialog : public SkinnedDialog {
    Q_OBJECT
public:
    // Throws SkinError naming the skin file or picture that is missing.
    RuleAddDialog(QWidget* parent, const std::filesystem::path& skin_folder,
                  const LanguageFile& language, const std::vector<std::string>& running);

    // The application as chosen or typed, without surrounding blanks.
    std::string application() const;
    // 0..2
    int profile() const;

    QComboBox* application_choice() const { return application_; }
    QComboBox* profile_choice() const { return profile_; }
    ImageButton* ok_button() const { return ok_; }
    ImageButton* cancel_button() const { return cancel_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    const LanguageFile& language_;
    QComboBox* application_ = nullptr;
    QComboBox* profile_ = nullptr;
    ImageButton* ok_ = nullptr;
    ImageButton* cancel_ = nullptr;
};

} // namespace tarvenor
