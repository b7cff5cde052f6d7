#pragma once

#include "conv_protocol/loudness.h"
#include "gain_tags/gain_tags.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// Gathers a run's loudness measurements into albums: the files of one source folder that
// share an album tag. An album's values need every one of its tracks, so a folder's albums are
// worked out only once none of its files is waiting or converting any more, and not at all when
// one of its files was not measured in this run (it failed, was up to date, or the run stopped).
class AlbumGains {
public:
    struct Track {
        std::string output;
        std::string syncKey; // its entry in the output folder's record; empty without sync
    };
    struct Album {
        std::vector<Track> tracks;
        gain_tags::Measured values;
    };

    // A source joins the run.
    void expect(const std::string& source);
    // A source converted and measured: its album tag ("" for none) and the converter's figures.
    void measured(const std::string& source, Track track, const std::string& album,
                  const conv_protocol::Loudness& loudness);
    // A source that ended without a measurement: its folder's albums get no values this run.
    void unmeasured(const std::string& source);
    // The albums a source's end completed (call after measured() or unmeasured()).
    [[nodiscard]] std::vector<Album> completedBy(const std::string& source);
    // At the end of a run that was not stopped: the albums still open, whose missing files
    // left the list without being converted.
    [[nodiscard]] std::vector<Album> completeAll();

private:
    struct Folder {
        int waiting = 0;
        bool spoiled = false;
        bool changed = false;
        std::map<std::string, std::vector<std::pair<Track, conv_protocol::Loudness>>> albums;
    };
    [[nodiscard]] static std::string FolderOf(const std::string& source);
    [[nodiscard]] static std::vector<Album> Complete(Folder& folder);

    std::map<std::string, Folder> folders_;
};
