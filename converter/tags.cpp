#include "tags.h"

#include <algorithm>
#include <array>

extern "C" {
#include <libavutil/avstring.h>
}

namespace conv {

namespace {

// Written by the libraries themselves, or true only of the file they came from: its
// container, its encoder's delay, its length and stream statistics (a cut changes them).
// Pictures travel separately.
constexpr std::array<const char*, 20> kNotCarried = {
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
};

bool Carried(const AVDictionaryEntry& entry) {
    for (const char* key : kNotCarried) {
        if (av_strcasecmp(entry.key, key) == 0)
            return false;
    }
    // A stream's "undetermined" language says nothing.
    return !(av_strcasecmp(entry.key, "language") == 0 && av_strcasecmp(entry.value, "und") == 0);
}

void CopyInto(AVDictionary** target, const AVDictionary* source) {
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av_dict_get(source, "", entry, AV_DICT_IGNORE_SUFFIX))) {
        if (Carried(*entry))
            av_dict_set(target, entry->key, entry->value, AV_DICT_DONT_OVERWRITE);
    }
}

} // namespace

DictPtr RecordingTags(const AVDictionary* formatTags, const AVDictionary* streamTags) {
    AVDictionary* tags = nullptr;
    CopyInto(&tags, formatTags);
    CopyInto(&tags, streamTags);
    return DictPtr(tags);
}

std::string Utf8ToLatin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        char32_t code = lead;
        if (lead < 0x80) {
            length = 1;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            length = 4;
            code = lead & 0x07;
        }
        bool whole = length > 0 && i + length <= text.size();
        for (int k = 1; whole && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            whole = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms could smuggle in a character that was never written.
        if (!whole || (length == 3 && code < 0x800) || (length == 4 && code < 0x10000)) {
            // One mark for the whole broken sequence.
            out += '?';
            ++i;
            while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
                ++i;
            continue;
        }
        out += code <= 0xFF ? static_cast<char>(code) : '?';
        i += length;
    }
    return out;
}

std::size_t Utf16Prefix(std::string_view text, std::size_t maxUnits) {
    std::size_t units = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        // A broken byte costs at most one unit; characters beyond the BMP take two.
        const std::size_t need = length == 4 ? 2 : 1;
        if (units + need > maxUnits)
            break;
        units += need;
        i = std::min(text.size(), i + length);
    }
    return i;
}

std::vector<std::string> CutToShortUtf16(AVDictionary** tags) {
    std::vector<std::string> cut;
    AVDictionary* fitted = nullptr;
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av_dict_get(*tags, "", entry, AV_DICT_IGNORE_SUFFIX))) {
        const std::string_view value = entry->value;
        const std::size_t keep = Utf16Prefix(value, kMaxShortUtf16Units);
        if (keep < value.size())
            cut.emplace_back(entry->key);
        av_dict_set(&fitted, entry->key, std::string(value.substr(0, keep)).c_str(),
                    AV_DICT_MULTIKEY);
    }
    av_dict_free(tags);
    *tags = fitted;
    return cut;
}

DictPtr Latin1Tags(const AVDictionary* tags) {
    AVDictionary* converted = nullptr;
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av_dict_get(tags, "", entry, AV_DICT_IGNORE_SUFFIX)))
        av_dict_set(&converted, entry->key, Utf8ToLatin1(entry->value).c_str(), AV_DICT_MULTIKEY);
    return DictPtr(converted);
}

} // namespace conv
