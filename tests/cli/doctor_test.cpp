#include "cli_runner.h"
#include "fake_hidraw.h"
#include "temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

namespace tarvenor::testing {
namespace {

constexpr std::uint16_t kVendor = 0x0C45;
constexpr std::uint16_t kProduct = 0x0820;
constexpr const char* kRule = "KERNEL==\"hidraw*\", ATTRS{idVendor}==\"0c45\", "
                              "ATTRS{idProduct}==\"0820\", MODE=\"0660\", TAG+=\"uaccess\"\n";

// tarvenor-cli on the real service library, run as an ordinary user, seeing a hidraw table and
// udev rule folders of the test's own and no display.
class DoctorTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::permissions(dir_, std::filesystem::perms(0755));
        table_.emplace(dir_ / "hw");
        rules_ = dir_ / "rules"; // dir_ exists only from here on
        std::filesystem::create_directories(rules_);
        std::filesystem::create_directories(dir_ / "run");
        if (running_as_root()) {
            ASSERT_EQ(::chown((dir_ / "run").c_str(), kNobody, kNobody), 0);
        }
    }

    CliRun cli(const std::string& arguments, const std::string& more_environment = "",
               const std::filesystem::path& program = TARVENOR_CLI) {
        const std::string environment =
            "-u DISPLAY -u DBUS_SESSION_BUS_ADDRESS -u TARVENOR_HIDSERV " + table_->environment() +
            " TARVENOR_UDEV_RULES_DIRS=" + shell_quoted(rules_) +
            " XDG_RUNTIME_DIR=" + shell_quoted(dir_ / "run") + " " + more_environment + " " +
            unprivileged_prefix();
        return run_cli_copy(program, dir_, arguments, environment);
    }
    std::string node(int number) const {
        return (table_->dev() / ("hidraw" + std::to_string(number))).string();
    }

    std::optional<FakeHidraw> table_;
    std::filesystem::path rules_;
};

TEST_F(DoctorTest, NoKeyboardIsOneFixAndTheCommandsSayNoKeyboard) {
    table_->add(0, 0x046D, 0xC52B, FakeHidraw::Node::Opens);
    const CliRun doctor = cli("doctor");
    EXPECT_EQ(doctor.exit_code, 1);
    EXPECT_NE(doctor.out.find("FIX      keyboard: none on hidraw"), std::string::npos)
        << doctor.out;
    EXPECT_NE(doctor.out.find("OK       service library: "), std::string::npos) << doctor.out;
    EXPECT_NE(doctor.out.find("UNKNOWN  notification area: no X display"), std::string::npos)
        << doctor.out;
    const CliRun info = cli("info");
    EXPECT_EQ(info.exit_code, 3);
    EXPECT_EQ(info.err, "tarvenor-cli: no keyboard connected\n");
}

TEST_F(DoctorTest, KeyboardWithoutPermissionNamesItsNodesAndTheFix) {
    table_->add(3, kVendor, kProduct, FakeHidraw::Node::NoPermission);
    table_->add(4, kVendor, kProduct, FakeHidraw::Node::NoPermission);
    const CliRun doctor = cli("doctor");
    EXPECT_EQ(doctor.exit_code, 1);
    for (const int number : {3, 4}) {
        EXPECT_NE(doctor.out.find("FIX      keyboard node " + node(number) +
                                  ": permission denied -> install the udev rule "
                                  "70-tarvenor.rules"),
                  std::string::npos)
            << doctor.out;
    }
    EXPECT_NE(doctor.out.find("FIX      udev rule: no rule for the keyboard in " + rules_.string()),
              std::string::npos)
        << doctor.out;
    // Every keyboard command explains instead of "no keyboard connected", with the same exit code.
    const CliRun info = cli("info");
    EXPECT_EQ(info.exit_code, 3);
    EXPECT_NE(info.err.find("a keyboard is plugged in, but this user may not open " + node(3) +
                            ", " + node(4)),
              std::string::npos)
        << info.err;
    EXPECT_NE(info.err.find("sudo udevadm control --reload && sudo udevadm trigger"),
              std::string::npos)
        << info.err;
}

TEST_F(DoctorTest, KeyboardThatOpensWithItsRuleInstalled) {
    table_->add(5, kVendor, kProduct, FakeHidraw::Node::Opens);
    std::ofstream(rules_ / "50-other.rules") << "# " << kRule; // commented out: not a rule
    std::ofstream(rules_ / "70-tarvenor.rules") << kRule;
    const CliRun doctor = cli("doctor");
    EXPECT_NE(doctor.out.find("OK       keyboard node " + node(5) + ": opens"), std::string::npos)
        << doctor.out;
    EXPECT_NE(doctor.out.find("OK       udev rule: " + (rules_ / "70-tarvenor.rules").string()),
              std::string::npos)
        << doctor.out;
    EXPECT_EQ(doctor.exit_code, doctor.out.find("FIX") == std::string::npos ? 0 : 1);
}

