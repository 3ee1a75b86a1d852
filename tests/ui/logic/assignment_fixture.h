#pragma once

#include "map_settings.h"
#include "model/text_encoding.h"
#include "ui/logic/assignment_logic.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace tarvenor::testing {

inline constexpr KeyCode kA = 0x01E;
inline constexpr KeyCode kB = 0x030;
inline constexpr KeyCode kPrintScreen = 0x137;
inline constexpr KeyCode kWin = 0x15B;
inline constexpr KeyCode kMute = 0x120;
inline constexpr KeyCode kVolumeUp = 0x130;

// Message boxes answered by the test: questions take the queued answers (No when none is left).
class FakePrompts final : public AssignmentPrompts {
public:
    bool ask_yes_no(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void show_message(const std::string& text) override { messages.push_back(text); }

    std::deque<bool> answers;
    std::vector<std::string> questions;
    std::vector<std::string> messages;
};

class FakeClock final : public MonotonicClock {
public:
    std::uint32_t now_ms() const override { return now; }
    void advance(std::uint32_t ms) { now += ms; }
    std::uint32_t now = 1000;
};

// A configuration with the default image and a dialog over it, opened on profile 0 by default.
class AssignmentFixture : public ::testing::Test {
protected:
    static constexpr int kProfile = 0;

    AssignmentFixture() { configuration.make_default_image(); }

    static KeyClickRequest key_request(KeyCode code) {
        KeyClickRequest request;
        request.key_number = key_index_of(code);
        request.control_id = 1058;
        return request;
    }
    // G button j (0..8) of a bank.
    static KeyClickRequest g_request(int j, int bank) {
        KeyClickRequest request;
        request.key_number = static_cast<std::uint16_t>(g_button_slot(j, bank));
        request.control_id = GButtonControlIds()[static_cast<std::size_t>(j)];
        request.macro_only = j == 8;
        request.bank = bank;
        return request;
    }

    void open_key(KeyCode code) { dialog.open(key_request(code), kProfile); }

    KeyAssignment entry(int slot, int profile = kProfile) const {
        return configuration.entry(flat_entry(profile, slot));
    }
    void set_entry(int slot, AssignmentType type, std::uint32_t param, int profile = kProfile) {
        KeyAssignment assignment = entry(slot, profile);
        assignment.type = static_cast<std::uint16_t>(type);
        assignment.param = param;
        configuration.assign(flat_entry(profile, slot), assignment);
    }
    // Stores macros named as given, ids 1.. in order.
    void store_macros(const std::vector<std::string>& names) {
        MacroStore store;
        std::uint16_t id = 1;
        for (const std::string& name : names) {
            MacroRecord macro;
            macro.name = utf8_to_utf16(name);
            macro.id = id++;
            store.push_back(macro);
        }
        configuration.macros() = store;
    }
    MacroStore stored_macros() const { return configuration.macros(); }
    void press(KeyCode code, bool release = false, bool auto_repeat = false) {
        dialog.key_stroke(KeyStroke{code, release, auto_repeat});
    }
    void tap(KeyCode code) {
        press(code);
        press(code, true);
    }

    Configuration configuration;
    TextTable texts;
    LanguageFile language;
    MapSettings settings;
    FakePrompts prompts;
    FakeClock clock;
    AssignmentLogic dialog{configuration, texts, language, settings, prompts, clock};
};

} // namespace tarvenor::testing
