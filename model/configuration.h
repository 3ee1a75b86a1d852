#pragma once

#include "model/assignment_texts.h"
#include "model/configuration_image.h"
#include "model/macro_record.h"

#include <cstdint>
#include <optional>

namespace tarvenor {

// What the windows hear about edits the model makes on its own (reference repairs), once the
// edit is complete.
class ConfigurationObserver {
public:
    virtual ~ConfigurationObserver() = default;
    // The entry's assignment changed: its key button needs redrawing.
    virtual void entry_changed(int flat_entry) = 0;
    // The configuration now differs from the keyboard's.
    virtual void mark_changed() = 0;
};

// The working configuration: image, assignment texts and macros. A plain value with one owner
// (the user interface thread in the program): keyboard jobs get a copy, or return a new one that
// the owner takes in with replace(). It is replaced only as a whole.
class Configuration {
public:
    Configuration() = default;
    // A copy carries the data, never the owner's observer.
    Configuration(const Configuration& other);
    Configuration& operator=(const Configuration& other);
    Configuration(Configuration&& other) noexcept;
    Configuration& operator=(Configuration&& other) noexcept;

    // Takes in another configuration as a whole; the observer stays.
    void replace(Configuration other);

    void set_observer(ConfigurationObserver* observer) { observer_ = observer; }

    bool has_image() const { return image_.has_value(); }
    // The image; callers test has_image() first.
    const ConfigurationImage& image() const { return *image_; }
    ConfigurationImage& image() { return *image_; }
    void install_image(ConfigurationImage image) { image_ = std::move(image); }

    AssignmentTextTable& texts() { return texts_; }
    const AssignmentTextTable& texts() const { return texts_; }
    MacroStore& macros() { return macros_; }
    const MacroStore& macros() const { return macros_; }

    // An entry of a missing image reads as all zero (no assignment).
    KeyAssignment entry(int flat) const;
    // Gives an entry a new assignment, dropping the text its previous one owned.
    void assign(int flat, const KeyAssignment& assignment);

    // Installs the default image; texts and macros must already be empty.
    void make_default_image();
    void free_texts() { texts_.clear(); }
    void free_macros() { macros_.clear(); }
    void free_image() { image_.reset(); }
    // free_texts, free_macros and free_image together.
    void clear();

    // List position of the macro with that id; 0 when no macro has it.
    int macro_position(std::uint32_t id) const;
    // Id of the macro at that list position; 0 outside the store.
    std::uint16_t macro_id_at(int position) const;

    // Installs the editor's macro list: Macro entries that point at no macro, or at a macro
    // created in this edit under a freed id, fall back to Default; entries not yet pointing at a
    // macro take the first one. False (nothing changed) for more than the store can hold. Tells the
    // observer about each repaired entry once the store is installed.
    bool commit_macro_store(MacroStore edited);

private:
    // true when the entry was changed.
    bool repair_macro_reference(int flat, const MacroStore& edited);

    std::optional<ConfigurationImage> image_;
    AssignmentTextTable texts_;
    MacroStore macros_;
    ConfigurationObserver* observer_ = nullptr;
};

// The copy of image and macros a download is built from, so that edits made meanwhile cannot
// change what reaches the keyboard.
struct DownloadSnapshot {
    ConfigurationImage image;
    MacroStore macros;
};

// The configuration's image and macros with the header rebuilt for the current macro count and
// text total. Nothing when there is no image.
std::optional<DownloadSnapshot> take_download_snapshot(const Configuration& configuration);

} // namespace tarvenor
