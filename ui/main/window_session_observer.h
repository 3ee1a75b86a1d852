#pragma once

#include "device/keyboard_session.h"
#include "model/text_table.h"
#include "model/user_storage.h"

namespace tarvenor {

class MainWindow;

// Hands the keyboard session's news to the main window. The reads of an arrival run here on the
// device worker; everything else is a queued call on the window's thread, so no call ever waits
// for the user interface.
class WindowSessionObserver final : public SessionObserver {
public:
    WindowSessionObserver(MainWindow& window, const UserStorage& storage, const TextTable& texts);

    void arrival_started() override;
    void keyboard_arrived(CommandSet& commands, bool default_matrix_read) override;
    void keyboard_gone() override;
    void connection_count_changed(int count) override;
    void open_requested() override;
    void bank_switched(int bank) override;
    void lighting_refresh_requested() override;
    void indicator_changed(bool on) override;
    void arrival_busy(const std::string& holder) override;

private:
    template <typename Call> void queue(Call call);

    MainWindow& window_;
    const UserStorage& storage_;
    const TextTable& texts_;
};

} // namespace tarvenor
