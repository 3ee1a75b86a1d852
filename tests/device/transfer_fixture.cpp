#include "transfer_fixture.h"

#include <algorithm>

namespace tarvenor::testing {

void TransferTest::start_learnt(const std::map<std::string, std::string>& environment) {
    start(environment);
    KeyMatrix matrix{};
    ASSERT_EQ(commands_->read_default_key_matrix(matrix), DeviceStatus::Success);
    facts_.set_default_key_matrix(matrix);
    ASSERT_EQ(commands_->read_macro_space(), DeviceStatus::Success);
    ASSERT_NE(commands_->get_current_profile(), -1);
    clear_traffic();
}

std::size_t TransferTest::factory_position(const Code& factory_code) const {
    const Bytes matrix = memory("default_matrix.bin");
    for (std::size_t j = 0; j + 3 <= matrix.size(); j += 3) {
        if (std::equal(factory_code.begin(), factory_code.end(), matrix.begin() + j)) {
            return j / 3;
        }
    }
    ADD_FAILURE() << "no factory position holds the code";
    return 0;
}

Code TransferTest::stored_code(int profile, std::size_t position) const {
    const Bytes profiles = memory("profiles.bin");
    const std::size_t at = static_cast<std::size_t>(profile) * 378 + position * 3;
    return {profiles.at(at), profiles.at(at + 1), profiles.at(at + 2)};
}

std::vector<std::uint8_t> TransferTest::sent_commands() const {
    std::vector<std::uint8_t> commands;
    for (const TrafficLine& line : requests()) {
        commands.push_back(line.report[3]);
    }
    return commands;
}

void TransferTest::install_default(const MacroStore& macros) {
    config_.clear();
    config_.make_default_image();
    config_.macros() = macros;
}

MacroRecord make_macro(std::uint16_t id, std::u16string name, std::size_t actions,
                       std::uint8_t cycles) {
    MacroRecord macro;
    macro.id = id;
    macro.name = std::move(name);
    macro.cycles = cycles;
    for (std::size_t i = 0; i < actions; ++i) {
        const auto direction = static_cast<std::uint16_t>(i % 2);
        macro.actions.push_back({static_cast<std::uint32_t>(10 * i), 0x1E, direction});
    }
    return macro;
}

} // namespace tarvenor::testing
