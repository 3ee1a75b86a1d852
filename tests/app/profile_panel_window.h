#pragma once

#include "virtual_keyboard_window.h"

#include "map_settings.h"
#include "model/key_codes.h"
#include "ui/logic/keyboard_map.h"
#include "ui/main/profile_panel.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>

namespace tarvenor::testing {

inline constexpr int kSlotA = 0x1E;

// The window with its profile controls wired as the program wires them, on the virtual
// keyboard; questions are answered and files chosen by the test.
class ProfilePanelWindow : public VirtualKeyboardWindow {
protected:
    void SetUp() override {
        VirtualKeyboardWindow::SetUp();
        panel = new ProfilePanel(*window, {configuration, storage, settings, language, texts});
        panel->set_question([this](const QString& text) {
            questions << text;
            return answer;
        });
        panel->set_file_chooser([this](ProfileFilePurpose purpose, const QString&) {
            asked_purposes.push_back(purpose);
            return chosen_file;
        });
        // The window asks on its own when the keyboard changed under unapplied edits.
        window->set_question([this](const QString& text) {
            questions << text;
            return answer;
        });
        before_start();
        start(false);
        ASSERT_TRUE(wait_for([this] { return window->current_profile() == 0; }));
        settle();
    }
    // Wiring a derived fixture adds before the keyboard arrives.
    virtual void before_start() {}
    std::uint8_t memory_byte(const char* file, std::size_t offset) const {
        std::ifstream in((sim_dir + "/" + file).toStdString(), std::ios::binary);
        in.seekg(static_cast<std::streamoff>(offset));
        return static_cast<std::uint8_t>(in.get());
    }
    KeyAssignment entry(int profile, int slot) const {
        return configuration.entry(flat_entry(profile, slot));
    }
    void edit_a(int profile) {
        KeyAssignment disabled;
        disabled.type = static_cast<std::uint16_t>(AssignmentType::Disabled);
        { configuration.assign(flat_entry(profile, kSlotA), disabled); }
        window->button(MainControl::Apply)->setEnabled(true);
    }
    bool apply_enabled() const { return window->button(MainControl::Apply)->isEnabled(); }

    MapSettings settings;
    ProfilePanel* panel = nullptr;
    QStringList questions;
    bool answer = false;
    QString chosen_file;
    std::vector<ProfileFilePurpose> asked_purposes;
};

} // namespace tarvenor::testing
