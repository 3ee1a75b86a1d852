#include "device/macro_download.h"

#include "model/macro_block.h"

#include <algorithm>
#include <mutex>
#include <optional>

namespace tarvenor {
namespace {

// Sends a planned download in order and stops at the first command that fails: a keyboard that
// stopped answering would otherwise cost the full retry time for every command left. The
// transfer is still closed; when that finds the keyboard gone, the failure is its absence.
DownloadFailure send_download(CommandSet& commands, const DownloadPlan& plan) {
    DownloadFailure failure{Command::BeginTransfer, -1, commands.begin_transfer()};
    if (failure.status == DeviceStatus::Success) {
        failure = {Command::WriteMacroArea, -1, commands.write_macro_area(plan.macro_block)};
    }
    for (const DownloadPlan::ProfileWrite& write : plan.profiles) {
        if (failure.status != DeviceStatus::Success) {
            break;
        }
        failure = {Command::WriteProfileBlock, write.profile,
                   commands.write_profile_block(write.profile, write.block.bytes())};
    }
    const DeviceStatus closed = commands.end_transfer();
    if (failure.status == DeviceStatus::Success) {
        return {Command::EndTransfer, -1, closed};
    }
    if (closed == DeviceStatus::NoDevice) {
        failure.status = DeviceStatus::NoDevice;
    }
    return failure;
}

DownloadPlan plan_for(const DownloadSnapshot& snapshot, const DeviceFacts& facts,
                      const std::optional<KeyMatrix>& factory, bool all_profiles) {
    const DefaultKeyMatrix matrix = factory ? DefaultKeyMatrix(*factory) : DefaultKeyMatrix{};
    const auto macro_space = static_cast<std::size_t>(std::max(0, facts.macro_space()));
    return plan_macro_download(snapshot, macro_space, matrix, all_profiles,
                               facts.current_profile());
}

} // namespace

bool macro_download(CommandSet& commands, const DownloadSnapshot& snapshot, bool all_profiles,
                    MessageSink& messages, const TextTable& texts, DownloadFailure* failure) {
    const std::optional<KeyMatrix> factory = commands.facts().default_key_matrix();
    const DownloadPlan plan = plan_for(snapshot, commands.facts(), factory, all_profiles);
    if (plan.outcome == DownloadPlan::Outcome::MacrosTooLarge) {
        show_message(messages, texts, Message::MacrosTooLarge);
        return false;
    }
    if (!factory) {
        show_message(messages, texts, Message::DefaultMatrixFailure);
        return false;
    }
    const DownloadFailure sent = send_download(commands, plan);
    if (failure != nullptr && sent.status != DeviceStatus::Success) {
        *failure = sent;
    }
    if (const std::optional<Message> after = plan.message()) {
        show_message(messages, texts, *after);
    }
    return sent.status == DeviceStatus::Success && !plan.profiles.empty();
}

} // namespace tarvenor
