#include "ui/assign/assignment_host.h"

#include "ui/assign/assignment_dialog.h"
#include "ui/assign/dialog_placement.h"
#include "ui/main/main_window.h"
#include "ui/skin/skin_error.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>

#include <cstdio>

namespace tarvenor {
namespace {

bool ask_with_box(const QString& text) {
    QMessageBox box(QMessageBox::Question, QString(), text, QMessageBox::Yes | QMessageBox::No);
    box.setObjectName(QStringLiteral("question"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void tell_with_box(const QString& text) {
    QMessageBox box(QMessageBox::Information, QString(), text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("message"));
    box.exec();
}

} // namespace

MessageBoxPrompts::MessageBoxPrompts() : ask_(ask_with_box), tell_(tell_with_box) {}

void MessageBoxPrompts::set(Ask ask, Tell tell) {
    ask_ = std::move(ask);
    tell_ = std::move(tell);
}

bool MessageBoxPrompts::ask_yes_no(const std::string& text) {
    return ask_(QString::fromStdString(text));
}

void MessageBoxPrompts::show_message(const std::string& text) {
    tell_(QString::fromStdString(text));
}

AssignmentHost::AssignmentHost(MainWindow& window, AssignmentHostServices services)
    : QObject(&window), window_(window), services_(std::move(services)),
      logic_(services_.configuration, services_.texts, services_.language, services_.settings,
             prompts_, clock_),
      osk_program_(find_osk_program()) {}

AssignmentHost::~AssignmentHost() {
    delete dialog_.data();
}

AssignmentDialog* AssignmentHost::dialog() const {
    return dialog_.data();
}

QString AssignmentHost::find_osk_program() {
    return QStandardPaths::findExecutable(QStringLiteral("onboard"));
}

void AssignmentHost::open(const KeyClickRequest& request) {
    if (is_open()) {
        return;
    }
    const int key_control = window_.highlighted_key();
    logic_.open(request, window_.current_profile());
    try {
        dialog_ =
            new AssignmentDialog(&window_, services_.skin_folder,
                                 {services_.language, services_.texts, logic_,
                                  [this] { return window_.current_profile(); },
                                  [this](const AssignmentApplyResult& result) { applied(result); },
                                  [this] { window_.show_help(dialog_); }, osk_program_});
    } catch (const SkinError& error) {
        logic_.cancel();
        window_.restore_key_look(key_control);
        std::fprintf(stderr, "tarvenor: %s\n", error.what());
        QCoreApplication::exit(1);
        return;
    }
    dialog_->setAttribute(Qt::WA_DeleteOnClose);
    dialog_->setWindowModality(Qt::ApplicationModal);
    connect(dialog_, &QDialog::finished, &window_,
            [this, key_control] { window_.restore_key_look(key_control); });
    window_.add_child_dialog(dialog_);
    if (const ImageButton* key = window_.button(key_control)) {
        const QRect place(key->mapToGlobal(QPoint(0, 0)), key->size());
        dialog_->move(position_beside_key(place, dialog_->size(), key->screen()->geometry()));
    }
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void AssignmentHost::applied(const AssignmentApplyResult& result) {
    if (result.refresh_captions) {
        window_.refresh_captions();
    }
    if (result.mark_changed) {
        window_.mark_changed();
    }
}

} // namespace tarvenor
