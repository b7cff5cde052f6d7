#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What a source's tags say, as UTF-8 text; an empty field is a missing one.
struct TrackTags {
    std::string artist;
    std::string albumArtist;
    std::string album;
    std::string title;
    std::string track; // as tagged: "2", "02", "2/9"
    std::string disc;  // as tagged: "1", "1/2"
    std::string date;  // as tagged: "1999", "1999-05-01"
    std::string genre;
};

// Everything a pattern may name about one source.
struct NameSource {
    TrackTags tags;
    std::string name;   // the file name up to its first dot
    std::string stem;   // the file name less its last extension
    std::string folder; // its folder relative to the folder it was added with ("" when none)
};

// A name pattern such as "{artist}/{album}/{track} - {title}": the output's path below the
// output folder, without the extension.
class NamePattern {
public:
    // Nothing, and a reason in `error`, for an empty pattern or an unknown or unclosed field.
    [[nodiscard]] static std::optional<NamePattern> Parse(const std::string& text,
                                                          std::string* error = nullptr);

    // The path below the output folder, as its folder names and the file name last (without
    // the extension). Every element is a usable, non-empty name: no "/", no control character,
    // no leading dot, no trailing space or dot, no stray " - "; the last one leaves room for
    // `reservedBytes` (the extension and a " (N)" suffix) within 255 bytes, cut on a whole
    // UTF-8 character.
    [[nodiscard]] std::vector<std::string> Render(const NameSource& source,
                                                  std::size_t reservedBytes) const;

    [[nodiscard]] const std::string& text() const { return text_; }

private:
    struct Piece {
        bool field = false;
        std::string text; // literal text, or the field's name
    };
    std::string text_;
    std::vector<Piece> pieces_;
};

// The patterns offered to pick from; the first, empty, is the plain rule (the name up to the
// first dot).
[[nodiscard]] const std::vector<std::string>& CommonNamePatterns();
