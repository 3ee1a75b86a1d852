#pragma once

#include "model/configuration.h"
#include "model/messages.h"
#include "model/text_table.h"
#include "sim_fixture.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tarvenor::testing {

using Code = std::array<std::uint8_t, 3>;

class RecordingMessages final : public MessageSink {
public:
    void show(Message message, const std::string&) override { shown.push_back(message); }
    std::vector<Message> shown;
};

// A virtual keyboard whose factory key codes, macro memory and active profile the command set
// has learnt, as it does when the keyboard arrives; the traffic log starts empty.
class TransferTest : public SimKeyboardTest {
protected:
    void start_learnt(const std::map<std::string, std::string>& environment = {});

    // Position of a key in the keyboard's factory matrix, found in its raw memory.
    std::size_t factory_position(const Code& factory_code) const;
    // The three bytes the keyboard holds for a position of a profile.
    Code stored_code(int profile, std::size_t position) const;
    // The command byte of every request sent so far.
    std::vector<std::uint8_t> sent_commands() const;

    // A default configuration with one macro store installed.
    void install_default(const MacroStore& macros = {});

    Configuration config_;
    std::optional<DownloadSnapshot> holder_;
    RecordingMessages messages_;
    TextTable texts_;
};

MacroRecord make_macro(std::uint16_t id, std::u16string name, std::size_t actions,
                       std::uint8_t cycles = 1);

} // namespace tarvenor::testing
