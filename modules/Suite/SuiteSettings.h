// Where the suite lives and the settings the suite's own modules keep in
// Tessel.ini, each in a section of its own.
#pragma once

#include <string>

namespace platform {
class TForm;
}

namespace tessel {

// The suite's folder with its trailing backslash: the folder of the module
// this code is linked into, less a last "Page\" for page modules.
std::string SuiteFolder();
std::string SuiteIni();

int ReadSetting(const std::string& Section, const std::string& Key, int Default);
void WriteSetting(const std::string& Section, const std::string& Key, int Value);
// A text value (at most 259 characters), empty when missing.
std::string ReadSettingText(const std::string& Section, const std::string& Key);
void WriteSetting(const std::string& Section, const std::string& Key, const std::string& Value);

// Puts the form where Section last kept it (Left, Top, and with Sized also
// Width and Height), moved so that it lies wholly on the work area of the
// nearest monitor: a desktop that shrank since never hides it.
void RestoreBounds(platform::TForm* Form, const std::string& Section, bool Sized);
void SaveBounds(platform::TForm* Form, const std::string& Section, bool Sized);

} // namespace tessel
