#include "settings/settings_store.h"

#include <shlobj.h>

#include "win32/files.h"
#include "win32/shell_folder.h"
#include "win32/portable/scope_exit.h"

namespace kestrin {

std::string DocumentsFolder(HWND owner) { return ShellFolderPath(owner, CSIDL_PERSONAL); }

void SettingsStore::Open(const std::string& documentsFolder) {
    path_ = SettingsPathFor(documentsFolder, ProgramFilePath());
    file_ = std::make_unique<ProfileFile>(path_);
}

void SettingsStore::Reopen() {
    if (!file_) file_ = std::make_unique<ProfileFile>(path_);
}

void SettingsStore::Load(AppSettingsRecord& settings) {
    if (!file_) Reopen();
    // The profile API gives the defaults for a file it cannot open, as if it
    // were missing; the file is held open over the reads, so that what is
    // seen here is what the reads meet.
    const ReadHold hold(path_);
    unreadAtLoad_ = hold.Unreadable();
    for (size_t i = 0; i < kSettingsKeyCount; ++i) {
        const auto key = static_cast<SettingsKeyIndex>(i);
        const SettingsField& field = kSettingsFields[key];
        LoadSetting(key, file_->ReadInteger(std::string(kSettingsSection), std::string(field.Name), field.Default),
                    settings);
    }
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
    // The file is let go however the save ends: the program is closing.
    const ScopeExit closeAtEnd([this] { file_.reset(); });
    if (unreadAtLoad_) return false;
    Write(settings);
    return true;
}

}  // namespace kestrin
