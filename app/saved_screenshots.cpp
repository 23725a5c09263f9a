#include "app/saved_screenshots.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/screenshot.h"
#include "model/console_text.h"
#include "model/loaded_model.h"
#include "model/user_messages.h"

namespace {

// More than anyone saves of one model; past it nothing is overwritten.
constexpr int MOST_NUMBERED = 99999;

bool asked = false;

std::optional<std::filesystem::path> nextFreeName();

}  // namespace

void askForScreenshot() {
    asked = true;
}

void saveScreenshotIfAsked() {
    if (!asked) return;
    asked = false;
    const std::optional<std::filesystem::path> freeName = nextFreeName();
    if (!freeName) {
        tellUser("cannot save a screenshot: every name up to " + std::to_string(MOST_NUMBERED) + " is taken");
        return;
    }
    const std::filesystem::path& name = *freeName;
    std::error_code error;
    const std::filesystem::path shown = std::filesystem::absolute(name, error);
    const std::string where = printableName((error ? name : shown).string());
    if (writeFramePicture(name.c_str(), false))
        tellUser("saved the screenshot " + where);
    else
        tellUser("cannot write the screenshot " + where);
}

namespace {

std::optional<std::filesystem::path> nextFreeName() {
    const std::string stem = std::filesystem::path(modelSettings.path).stem().string();
    for (int number = 1; number <= MOST_NUMBERED; ++number) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "-%03d.png", number);
        std::filesystem::path name = stem + suffix;
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(name, error))) return name;
    }
    return std::nullopt;
}

}  // namespace
