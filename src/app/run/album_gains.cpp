#include "app/run/album_gains.h"

#include <algorithm>

std::string AlbumGains::FolderOf(const std::string& source) {
    const auto slash = source.rfind('/');
    return slash == std::string::npos ? std::string() : source.substr(0, slash);
}

void AlbumGains::expect(const std::string& source) {
    ++folders_[FolderOf(source)].waiting;
}

void AlbumGains::measured(const std::string& source, Track track, const std::string& album,
                          const conv_protocol::Loudness& loudness) {
    Folder& folder = folders_[FolderOf(source)];
    folder.waiting = std::max(0, folder.waiting - 1);
    folder.changed = true;
    if (!album.empty())
        folder.albums[album].emplace_back(std::move(track), loudness);
}

void AlbumGains::unmeasured(const std::string& source) {
    Folder& folder = folders_[FolderOf(source)];
    folder.waiting = std::max(0, folder.waiting - 1);
    folder.spoiled = true;
}

std::vector<AlbumGains::Album> AlbumGains::completedBy(const std::string& source) {
    const auto found = folders_.find(FolderOf(source));
    if (found == folders_.end() || found->second.waiting > 0)
        return {};
    return Complete(found->second);
}

std::vector<AlbumGains::Album> AlbumGains::completeAll() {
    std::vector<Album> all;
    for (auto& [name, folder] : folders_)
        for (Album& album : Complete(folder))
            all.push_back(std::move(album));
    return all;
}

std::vector<AlbumGains::Album> AlbumGains::Complete(Folder& folder) {
    if (folder.spoiled || !folder.changed)
        return {};
    folder.changed = false;
    std::vector<Album> done;
    for (const auto& [name, tracks] : folder.albums) {
        conv_protocol::BlockHistogram blocks;
        Album album;
        for (const auto& [track, loudness] : tracks) {
            blocks.add(loudness.blocks);
            album.values.peak = std::max(album.values.peak, loudness.peak);
            album.tracks.push_back(track);
        }
        // An album of silence has no loudness to bring anywhere.
        const std::optional<double> lufs = blocks.integratedLufs();
        if (!lufs)
            continue;
        album.values.lufs = *lufs;
        done.push_back(std::move(album));
    }
    return done;
}
