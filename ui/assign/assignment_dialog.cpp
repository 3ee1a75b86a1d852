#include "ui/assign/assignment_dialog.h"

#include "ui/assign/action_list_view.h"
#include "ui/logic/control_ids.h"
#include "ui/logic/skin_keys.h"
#include "ui/skin/placement.h"
#include "ui/skin/qt_text.h"
#include "ui/skin/skin_label.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpressionValidator>

namespace tarvenor {
namespace {

constexpr const char* kSection = skin_keys::kControls;
const QColor kPromptGrey(0xE4, 0xE4, 0xE4);

// An image button: its skin key and the language key of its caption (none: no caption).
struct ButtonPlace {
    AssignmentControl id;
    const char* key;
    const char* caption;
};
constexpr ButtonPlace kButtons[] = {
    {AssignmentControl::Mask, skin_keys::assignment::kPageBadge, nullptr},
    {AssignmentControl::Title, skin_keys::assignment::kTitle, nullptr},
    {AssignmentControl::Osk, skin_keys::assignment::kOsk, nullptr},
    {AssignmentControl::Clear, skin_keys::assignment::kClear, nullptr},
    {AssignmentControl::PageKey, skin_keys::assignment::kKeyPage, "SINGLE_KEY"},
    {AssignmentControl::PageMacro, skin_keys::assignment::kMacroPage, "MACRO_SETTING"},
    {AssignmentControl::PageMedia, skin_keys::assignment::kMediaPage, "MULTI_MEDIA"},
    {AssignmentControl::PageFunction, skin_keys::assignment::kFunctionPage, "FUNCTION_KEY"},
    {AssignmentControl::Apply, skin_keys::assignment::kApply, "PROFILE_APPLY"},
    {AssignmentControl::Ok, skin_keys::kOk, "MACRO_OK"},
    {AssignmentControl::Cancel, skin_keys::kCancel, "MACRO_CANCLE"},
    {AssignmentControl::AddMacro, skin_keys::assignment::kAddMacro, nullptr},
    {AssignmentControl::DeleteMacro, skin_keys::assignment::kDeleteMacro, nullptr},
    {AssignmentControl::Record, skin_keys::assignment::kRecord, "A_RECORD"},
    {AssignmentControl::MoveTop, skin_keys::assignment::kMoveTop, "A_TOP"},
    {AssignmentControl::MoveUp, skin_keys::assignment::kMoveUp, "A_UP"},
    {AssignmentControl::MoveDown, skin_keys::assignment::kMoveDown, "A_DOWN"},
    {AssignmentControl::MoveBottom, skin_keys::assignment::kMoveBottom, "A_BOTTOM"},
    {AssignmentControl::DeleteAction, skin_keys::assignment::kDeleteAction, "A_DELETE"},
    {AssignmentControl::ClearActions, skin_keys::assignment::kClearActions, "A_CLEAR"},
};

struct LabelPlace {
    AssignmentControl id;
    const char* key;
    const char* text;
};
constexpr LabelPlace kLabels[] = {
    {AssignmentControl::MacroPrompt, skin_keys::assignment::kMacroPrompt, "MACRO_NAME_SETTING"},
    {AssignmentControl::KeyPrompt, skin_keys::assignment::kKeyPrompt, "SINGLE_STATIC"},
    {AssignmentControl::MediaPrompt, skin_keys::assignment::kMediaPrompt, "MEDIA_EDIT_TISHI"},
    {AssignmentControl::FunctionPrompt, skin_keys::assignment::kFunctionPrompt, "FUNCTION_TISHI"},
    {AssignmentControl::CyclesLabel, skin_keys::assignment::kCyclesLabel, "MACRO_CYCLES"},
    {AssignmentControl::RecordDelayLabel, skin_keys::assignment::kRecordDelayLabel, "RECORD_DELAY"},
};

// The name on the page badge: the caption of the page's button.
const char* page_name_key(AssignmentLook look) {
    switch (look) {
    case AssignmentLook::Macro:
    case AssignmentLook::Macro2:
        return "MACRO_SETTING";
    case AssignmentLook::Media:
        return "MULTI_MEDIA";
    case AssignmentLook::Function:
        return "FUNCTION_KEY";
    case AssignmentLook::Key:
        break;
    }
    return "SINGLE_KEY";
}

// The controls whose presence the logic decides; OK, Cancel and the decorations always show.
constexpr AssignmentControl kLogicControls[] = {
    AssignmentControl::Clear,
    AssignmentControl::Osk,
    AssignmentControl::PageKey,
    AssignmentControl::PageMacro,
    AssignmentControl::PageMedia,
    AssignmentControl::PageFunction,
    AssignmentControl::AddMacro,
    AssignmentControl::DeleteMacro,
    AssignmentControl::Record,
    AssignmentControl::MoveTop,
    AssignmentControl::MoveUp,
    AssignmentControl::MoveDown,
    AssignmentControl::MoveBottom,
    AssignmentControl::DeleteAction,
    AssignmentControl::ClearActions,
    AssignmentControl::MacroPrompt,
    AssignmentControl::KeyPrompt,
    AssignmentControl::MediaPrompt,
    AssignmentControl::FunctionPrompt,
    AssignmentControl::CyclesLabel,
    AssignmentControl::RecordDelayLabel,
    AssignmentControl::KeyField,
    AssignmentControl::MediaList,
    AssignmentControl::FunctionList,
    AssignmentControl::MacroList,
    AssignmentControl::ActionList,
    AssignmentControl::Cycles,
    AssignmentControl::RecordDelay,
};

constexpr std::array<const char*, 5> kLookFiles{"key", "macro", "macro2", "media", "function"};

QFont font_of(const char* face, int points) {
    QFont font(QString::fromLatin1(face));
    font.setPointSize(points);
    return font;
}

AssignmentLook look_of(const AssignmentLogic& logic) {
    if (logic.macro_only()) {
        return AssignmentLook::Macro2;
    }
    switch (logic.shown_page()) {
    case AssignmentType::Macro:
        return AssignmentLook::Macro;
    case AssignmentType::Media:
        return AssignmentLook::Media;
    case AssignmentType::Function:
        return AssignmentLook::Function;
    default:
        return AssignmentLook::Key;
    }
}

void fill_list(QComboBox& list, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        list.addItem(qt_text(name));
    }
}

} // namespace

