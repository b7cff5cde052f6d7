#include "core/settings/settings_file.h"

#include "core/text/translate.h"

#include "core/settings/number_text.h"

namespace settings {
namespace {

bool isLineEndChar(char c) {
    return c == '\r' || c == '\n';
}

std::optional<std::int16_t> strictInt16(const std::optional<std::string>& field) {
    if (!field)
        return std::nullopt;
    const auto number = StrictNumber(*field);
    if (!number)
        return std::nullopt;
    return RoundToInt16(*number);
}

template <typename Int, typename Round>
std::optional<Int> leadingInt(const std::optional<std::string>& field, Round round) {
    if (!field)
        return std::nullopt;
    return round(LeadingNumber(*field));
}

void appendTextRecord(std::string& out, std::string_view text) {
    out += '"';
    out += text;
    out += "\"\r\n";
}

void appendNumberRecord(std::string& out, long long value) {
    out += std::to_string(value);
    out += "\r\n";
}

} // namespace

void FieldReader::skipLineEnd() {
    if (pos_ < text_.size() && text_[pos_] == '\r')
        ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n')
        ++pos_;
}

void FieldReader::skipRestOfField() {
    while (pos_ < text_.size() && text_[pos_] != ',' && !isLineEndChar(text_[pos_]))
        ++pos_;
    if (pos_ < text_.size() && text_[pos_] == ',')
        ++pos_;
    else
        skipLineEnd();
}

std::optional<std::string> FieldReader::next() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t'))
        ++pos_;
    if (pos_ >= text_.size())
        return std::nullopt;

    if (text_[pos_] == '"') {
        const std::size_t begin = pos_ + 1;
        std::size_t end = begin;
        while (end < text_.size() && text_[end] != '"' && !isLineEndChar(text_[end]))
            ++end;
        if (end >= text_.size()) {
            pos_ = text_.size();
            return std::nullopt;
        }
        pos_ = end;
        if (text_[end] != '"') {
            // A quote left open at the line end: the record is damaged, the next line is not.
            skipLineEnd();
            return std::nullopt;
        }
        ++pos_;
        skipRestOfField();
        return std::string(text_.substr(begin, end - begin));
    }

    const std::size_t begin = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && !isLineEndChar(text_[pos_]))
        ++pos_;
    if (pos_ >= text_.size())
        return std::nullopt;
    std::string_view value = text_.substr(begin, pos_ - begin);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.remove_suffix(1);
    if (text_[pos_] == ',')
        ++pos_;
    else
        skipLineEnd();
    return std::string(value);
}

SetupUpdate ParseSetupText(std::string_view text) {
    FieldReader reader(text);
    SetupUpdate update;
    update.found = true;
    update.cmbBR = strictInt16(reader.next());
    update.cmbR = strictInt16(reader.next());
    update.cmbChannel = strictInt16(reader.next());
    update.txtPath = reader.next();
    update.cmbOF = strictInt16(reader.next());
    return update;
}

OptionsUpdate ParseOptionsText(std::string_view text) {
    FieldReader reader(text);
    OptionsUpdate update;
    update.found = true;
    update.FinishSound = leadingInt<std::int16_t>(reader.next(), RoundToInt16);
    update.CutEnabled = leadingInt<std::int16_t>(reader.next(), RoundToInt16);
    update.CutStart = leadingInt<std::int32_t>(reader.next(), RoundToInt32);
    update.CutLength = leadingInt<std::int32_t>(reader.next(), RoundToInt32);
    return update;
}

std::optional<std::string> FormatSetupText(const SetupRecords& records) {
    if (!CanStoreFolder(records.txtPath))
        return std::nullopt;
    std::string out;
    appendTextRecord(out, std::to_string(records.cmbBR));
    appendTextRecord(out, std::to_string(records.cmbR));
    appendTextRecord(out, std::to_string(records.cmbChannel));
    appendTextRecord(out, records.txtPath);
    appendTextRecord(out, std::to_string(records.cmbOF));
    return out;
}

std::string FormatOptionsText(const OptionsRecords& records) {
    std::string out;
    appendNumberRecord(out, records.FinishSound);
    appendNumberRecord(out, records.CutEnabled);
    appendNumberRecord(out, records.CutStart);
    appendNumberRecord(out, records.CutLength);
    return out;
}

bool CanStoreFolder(std::string_view folder) {
    return folder.find_first_of("\"\r\n") == std::string_view::npos;
}

bool KeepStorableFolder(SetupRecords& records, const std::filesystem::path& path,
                        std::string_view defaultFolder) {
    if (CanStoreFolder(records.txtPath))
        return false;
    const SetupUpdate stored = LoadSetupFile(path);
    if (stored.txtPath && CanStoreFolder(*stored.txtPath))
        records.txtPath = *stored.txtPath;
    else if (CanStoreFolder(defaultFolder))
        records.txtPath = defaultFolder;
    else
        records.txtPath.clear(); // an empty record also starts with the default
    return true;
}

bool IsListIndex(int index, int count) {
    return index >= -1 && index < count;
}

void ApplyOptionsUpdate(const OptionsUpdate& update, OptionsRecords& options) {
    if (!update.found) {
        options.FinishSound = 0;
        options.CutEnabled = 0;
        return;
    }
    // 0 is "ON", 1 "OFF": the dialog's list.
    if (update.FinishSound && (*update.FinishSound == 0 || *update.FinishSound == 1))
        options.FinishSound = *update.FinishSound;
    // Any value: a non-zero one turns the cut on.
    if (update.CutEnabled)
        options.CutEnabled = *update.CutEnabled;
    // The converter takes no negative time, so such a record would fail every file.
    if (update.CutStart && *update.CutStart >= 0)
        options.CutStart = *update.CutStart;
    if (update.CutLength && *update.CutLength >= 0)
        options.CutLength = *update.CutLength;
}

SetupUpdate LoadSetupFile(const std::filesystem::path& path) {
    const auto text = ReadOrdinaryFile(path, kMaxSettingsFileBytes);
    if (!text)
        return {};
    return ParseSetupText(*text);
}

OptionsUpdate LoadOptionsFile(const std::filesystem::path& path) {
    const auto text = ReadOrdinaryFile(path, kMaxSettingsFileBytes);
    if (!text)
        return {};
    return ParseOptionsText(*text);
}

WriteResult CheckReplaceable(const std::filesystem::path& path, LongFile longFile) {
    const FileRead there = ReadSettingsFile(path, kMaxSettingsFileBytes, longFile);
    if (!MustBeLeftAlone(there.state))
        return {};
    return {false, translation::Fill(
                       PK_TR("SettingsFile", "Cannot save %1: it is %2, and is left as it is"),
                       {path.string(), WhyNotRead(there, kMaxSettingsFileBytes)})};
}

WriteResult SaveSetupFile(const std::filesystem::path& path, const SetupRecords& records) {
    if (WriteResult check = CheckReplaceable(path, LongFile::Cut); !check)
        return check;
    const auto text = FormatSetupText(records);
    if (!text) {
        return {false, translation::Fill(PK_TR("SettingsFile",
                                               "Cannot save %1: the output folder contains a "
                                               "double quote or a line break"),
                                         {path.string()})};
    }
    return ReplaceFileContents(path, *text);
}

WriteResult SaveOptionsFile(const std::filesystem::path& path, const OptionsRecords& records) {
    if (WriteResult check = CheckReplaceable(path, LongFile::Cut); !check)
        return check;
    return ReplaceFileContents(path, FormatOptionsText(records));
}

std::string VersionText(int major, int minor, int revision) {
    return "Ver " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision);
}

} // namespace settings
