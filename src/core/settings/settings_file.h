#pragma once

#include "core/settings/safe_file.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace settings {

// Far above anything the program writes. setup.ini and options.ini longer than this are read
// only this far (their records come first); pelkora.ini is not read at all.
inline constexpr std::size_t kMaxSettingsFileBytes = 1 << 20;

// Reads the comma- and line-separated fields of a sequential text file one at a time.
// A field that is cut off (an unclosed quote, or a bare value the file ends in without a
// line end) is not returned: a truncated record must not pass for a shorter value.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    // The next field, or nothing at the end of the file or for a cut-off field.
    [[nodiscard]] std::optional<std::string> next();

private:
    void skipLineEnd();
    void skipRestOfField();

    std::string_view text_;
    std::size_t pos_ = 0;
};

// The main window's choices as setup.ini stores them; an index of -1 is "no selection".
struct SetupRecords {
    int cmbBR = 7;      // bitrate list index ("128")
    int cmbR = 1;       // sample-rate list index ("44100")
    int cmbChannel = 1; // 0 = Mono, 1 = Stereo
    std::string txtPath;
    int cmbOF = 0; // output format index (MP3)
};

// What setup.ini holds that can be applied; a record that is missing or not a 16-bit
// number stays empty, and its control keeps what it shows.
struct SetupUpdate {
    bool found = false;
    std::optional<std::int16_t> cmbBR;
    std::optional<std::int16_t> cmbR;
    std::optional<std::int16_t> cmbChannel;
    std::optional<std::string> txtPath;
    std::optional<std::int16_t> cmbOF;
};

// The options dialog's choices (the program-wide Module1 values).
struct OptionsRecords {
    std::int16_t FinishSound = 0; // 0 = "ON": play the finish sound
    std::int16_t CutEnabled = 0;  // 0 = cutter off, 1 = on
    std::int32_t CutStart = 0;    // whole seconds
    std::int32_t CutLength = 0;   // whole seconds, counted from CutStart

    bool operator==(const OptionsRecords&) const = default;
};

struct OptionsUpdate {
    bool found = false;
    std::optional<std::int16_t> FinishSound;
    std::optional<std::int16_t> CutEnabled;
    std::optional<std::int32_t> CutStart;
    std::optional<std::int32_t> CutLength;
};

[[nodiscard]] SetupUpdate ParseSetupText(std::string_view text);
[[nodiscard]] OptionsUpdate ParseOptionsText(std::string_view text);

// Nothing when the folder text holds a quote or a line break: the file has no escape for
// them, and the record would read back as a different folder.
[[nodiscard]] std::optional<std::string> FormatSetupText(const SetupRecords& records);
[[nodiscard]] std::string FormatOptionsText(const OptionsRecords& records);

// Whether the record format can hold the folder (no quote, no line break).
[[nodiscard]] bool CanStoreFolder(std::string_view folder);
// A folder the file cannot hold gives way to the one stored at path now, or to defaultFolder
// when there is none it could keep, so that the other records can still be saved. True when
// the folder was replaced.
bool KeepStorableFolder(SetupRecords& records, const std::filesystem::path& path,
                        std::string_view defaultFolder);

// Whether a stored index can be selected in a list of count items (-1 clears the selection).
[[nodiscard]] bool IsListIndex(int index, int count);

// A missing file is the first-run case (FinishSound and CutEnabled then become 0);
// records that cannot be applied, or lie outside what the dialog can choose (a sound choice
// other than on or off, a negative time), leave their value alone.
void ApplyOptionsUpdate(const OptionsUpdate& update, OptionsRecords& options);

[[nodiscard]] SetupUpdate LoadSetupFile(const std::filesystem::path& path);
[[nodiscard]] OptionsUpdate LoadOptionsFile(const std::filesystem::path& path);
// Fails, naming the file, when what is at path was not read because of what it is (too large,
// not an ordinary file, unreadable): saving over it would lose it.
WriteResult CheckReplaceable(const std::filesystem::path& path, LongFile longFile);

// Both leave a file that CheckReplaceable refuses as it is.
WriteResult SaveSetupFile(const std::filesystem::path& path, const SetupRecords& records);
WriteResult SaveOptionsFile(const std::filesystem::path& path, const OptionsRecords& records);

// "Ver 2.0.1": the parts in plain decimal.
[[nodiscard]] std::string VersionText(int major, int minor, int revision);

} // namespace settings
