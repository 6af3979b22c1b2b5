// Where the suite lives and the settings the suite's own modules keep in
// Tessel.ini, each in a section of its own.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

namespace platform {
class TForm;
}

namespace tessel {

// The suite's folder with its trailing backslash: the folder of the module
// this code is linked into, less a last "Page\" for page modules.
std::string SuiteFolder();
std::string SuiteIni();

int ReadSetting(const std::string& Section, const std::string& Key, int Default);
// Writes through the suite's one writer of INI files (platform/IniStore.h),
// all values at once; values already there write nothing.
void WriteSettings(const std::string& Section, std::initializer_list<std::pair<const char*, int>> Values);
// A text value (at most 259 characters), empty when missing; written as
// WriteSettings writes.
std::string ReadSettingText(const std::string& Section, const std::string& Key);
void WriteSettingText(const std::string& Section, const std::string& Key, const std::string& Value);

// Puts the form where Section last kept it (Left, Top, and with Sized also
// Width and Height), moved so that it lies wholly on the work area of the
// nearest monitor: a desktop that shrank since never hides it.
void RestoreBounds(platform::TForm* Form, const std::string& Section, bool Sized);
void SaveBounds(platform::TForm* Form, const std::string& Section, bool Sized);

} // namespace tessel