AssignmentDialog::AssignmentDialog(QWidget* parent, const std::filesystem::path& skin_folder,
                                   Services services)
    : SkinnedDialog(parent, skin_folder / "Composite.ini", skin_folder),
      services_(std::move(services)) {
    setObjectName(QStringLiteral("assignment"));
    setWindowTitle(language_text(skin_keys::assignment::kTitleLabel.text));
    apply_skin();
    find_pictures();
    place_buttons();
    place_labels();
    place_fields();
    connect_controls();
    show_state();
}

AssignmentDialog::~AssignmentDialog() {
    capture_.reset();
    if (services_.logic.is_open()) {
        services_.logic.cancel();
    }
}

void AssignmentDialog::find_pictures() {
    for (std::size_t look = 0; look < kLookFiles.size(); ++look) {
        const std::string stem = kLookFiles[look];
        auto& set = pictures_[look];
        set[0] = &skin_picture(stem + "_normal.jpg");
        set[1] = &skin_picture(stem + "_over.jpg");
        set[2] = &skin_picture(stem + "_down.jpg");
        const bool own_disable = look == static_cast<std::size_t>(AssignmentLook::Macro) ||
                                 look == static_cast<std::size_t>(AssignmentLook::Macro2);
        set[3] = own_disable ? &skin_picture(stem + "_disable.jpg") : set[0];
    }
}

FaceImages AssignmentDialog::faces(AssignmentLook look) const {
    const auto& set = pictures_[static_cast<std::size_t>(look)];
    return {set[0], set[1], set[2], set[3], set[2]};
}

QString AssignmentDialog::language_text(const char* key) const {
    return qt_text(services_.language.text(key));
}

ImageButton* AssignmentDialog::button(AssignmentControl control_id) const {
    const auto found = buttons_.find(control_id);
    return found == buttons_.end() ? nullptr : found->second;
}

QWidget* AssignmentDialog::control(AssignmentControl control_id) const {
    const auto found = controls_.find(control_id);
    return found == controls_.end() ? nullptr : found->second;
}

