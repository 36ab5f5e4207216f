#include "app/settings_store.h"

#include <shlobj.h>

#include "platform/files.h"
#include "platform/shell_folder.h"

namespace kestrin {

namespace {
// The longest module name the system gives (32,767 UTF-16 units), in bytes
// of the ANSI code page.
constexpr size_t kMaxModulePathBytes = 2 * 32768;
}  // namespace

std::string DocumentsFolder(HWND owner) { return ShellFolderPath(owner, CSIDL_PERSONAL); }

std::string ProgramFilePath() {
    // Whole or not at all: a cut path names another file. A cut fills the
    // buffer to the brim, or to one byte short of it where a double-byte
    // character did not fit (and Wine then reports no cut), so the buffer
    // grows until the name leaves two bytes to spare.
    std::string path(MAX_PATH, '\0');
    while (path.size() <= kMaxModulePathBytes) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length + 1 < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return {};
}

void SettingsStore::Open(const std::string& documentsFolder) {
    path_ = SettingsPathFor(documentsFolder, ProgramFilePath());
    file_ = std::make_unique<ProfileFile>(path_);
}

void SettingsStore::Reopen() {
    if (!file_) file_ = std::make_unique<ProfileFile>(path_);
}

void SettingsStore::Load(AppSettingsRecord& settings) {
    if (!file_) Reopen();
    // Asked before and after the reads, so that a hold that begins or ends
    // in between is seen too: the profile API gives the defaults for a file
    // it cannot open, as if it were missing.
    unreadAtLoad_ = FileUnreadable(path_);
    for (size_t i = 0; i < kSettingsKeyCount; ++i) {
        const auto key = static_cast<SettingsKeyIndex>(i);
        const SettingsField& field = kSettingsFields[key];
        LoadSetting(key, file_->ReadInteger(std::string(kSettingsSection), std::string(field.Name), field.Default),
                    settings);
    }
    unreadAtLoad_ = unreadAtLoad_ || FileUnreadable(path_);
}

void SettingsStore::WriteKey(SettingsKeyIndex key, const AppSettingsRecord& settings) {
    if (!file_) Reopen();
    file_->WriteString(std::string(kSettingsSection), std::string(kSettingsFields[key].Name),
                       SettingText(key, settings));
    // The user's own choice (the settings dialog) now stands in the file.
    unreadAtLoad_ = false;
}

void SettingsStore::Write(const AppSettingsRecord& settings) {
    for (size_t i = 0; i < kSettingsKeyCount; ++i) WriteKey(static_cast<SettingsKeyIndex>(i), settings);
}

bool SettingsStore::Save(const AppSettingsRecord& settings) {
    struct CloseAtEnd {
        std::unique_ptr<ProfileFile>& file;
        ~CloseAtEnd() { file.reset(); }
    } closeAtEnd{file_};
    if (unreadAtLoad_) return false;
    Write(settings);
    return true;
}

}  // namespace kestrin