TEST_F(DoctorTest, RuleMustNameThisKeyboard) {
    struct Case {
        const char* rules;
        bool found;
    };
    const Case cases[] = {
        {"ATTRS{idVendor} == \"0C45\", ATTRS{idProduct} == \"0820\", TAG+=\"uaccess\"\n", true},
        {"# ATTRS{idVendor}==\"0c45\", ATTRS{idProduct}==\"0820\"\n", false},
        {"ATTRS{idVendor}==\"0c45\", ATTRS{idProduct}==\"0821\"\n", false},
        {"ATTRS{idVendor}==\"0c45\"\nATTRS{idProduct}==\"0820\"\n", false}, // two rules
        {"", false},
    };
    for (const Case& c : cases) {
        std::ofstream(rules_ / "70-tarvenor.rules", std::ios::trunc) << c.rules;
        const CliRun doctor = cli("doctor");
        EXPECT_EQ(doctor.out.find("OK       udev rule:") != std::string::npos, c.found)
            << c.rules << doctor.out;
    }
}

TEST_F(DoctorTest, JsonListsEveryCheckWithItsStatusAndFix) {
    table_->add(3, kVendor, kProduct, FakeHidraw::Node::NoPermission);
    table_->add(5, kVendor, kProduct, FakeHidraw::Node::Opens);
    const CliRun doctor = cli("doctor --json");
    EXPECT_EQ(doctor.exit_code, 1);
    const auto json = nlohmann::json::parse(doctor.out, nullptr, false);
    ASSERT_FALSE(json.is_discarded()) << doctor.out;
    EXPECT_EQ(json.at("ok"), false);
    std::vector<std::string> names;
    for (const auto& check : json.at("checks")) {
        ASSERT_EQ(check.size(), 4u) << check;
        names.push_back(check.at("check"));
        const std::string status = check.at("status");
        EXPECT_TRUE(status == "OK" || status == "FIX" || status == "UNKNOWN") << check;
        EXPECT_EQ(check.at("fix").is_string(), status == "FIX") << check;
        EXPECT_TRUE(check.at("detail").is_string()) << check;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"service library", "keyboard node " + node(3),
                                               "keyboard node " + node(5), "udev rule",
                                               "notification area", "profiles by application",
                                               "language font", "skin", "help", "language file"}));
}

// In a Wayland session the compositor is asked for its list of toplevels; where none answers on
// the socket named, the check fails with the desktop's window rules as the fix. Asked for X11
// (QT_QPA_PLATFORM), the X display decides, and there is none here.
TEST_F(DoctorTest, FocusReportingAsksTheWindowSystemTheProgramWouldUse) {
    const auto focus_check = [this](const std::string& environment) {
        const CliRun doctor = cli("doctor --json", environment);
        const auto json = nlohmann::json::parse(doctor.out, nullptr, false);
        for (const auto& check : json.at("checks")) {
            if (check.at("check") == "profiles by application") {
                return check;
            }
        }
        ADD_FAILURE() << doctor.out;
        return nlohmann::json::object();
    };
    const auto wayland = focus_check("QT_QPA_PLATFORM= WAYLAND_DISPLAY=wayland-none");
    EXPECT_EQ(wayland.value("status", ""), "FIX") << wayland;
#ifdef TARVENOR_WAYLAND_FOCUS
    const std::string why = "no Wayland compositor answers on wayland-none";
#else
    const std::string why = "built without wayland-client";
#endif
    EXPECT_NE(wayland.value("detail", "").find(why), std::string::npos) << wayland;
    EXPECT_NE(wayland.value("fix", "").find("tarvenor-cli profile N"), std::string::npos)
        << wayland;
    const auto x11 = focus_check("QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=wayland-none");
    EXPECT_EQ(x11.value("status", ""), "UNKNOWN") << x11;
    EXPECT_NE(x11.value("detail", "").find("DISPLAY is not set"), std::string::npos) << x11;
}

