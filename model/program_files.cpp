#include "model/program_files.h"

#include <system_error>

namespace tarvenor {
namespace {

namespace fs = std::filesystem;

bool is_folder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

ProgramFiles files_in(ProgramFiles::Layout layout, const fs::path& executable_folder,
                      const fs::path& library_folder, const fs::path& data_folder) {
    ProgramFiles files;
    files.layout = layout;
    files.executable_folder = executable_folder;
    files.library_folder = library_folder;
    files.data_folder = data_folder;
    files.skins = data_folder / "Skins";
    files.language = files.skins / "language.ini";
    files.help = data_folder / "Help" / "index.html";
    files.companion = library_folder / "KbDaemon";
    return files;
}

} // namespace

// The install rules' folders, relative to the executables' folder, come from the build.
InstalledLayout installed_layout() {
    return {TARVENOR_INSTALLED_LIBRARY_FOLDER, TARVENOR_INSTALLED_DATA_FOLDER};
}

ProgramFiles locate_program_files(const fs::path& executable, const InstalledLayout& installed) {
    const fs::path folder = executable.parent_path();
    const fs::path data = (folder / installed.data_folder).lexically_normal();
    if (!is_folder(folder / "Skins") && is_folder(data)) {
        return files_in(ProgramFiles::Layout::Installed, folder,
                        (folder / installed.library_folder).lexically_normal(), data);
    }
    return files_in(ProgramFiles::Layout::Build, folder, folder, folder);
}

ProgramFiles running_program_files() {
    return locate_program_files(running_executable());
}

} // namespace tarvenor