void AssignmentDialog::place_buttons() {
    const FaceImages initial = faces(look_);
    for (const ButtonPlace& place : kButtons) {
        auto* control = new ImageButton(this);
        control->setObjectName(QString::fromLatin1(place.key));
        place_image_control(*control, skin(), kSection, place.key, initial);
        if (place.caption != nullptr) {
            control->setText(language_text(place.caption));
            control->set_text_style(true, place.id == AssignmentControl::Record ? 8 : 9,
                                    QStringLiteral("Tahoma"), Qt::white,
                                    Qt::AlignCenter | Qt::TextSingleLine);
        }
        buttons_[place.id] = control;
        controls_[place.id] = control;
    }
    // Decorations only: the page's sign and the title.
    for (const AssignmentControl id : {AssignmentControl::Mask, AssignmentControl::Title}) {
        button(id)->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    button(AssignmentControl::Clear)->set_tooltip(language_text("COMPOSITE_PROMPT_CLEAR"), true);
    const bool osk = !services_.osk_program.isEmpty();
    button(AssignmentControl::Osk)
        ->set_tooltip(osk ? language_text("COMPOSITE_PROMPT_OSK") : QString::fromLatin1(kNoOskText),
                      true);
}

void AssignmentDialog::place_labels() {
    (new SkinLabel(*this, skin(), skin_keys::assignment::kTitleLabel))
        ->show_text(language_text(skin_keys::assignment::kTitleLabel.text));
    page_name_ = new SkinLabel(*this, skin(), skin_keys::assignment::kPageLabel);
    page_name_->show_text(language_text(page_name_key(look_)));
    prompt_ = new QLabel(this);
    place_control(*prompt_, skin(), kSection, skin_keys::assignment::kPrompt);
    prompt_->setText(
        language_text(services_.logic.macro_only() ? "MACRO_EDIT_TISHI" : "KEY_SETTING_TISHI"));
    controls_[AssignmentControl::Prompt] = prompt_;
    for (const LabelPlace& place : kLabels) {
        auto* label = new QLabel(language_text(place.text), this);
        label->setObjectName(QString::fromLatin1(place.key));
        place_control(*label, skin(), kSection, place.key);
        controls_[place.id] = label;
    }
    for (const AssignmentControl id :
         {AssignmentControl::Prompt, AssignmentControl::MacroPrompt, AssignmentControl::KeyPrompt,
          AssignmentControl::MediaPrompt, AssignmentControl::FunctionPrompt,
          AssignmentControl::CyclesLabel, AssignmentControl::RecordDelayLabel}) {
        QWidget* label = control(id);
        label->setAttribute(Qt::WA_TranslucentBackground);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, kPromptGrey);
        label->setPalette(palette);
    }
}

void AssignmentDialog::place_fields() {
    AssignmentLogic& logic = services_.logic;
    key_field_ = new QLineEdit(this);
    key_field_->setObjectName(QStringLiteral("key_field"));
    key_field_->setReadOnly(true);
    key_field_->setFocusPolicy(Qt::NoFocus);
    key_field_->setFont(font_of("Verdana", 18));
    place_control(*key_field_, skin(), kSection, skin_keys::assignment::kKeyField);

    media_ = new QComboBox(this);
    media_->setObjectName(QStringLiteral("media_list"));
    fill_list(*media_, logic.media_names());
    place_control(*media_, skin(), kSection, skin_keys::assignment::kMediaList);
    functions_ = new QComboBox(this);
    functions_->setObjectName(QStringLiteral("function_list"));
    fill_list(*functions_, logic.function_names());
    place_control(*functions_, skin(), kSection, skin_keys::assignment::kFunctionList);

    macros_ = new QComboBox(this);
    macros_->setObjectName(QStringLiteral("macro_list"));
    macros_->setEditable(true);
    macros_->setInsertPolicy(QComboBox::NoInsert);
    place_control(*macros_, skin(), kSection, skin_keys::assignment::kMacroList);
    for (QComboBox* list : {media_, functions_, macros_}) {
        list->setFont(font_of("Tahoma", 12));
    }

    actions_ =
        new ActionListView(logic,
                           {language_text("MACRO_KEYS_TISHI"), language_text("MACRO_ACTION_TISHI"),
                            language_text("MACRO_DELAY_MS")},
                           this);
    actions_->setObjectName(QStringLiteral("action_list"));
    place_control(*actions_, skin(), kSection, skin_keys::assignment::kActionList);

    cycles_ = new QLineEdit(this);
    cycles_->setObjectName(QStringLiteral("cycles"));
    cycles_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), cycles_));
    place_control(*cycles_, skin(), kSection, skin_keys::assignment::kCycles);

    record_delay_ = new QCheckBox(this);
    record_delay_->setObjectName(QStringLiteral("record_delay"));
    record_delay_->setAttribute(Qt::WA_TranslucentBackground);
    place_control(*record_delay_, skin(), kSection, skin_keys::assignment::kRecordDelay);

    controls_[AssignmentControl::KeyField] = key_field_;
    controls_[AssignmentControl::MediaList] = media_;
    controls_[AssignmentControl::FunctionList] = functions_;
    controls_[AssignmentControl::MacroList] = macros_;
    controls_[AssignmentControl::ActionList] = actions_;
    controls_[AssignmentControl::Cycles] = cycles_;
    controls_[AssignmentControl::RecordDelay] = record_delay_;
}