// The doctor's font check, on a copy of the command line with a language file of its own and a
// fontconfig set-up that sees only the font folders a case names.
class LanguageFontTest : public DoctorTest {
protected:
    void SetUp() override {
        DoctorTest::SetUp();
        for (const char* folder : {kDejaVu, kWenQuanYi}) {
            if (!std::filesystem::is_directory(folder)) {
                GTEST_SKIP() << folder << " is missing (fonts-dejavu-core, fonts-wqy-microhei)";
            }
        }
        const std::filesystem::path folder = dir_ / "program";
        std::filesystem::create_directories(folder / "Skins");
        program_ = folder / "tarvenor-cli";
        std::filesystem::copy_file(TARVENOR_CLI, program_);
    }

    // The "language font" check as "STATUS|detail|fix", with `language` as the language file's
    // index and fontconfig seeing `fonts` (font folders) and nothing else.
    std::string font_check(const std::string& language, const std::vector<const char*>& fonts,
                           const std::string& more_environment = "") {
        std::ofstream(program_.parent_path() / "Skins" / "language.ini", std::ios::trunc)
            << "[LANGUAGE]\nlanguage=" << language << "\n";
        const std::filesystem::path config = dir_ / "fonts.conf";
        std::ofstream out(config, std::ios::trunc);
        out << "<?xml version=\"1.0\"?>\n<fontconfig>\n";
        for (const char* folder : fonts) {
            out << "  <dir>" << folder << "</dir>\n";
        }
        out << "  <cachedir>" << (dir_ / "run" / "fontconfig").string() << "</cachedir>\n"
            << "</fontconfig>\n";
        out.close();
        const CliRun doctor =
            cli("doctor --json", "FONTCONFIG_FILE=" + shell_quoted(config) + " " + more_environment,
                program_);
        const auto json = nlohmann::json::parse(doctor.out, nullptr, false);
        if (json.is_discarded()) {
            return "no JSON: " + doctor.out + doctor.err;
        }
        for (const auto& check : json.at("checks")) {
            if (check.at("check") == "language font") {
                return check.at("status").get<std::string>() + "|" +
                       check.at("detail").get<std::string>() + "|" +
                       (check.at("fix").is_null() ? "" : check.at("fix").get<std::string>());
            }
        }
        return "no language font check: " + doctor.out;
    }

    static constexpr const char* kDejaVu = "/usr/share/fonts/truetype/dejavu";
    static constexpr const char* kWenQuanYi = "/usr/share/fonts/truetype/wqy";
    std::filesystem::path program_;
};

TEST_F(LanguageFontTest, ChineseNeedsAFontWithItsCharacters) {
    struct Case {
        const char* language;
        std::vector<const char*> fonts;
        const char* expected; // the start of "STATUS|detail|fix"
    };
    const Case cases[] = {
        // Only DejaVu, as a fresh system has: Chinese shows as empty boxes.
        {"0", {kDejaVu}, "FIX|no installed font covers Chinese (zh-cn), the language chosen"},
        // Every index but 1 chooses Chinese.
        {"2", {kDejaVu}, "FIX|no installed font covers Chinese (zh-cn)"},
        {"", {kDejaVu}, "FIX|no installed font covers Chinese (zh-cn)"},
        {"0", {kDejaVu, kWenQuanYi}, "OK|Chinese (zh-cn): "},
        {"1", {kDejaVu}, "OK|English (en): "},
        {"1", {}, "FIX|no installed font covers English (en)"},
    };
    for (const Case& c : cases) {
        const std::string check = font_check(c.language, c.fonts);
        EXPECT_TRUE(check.starts_with(c.expected)) << "language=" << c.language << ": " << check;
    }
    EXPECT_NE(font_check("0", {kDejaVu})
                  .find("|install a font with Chinese characters: sudo apt "
                        "install fonts-wqy-microhei (or fonts-noto-cjk)"),
              std::string::npos);
    EXPECT_NE(font_check("0", {kWenQuanYi}).find("e.g. WenQuanYi Micro Hei"), std::string::npos);
    EXPECT_NE(font_check("1", {}).find("|install a font: sudo apt install fonts-dejavu-core"),
              std::string::npos);
}

TEST_F(LanguageFontTest, WithoutFontconfigTheCheckIsUnknown) {
    const std::string check =
        font_check("0", {kDejaVu}, "TARVENOR_FONTCONFIG=" + shell_quoted(dir_ / "missing.so"));
    EXPECT_TRUE(check.starts_with("UNKNOWN|fontconfig (" + (dir_ / "missing.so").string() +
                                  ") cannot be loaded: "))
        << check;
    EXPECT_TRUE(check.ends_with("cannot tell whether a font covers Chinese (zh-cn)|")) << check;
}

} // namespace
} // namespace tarvenor::testing
