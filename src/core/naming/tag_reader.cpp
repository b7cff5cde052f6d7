#include "core/naming/tag_reader.h"

#include "core/engine/command_line.h"

#include <fileref.h>
#include <tfile.h>
#include <tpropertymap.h>

#include <sys/stat.h>

#include <vector>

namespace {

std::string FirstValue(const TagLib::PropertyMap& properties, const char* key) {
    const auto found = properties.find(key);
    if (found == properties.end() || found->second.isEmpty())
        return {};
    return found->second.front().to8Bit(true);
}

std::vector<std::string> Levels(const std::string& path) {
    std::vector<std::string> levels;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string level = path.substr(start, end - start);
        if (!level.empty() && level != ".")
            levels.push_back(std::move(level));
        start = end + 1;
    }
    return levels;
}

std::string RelativeFolder(const std::string& input, const std::string& root) {
    if (root.empty() || (input.front() == '/') != (root.front() == '/'))
        return {};
    const std::vector<std::string> inputLevels = Levels(input);
    const std::vector<std::string> rootLevels = Levels(root);
    for (const std::vector<std::string>* levels : {&inputLevels, &rootLevels}) {
        for (const std::string& level : *levels) {
            if (level == "..")
                return {};
        }
    }
    if (inputLevels.size() <= rootLevels.size())
        return {};
    for (std::size_t i = 0; i < rootLevels.size(); ++i) {
        if (inputLevels[i] != rootLevels[i])
            return {};
    }
    std::string folder;
    for (std::size_t i = rootLevels.size(); i + 1 < inputLevels.size(); ++i) {
        if (!folder.empty())
            folder += '/';
        folder += inputLevels[i];
    }
    return folder;
}

} // namespace

std::optional<TrackTags> ReadTrackTags(const std::string& path) {
    // A fifo or a device would block TagLib or feed it forever.
    struct stat info = {};
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    try {
        const TagLib::FileRef file(path.c_str(), false);
        if (file.isNull() || !file.file()->isValid())
            return std::nullopt;
        const TagLib::PropertyMap properties = file.file()->properties();
        TrackTags tags;
        tags.artist = FirstValue(properties, "ARTIST");
        tags.albumArtist = FirstValue(properties, "ALBUMARTIST");
        tags.album = FirstValue(properties, "ALBUM");
        tags.title = FirstValue(properties, "TITLE");
        tags.track = FirstValue(properties, "TRACKNUMBER");
        tags.disc = FirstValue(properties, "DISCNUMBER");
        tags.date = FirstValue(properties, "DATE");
        tags.genre = FirstValue(properties, "GENRE");
        for (const std::string* field : {&tags.artist, &tags.albumArtist, &tags.album, &tags.title,
                                         &tags.track, &tags.disc, &tags.date, &tags.genre}) {
            if (!field->empty())
                return tags;
        }
        return std::nullopt;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<double> ReadPlayingSeconds(const std::string& path) {
    struct stat info = {};
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    try {
        const TagLib::FileRef file(path.c_str(), true, TagLib::AudioProperties::Fast);
        if (file.isNull() || file.audioProperties() == nullptr)
            return std::nullopt;
        const int milliseconds = file.audioProperties()->lengthInMilliseconds();
        if (milliseconds <= 0)
            return std::nullopt;
        return milliseconds / 1000.0;
    } catch (...) {
        return std::nullopt;
    }
}

NameSource DescribeSource(const std::string& input, const std::string& root) {
    NameSource source;
    source.name = GetBaseName(input);
    source.stem = GetFileName(input);
    const std::size_t dot = source.stem.rfind('.');
    if (dot != std::string::npos && dot > 0)
        source.stem.resize(dot);
    if (!input.empty())
        source.folder = RelativeFolder(input, root);
    source.tags = ReadTrackTags(input).value_or(TrackTags{});
    return source;
}