void AssignmentDialog::connect_controls() {
    AssignmentLogic& logic = services_.logic;
    for (const auto& [id, control] : buttons_) {
        connect(control, &QAbstractButton::clicked, this, [this, id = id] { on_button(id); });
    }
    connect(media_, &QComboBox::activated, this, [this, &logic](int index) {
        logic.select_media(index);
        show_state();
    });
    connect(functions_, &QComboBox::activated, this, [this, &logic](int index) {
        logic.select_function(index);
        show_state();
    });
    connect(macros_, &QComboBox::activated, this, [this, &logic](int index) {
        logic.select_macro(index);
        show_state();
    });
    connect(macros_->lineEdit(), &QLineEdit::textEdited, this, [this, &logic](const QString& name) {
        logic.type_macro_name(name.toStdString());
        show_state();
    });
    connect(actions_, &QTreeWidget::itemSelectionChanged, this, [this, &logic] {
        logic.select_action(actions_->selected_row());
        show_state();
    });
    // An editor may be closing: the rows are redrawn once it has gone.
    connect(&actions_->delegate(), &ActionCellDelegate::edited, this,
            &AssignmentDialog::queue_show_state);
    connect(cycles_, &QLineEdit::textEdited, this, [this, &logic](const QString& text) {
        const QString shown = qt_text(logic.set_cycles_text(text.toStdString()));
        if (shown != text) {
            cycles_->setText(shown);
        }
        show_state();
    });
    connect(record_delay_, &QCheckBox::clicked, this, [this, &logic] {
        logic.toggle_record_delay();
        show_state();
    });
}

void AssignmentDialog::on_button(AssignmentControl control_id) {
    AssignmentLogic& logic = services_.logic;
    switch (control_id) {
    case AssignmentControl::PageKey:
    case AssignmentControl::PageMacro:
    case AssignmentControl::PageMedia:
    case AssignmentControl::PageFunction:
        logic.press_page_button(control_id);
        break;
    case AssignmentControl::Clear:
        logic.clear();
        break;
    case AssignmentControl::Osk:
        QProcess::startDetached(services_.osk_program, {});
        return;
    case AssignmentControl::AddMacro:
        logic.add_macro();
        break;
    case AssignmentControl::DeleteMacro:
        logic.delete_macro();
        break;
    case AssignmentControl::Record:
        logic.toggle_recording();
        break;
    case AssignmentControl::DeleteAction:
        logic.delete_action();
        break;
    case AssignmentControl::ClearActions:
        logic.clear_actions();
        break;
    case AssignmentControl::MoveTop:
    case AssignmentControl::MoveUp:
    case AssignmentControl::MoveDown:
    case AssignmentControl::MoveBottom:
        logic.move_action(
            static_cast<RowMove>(id_of(control_id) - id_of(AssignmentControl::MoveTop)));
        actions_->setFocus();
        break;
    case AssignmentControl::Apply:
        actions_->finish_edit();
        services_.applied(logic.apply(services_.current_profile()));
        break;
    case AssignmentControl::Ok: {
        actions_->finish_edit();
        const AssignmentApplyResult result = logic.ok(services_.current_profile());
        services_.applied(result);
        accept();
        return;
    }
    case AssignmentControl::Cancel:
        reject();
        return;
    default:
        return;
    }
    show_state();
}

void AssignmentDialog::show_state() {
    const AssignmentLogic& logic = services_.logic;
    show_look();
    show_controls();
    key_field_->setText(qt_text(logic.captured_key_text()));
    media_->setCurrentIndex(logic.selected_media());
    functions_->setCurrentIndex(logic.selected_function());
    show_macro_list();
    actions_->show_rows(logic.action_rows(), logic.actions().selected());
    const QString cycles = qt_text(logic.cycles_text());
    if (cycles_->text() != cycles) {
        cycles_->setText(cycles);
    }
    record_delay_->setChecked(logic.record_delay());
    show_record_button();
    follow_capture();
}

void AssignmentDialog::show_look() {
    const AssignmentLook look = look_of(services_.logic);
    if (look != look_) {
        look_ = look;
        const FaceImages shown = faces(look_);
        for (const auto& [id, control] : buttons_) {
            control->set_face_images(shown);
        }
        page_name_->show_text(language_text(page_name_key(look_)));
    }
    const AssignmentControl pressed = services_.logic.pressed_page_button();
    for (const AssignmentControl id :
         {AssignmentControl::PageKey, AssignmentControl::PageMacro, AssignmentControl::PageMedia,
          AssignmentControl::PageFunction}) {
        button(id)->set_selected(id == pressed);
    }
}

