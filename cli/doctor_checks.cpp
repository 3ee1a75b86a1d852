#include "cli/doctor_checks.h"

#include "device/service_library.h"

namespace tarvenor::cli {
namespace {

DoctorCheck file_check(std::string name, const std::filesystem::path& file, std::string remedy) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec)) {
        return check_passed(std::move(name), file.string());
    }
    return check_failed(std::move(name), file.string() + " is missing", std::move(remedy));
}

} // namespace

DoctorCheck check_passed(std::string name, std::string detail) {
    return {std::move(name), DoctorCheck::State::Ok, std::move(detail), {}};
}

DoctorCheck check_failed(std::string name, std::string detail, std::string what_to_do) {
    return {std::move(name), DoctorCheck::State::Fix, std::move(detail), std::move(what_to_do)};
}

DoctorCheck check_service_library(const ProgramFiles& files) {
    constexpr const char* kName = "service library";
    const std::filesystem::path library = ServiceLibrary::default_file(files.library_folder);
    std::string error;
    if (ServiceLibrary::load(library, error)) {
        return check_passed(kName, library.string() + " loads (library folder " +
                                       files.library_folder.string() + ")");
    }
    return check_failed(kName, error,
                        "reinstall the program, or point TARVENOR_HIDSERV at a service library");
}

std::vector<DoctorCheck> check_program_files(const ProgramFiles& files) {
    const std::string reinstall = "reinstall the program";
    return {file_check("skin", files.skins / "Main.ini", reinstall),
            file_check("help", files.help, reinstall),
            file_check("language file", files.language, reinstall)};
}

std::vector<DoctorCheck> run_doctor_checks(const ProgramFiles& files) {
    std::vector<DoctorCheck> checks{check_service_library(files)};
    const std::vector<DoctorCheck> system = check_system(files);
    checks.insert(checks.end(), system.begin(), system.end());
    const std::vector<DoctorCheck> program = check_program_files(files);
    checks.insert(checks.end(), program.begin(), program.end());
    return checks;
}

} // namespace tarvenor::cli
