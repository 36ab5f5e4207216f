#pragma once
// The settings store: where the ini file lives, and loading and saving the
// seven settings through the profile file kept open for the run.
#include <windows.h>

#include <memory>
#include <string>

#include "settings/portable/settings_rules.h"
#include "settings/portable/shared_state.h"
#include "win32/profile_file.h"

namespace kestrin {

// The user's documents folder, or "" when the shell cannot tell.
std::string DocumentsFolder(HWND owner);

class SettingsStore {
public:
    // Fixes the settings path and opens the file object (nothing is read yet).
    void Open(const std::string& documentsFolder);
    // Opens the file object again after a close (for instance after a
    // cancelled logoff), for the same path.
    void Reopen();

    // Reads the keys in their order into the record (load rules applied).
    void Load(AppSettingsRecord& settings);
    // Writes the one key from its field of the record, so that a caller can
    // set a field, write its key, set the next, ... and stop at a refused
    // write. Throws KestrinError "<path> に書き込めません" when refused.
    void WriteKey(SettingsKeyIndex key, const AppSettingsRecord& settings);
    // WriteKey for all seven keys in their order; stops at the first refused.
    void Write(const AppSettingsRecord& settings);
    // Write, then close the file object (which flushes the profile cache).
    // The file object is closed even when the write fails. A file that was
    // there but could not be read at Load is not written (the record holds
    // defaults, not the user's values) unless a key has been written since;
    // returns whether it wrote.
    bool Save(const AppSettingsRecord& settings);

private:
    std::string path_;
    std::unique_ptr<ProfileFile> file_;
    bool unreadAtLoad_ = false;
};

}  // namespace kestrin