void AssignmentDialog::show_controls() {
    const AssignmentLogic& logic = services_.logic;
    for (const AssignmentControl id : kLogicControls) {
        QWidget* widget = control(id);
        widget->setVisible(logic.visible(id));
        widget->setEnabled(logic.enabled(id));
    }
    if (services_.osk_program.isEmpty()) {
        button(AssignmentControl::Osk)->setEnabled(false);
    }
    button(AssignmentControl::Apply)->setEnabled(logic.changed());
}

void AssignmentDialog::show_macro_list() {
    const AssignmentLogic& logic = services_.logic;
    const QSignalBlocker quiet(macros_);
    const std::vector<std::string> names = logic.macro_names();
    const int count = static_cast<int>(names.size());
    while (macros_->count() > count) {
        macros_->removeItem(macros_->count() - 1);
    }
    for (int i = 0; i < count; ++i) {
        const QString name = qt_text(names[static_cast<std::size_t>(i)]);
        if (i >= macros_->count()) {
            macros_->addItem(name);
        } else if (macros_->itemText(i) != name) {
            macros_->setItemText(i, name);
        }
    }
    QLineEdit* edit = macros_->lineEdit();
    const int cursor = edit->cursorPosition();
    const int selected = logic.selected_macro();
    if (macros_->currentIndex() != selected) {
        macros_->setCurrentIndex(selected);
    }
    const QString shown =
        selected >= 0 ? macros_->itemText(selected) : (count == 0 ? QString() : edit->text());
    if (edit->text() != shown) {
        edit->setText(shown);
        edit->setCursorPosition(std::min(cursor, static_cast<int>(shown.size())));
    }
}

void AssignmentDialog::show_record_button() {
    const AssignmentLogic& logic = services_.logic;
    ImageButton* record = button(AssignmentControl::Record);
    const auto text = logic.record_button_text();
    record->setText(text ? qt_text(services_.texts.text(*text)) : language_text("A_RECORD"));
    record->set_selected(logic.recording());
}

void AssignmentDialog::follow_capture() {
    const AssignmentLogic& logic = services_.logic;
    if (!logic.is_open() || !logic.wants_keyboard()) {
        capture_.reset();
        return;
    }
    // Only a recording grabs the keyboard. The Key page takes keys while the dialog has the
    // focus and leaves the desktop its own: media keys go on working there, and a dialog left
    // open on that page never keeps the user from typing in other programs.
    const bool grab = logic.recording();
    if (capture_ && capture_->grabs() == grab) {
        return;
    }
    // The old capture goes first: releasing its grab would otherwise end the new one's.
    capture_.reset();
    capture_ = std::make_unique<KeyCapture>(
        *this,
        [this](const KeyStroke& stroke) {
            const KeyVerdict verdict = services_.logic.key_stroke(stroke);
            // Not from inside the filter: showing the state may end the capture that called us.
            queue_show_state();
            return verdict;
        },
        grab);
}

void AssignmentDialog::queue_show_state() {
    if (!refresh_queued_) {
        refresh_queued_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                refresh_queued_ = false;
                show_state();
            },
            Qt::QueuedConnection);
    }
}

void AssignmentDialog::showEvent(QShowEvent* event) {
    SkinnedDialog::showEvent(event);
    if (capture_) {
        capture_->grab();
    }
}

// Where the recording's grab does not reach past our windows, keys stop coming when the dialog
// loses the focus: the recording ends there rather than miss the releases of keys held.
void AssignmentDialog::changeEvent(QEvent* event) {
    SkinnedDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() &&
        KeyCapture::keys_only_while_focused() && services_.logic.recording()) {
        services_.logic.keyboard_lost();
        queue_show_state();
    }
}

void AssignmentDialog::keyPressEvent(QKeyEvent* event) {
    if (swallow_closing_key(event)) {
        return;
    }
    if (!is_help_key(*event)) {
        SkinnedDialog::keyPressEvent(event);
        return;
    }
    // While recording, F1 is a keystroke of the macro, not a request for help.
    if (!services_.logic.recording() && services_.help) {
        services_.help();
    }
    event->accept();
}

void AssignmentDialog::done(int result) {
    capture_.reset();
    if (services_.logic.is_open()) {
        services_.logic.cancel();
    }
    SkinnedDialog::done(result);
}

} // namespace tarvenor
