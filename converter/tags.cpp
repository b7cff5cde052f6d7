#include "tags.h"

#include <algorithm>
#include <array>
#include <unordered_set>

extern "C" {
#include <libavutil/avstring.h>
}

namespace conv {

namespace {

// Written by the libraries themselves, or true only of the file they came from: its
// container, its encoder's delay, its length and stream statistics (a cut changes them).
// Pictures travel separately.
constexpr std::array<const char*, 27> kNotCarried = {
    "encoder",
    "major_brand",
    "minor_version",
    "compatible_brands",
    "handler_name",
    "vendor_id",
    "iTunSMPB",
    "TLEN",
    "WMFSDKVersion",
    "WMFSDKNeeded",
    "IsVBR",
    "DeviceConformanceTemplate",
    "DURATION",
    "BPS",
    "NUMBER_OF_FRAMES",
    "NUMBER_OF_BYTES",
    "_STATISTICS_WRITING_APP",
    "_STATISTICS_WRITING_DATE_UTC",
    "_STATISTICS_TAGS",
    "METADATA_BLOCK_PICTURE",
    // Gains measured on the source's audio say nothing true of the re-encoded one.
    "REPLAYGAIN_TRACK_GAIN",
    "REPLAYGAIN_TRACK_PEAK",
    "REPLAYGAIN_ALBUM_GAIN",
    "REPLAYGAIN_ALBUM_PEAK",
    "REPLAYGAIN_REFERENCE_LOUDNESS",
    "R128_TRACK_GAIN",
    "R128_ALBUM_GAIN",
};

// Longest tag name shown in a note.
constexpr std::size_t kShownKeyBytes = 60;

bool Carried(const AVDictionaryEntry& entry) {
    for (const char* key : kNotCarried) {
        if (av_strcasecmp(entry.key, key) == 0)
            return false;
    }
    // A stream's "undetermined" language says nothing.
    return !(av_strcasecmp(entry.key, "language") == 0 && av_strcasecmp(entry.value, "und") == 0);
}

bool IsVorbisComment(const FormatInfo& format) {
    return format.muxer == "ogg" || format.muxer == "flac" || format.muxer == "opus";
}

// The libraries match keys without regard to ASCII case, so a key is kept once in any case.
std::string KeyIdentity(std::string_view key) {
    std::string folded(key);
    for (char& c : folded)
        c = static_cast<char>(av_toupper(static_cast<unsigned char>(c)));
    return folded;
}

// Cuts the text to what a 16-bit length of UTF-16 holds; true when it was cut.
bool CutToShortUtf16(std::string& text) {
    const std::size_t keep = Utf16Prefix(text, kMaxShortUtf16Units);
    if (keep == text.size())
        return false;
    text.resize(keep);
    return true;
}

// Builds the tags for one output in a single pass over the input's, whatever their number.
class TagCollector {
public:
    explicit TagCollector(const FormatInfo& format) : format_(format) {}

    void add(const AVDictionary* source) {
        const AVDictionaryEntry* entry = nullptr;
        while ((entry = av_dict_get(source, "", entry, AV_DICT_IGNORE_SUFFIX))) {
            if (Carried(*entry))
                add(*entry);
        }
    }

    OutputTags take() { return std::move(out_); }

private:
    void add(const AVDictionaryEntry& entry) {
        Tag tag{ValidUtf8(entry.key), ValidUtf8(entry.value)};
        bool cut = false;
        if (format_.shortUtf16Tags) {
            cut = CutToShortUtf16(tag.key);
            cut = CutToShortUtf16(tag.value) || cut;
        }
        // A Vorbis comment is "NAME=value": the first '=' ends the name.
        if (IsVorbisComment(format_))
            std::replace(tag.key.begin(), tag.key.end(), '=', '_');
        if (tag.key.empty() || !seen_.insert(KeyIdentity(tag.key)).second)
            return;
        const std::size_t bytes = tag.key.size() + tag.value.size();
        if (out_.tags.size() >= kMaxCarriedTags || bytes > kMaxCarriedTagBytes - bytes_) {
            ++out_.leftOut;
            return;
        }
        bytes_ += bytes;
        if (cut)
            out_.cut.push_back(tag.key);
        out_.tags.push_back(std::move(tag));
    }

    const FormatInfo& format_;
    OutputTags out_;
    std::unordered_set<std::string> seen_;
    std::size_t bytes_ = 0;
};

} // namespace

bool HoldsGainTags(const FormatInfo& format) {
    // A WAV file's tags have no names of their own for gains.
    return HoldsTags(format) && format.muxer != "wav";
}

bool HoldsTags(const FormatInfo& format) {
    // ADTS, AC3, AMR and MPEG program streams have no place for them.
    return format.muxer == "mp3" || format.muxer == "asf" || format.muxer == "wav" ||
           format.muxer == "ipod" || IsVorbisComment(format);
}

OutputTags TagsForOutput(const FormatInfo& format, const AVDictionary* formatTags,
                         const AVDictionary* streamTags) {
    if (!HoldsTags(format))
        return {};
    TagCollector collector(format);
    collector.add(formatTags);
    collector.add(streamTags);
    return collector.take();
}

std::vector<std::string> TagNotes(const FormatInfo& format, const OutputTags& tags) {
    std::vector<std::string> notes;
    for (const std::string& key : tags.cut)
        notes.push_back("note: " + std::string(format.label) +
                        " holds at most 64 KiB of text in a tag; the " +
                        ShortenForNote(key, kShownKeyBytes) + " tag is cut there");
    if (tags.leftOut > 0)
        notes.push_back("note: " + std::to_string(tags.leftOut) +
                        (tags.leftOut == 1 ? " tag is" : " tags are") + " beyond the first " +
                        std::to_string(kMaxCarriedTags) + " tags or " +
                        std::to_string(kMaxCarriedTagBytes >> 20) +
                        " MiB of tag text, and left out");
    return notes;
}

DictPtr ToDictionary(const std::vector<Tag>& tags) {
    AVDictionary* dict = nullptr;
    // Without looking for the key first, each entry takes the same time, however many came
    // before it.
    for (const Tag& tag : tags)
        av_dict_set(&dict, tag.key.c_str(), tag.value.c_str(), AV_DICT_MULTIKEY);
    return DictPtr(dict);
}

DictPtr Latin1Tags(const AVDictionary* tags) {
    AVDictionary* converted = nullptr;
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av_dict_get(tags, "", entry, AV_DICT_IGNORE_SUFFIX)))
        av_dict_set(&converted, entry->key, Utf8ToLatin1(entry->value).c_str(), AV_DICT_MULTIKEY);
    return DictPtr(converted);
}

} // namespace conv
