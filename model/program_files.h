#pragma once

#include <filesystem>

namespace tarvenor {

// Where the installed program keeps its private files, relative to the folder of its executables.
// No absolute prefix: an installed tree can be moved as a whole.
struct InstalledLayout {
    std::filesystem::path library_folder; // the service libraries and the companion
    std::filesystem::path data_folder;    // Skins/ and Help/
};

// The layout this build installs (from the install rules' folders).
InstalledLayout installed_layout();

// The files the program and the command line use, fixed once at start from the executable's path.
// In a build folder everything sits beside the executable; installed, the service libraries and
// the data live in the layout's folders.
struct ProgramFiles {
    enum class Layout { Build, Installed };

    Layout layout = Layout::Build;
    std::filesystem::path executable_folder;
    std::filesystem::path library_folder; // libHidServ.so, libHidServSim.so, loaded by name
    std::filesystem::path data_folder;
    std::filesystem::path skins;     // Skins/ (Main.ini, Composite.ini, Profile.ini, pictures)
    std::filesystem::path language;  // Skins/language.ini
    std::filesystem::path help;      // Help/index.html
    std::filesystem::path companion; // KbDaemon, started when present
};

// Data beside the executable means a build folder; otherwise the installed layout's data folder
// when it exists. With neither, the build layout, so that what is missing is named beside the
// executable as it always was.
ProgramFiles locate_program_files(const std::filesystem::path& executable,
                                  const InstalledLayout& installed = installed_layout());

// The running executable's path (/proc/self/exe); empty when it cannot be read.
std::filesystem::path running_executable();

// locate_program_files() for the running executable.
ProgramFiles running_program_files();

} // namespace tarvenor
