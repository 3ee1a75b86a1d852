#include "device/macro_download.h"

#include "model/macro_block.h"

#include <algorithm>
#include <mutex>
#include <optional>

namespace tarvenor {
namespace {

// Sends a planned download in order; every command is sent even after one failed, so that the
// keyboard always sees the closing EndTransfer. True when all of them succeeded.
bool send_download(CommandSet& commands, const DownloadPlan& plan) {
    bool all_succeeded = commands.begin_transfer() == DeviceStatus::Success;
    all_succeeded &= commands.write_macro_area(plan.macro_block) == DeviceStatus::Success;
    for (const DownloadPlan::ProfileWrite& write : plan.profiles) {
        all_succeeded &= commands.write_profile_block(write.profile, write.block.bytes()) ==
                         DeviceStatus::Success;
    }
    all_succeeded &= commands.end_transfer() == DeviceStatus::Success;
    return all_succeeded;
}

DownloadPlan plan_for(const DownloadSnapshot& snapshot, const DeviceFacts& facts,
                      const std::optional<KeyMatrix>& factory, bool all_profiles) {
    const DefaultKeyMatrix matrix = factory ? DefaultKeyMatrix(*factory) : DefaultKeyMatrix{};
    const auto macro_space = static_cast<std::size_t>(std::max(0, facts.macro_space()));
    return plan_macro_download(snapshot, macro_space, matrix, all_profiles,
                               facts.current_profile());
}

} // namespace

bool macro_download(CommandSet& commands, const DownloadSnapshotHolder& holder, bool all_profiles,
                    MessageSink& messages, const TextTable& texts) {
    std::scoped_lock guard(holder.lock());
    if (!holder.snapshot()) {
        return false;
    }
    const std::optional<KeyMatrix> factory = commands.facts().default_key_matrix();
    const DownloadPlan plan = plan_for(*holder.snapshot(), commands.facts(), factory, all_profiles);
    if (plan.outcome == DownloadPlan::Outcome::MacrosTooLarge) {
        show_message(messages, texts, Message::MacrosTooLarge);
        return false;
    }
    if (!factory) {
        show_message(messages, texts, Message::DefaultMatrixFailure);
        return false;
    }
    const bool all_succeeded = send_download(commands, plan);
    if (const std::optional<Message> after = plan.message()) {
        show_message(messages, texts, *after);
    }
    return all_succeeded && !plan.profiles.empty();
}

} // namespace tarvenor
