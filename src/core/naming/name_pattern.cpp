#include "core/naming/name_pattern.h"

#include "core/text/translate.h"

#include "conv_protocol/utf8.h"

#include <array>
#include <string_view>

namespace {

constexpr std::size_t kMaxElementBytes = 255;

constexpr std::array<std::string_view, 11> kFields = {"artist", "albumartist", "album", "title",
                                                      "track",  "disc",        "year",  "genre",
                                                      "name",   "stem",        "folder"};

bool IsKnownField(std::string_view name) {
    for (std::string_view field : kFields) {
        if (field == name)
            return true;
    }
    return false;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Text safe inside one path element: valid UTF-8, no separator, no control character, no run
// of spaces. Tags come from any file, so nothing in them may be trusted. Literal text keeps
// its end spaces: they belong to the separators around the fields.
std::string Clean(std::string_view text, bool trim = true) {
    std::string out;
    out.reserve(text.size());
    const auto put = [&out, trim](char c) {
        if (c == ' ' && ((trim && out.empty()) || (!out.empty() && out.back() == ' ')))
            return;
        out += c;
    };
    for (std::size_t pos = 0; pos < text.size();) {
        const auto [code, length] = conv_protocol::DecodeUtf8At(text, pos);
        if (length == 0) {
            put('_');
            ++pos;
            continue;
        }
        if (code <= 0x20 || code == 0x7F || (code >= 0x80 && code <= 0x9F))
            put(' ');
        else if (code == '/' || code == '\\')
            put('-');
        else
            out.append(text.substr(pos, length));
        pos += length;
    }
    if (trim && !out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// Separator text left over at an end once a field beside it is empty, and the ends no file
// name may have (a leading dot hides it, a trailing space or dot confuses other systems).
bool IsEndDebris(char c) {
    return c == ' ' || c == '-' || c == '_' || c == '.';
}

std::string TrimDebris(std::string text) {
    std::size_t begin = 0;
    while (begin < text.size() && IsEndDebris(text[begin]))
        ++begin;
    std::size_t end = text.size();
    while (end > begin && IsEndDebris(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// Literal text that only joins the fields around it ("/", " - ", "_", ". ").
bool IsJoiner(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text) {
        if (!IsEndDebris(c) && c != ',' && c != ';' && c != ':' && c != '~')
            return false;
    }
    return true;
}

// Cuts `text` (valid UTF-8) to at most `limit` bytes without splitting a character.
std::string CutUtf8(std::string text, std::size_t limit) {
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    return text;
}

// A tag's value inside a name: a value of dots, dashes or spaces alone counts as missing, and
// none starts a name with a dot or leaves a separator at its ends. Its trailing dots stay
// ("R.E.M."): they only go when they end the whole name.
std::string Value(std::string_view tagged) {
    std::string text = Clean(tagged);
    std::size_t begin = 0;
    while (begin < text.size() && IsEndDebris(text[begin]))
        ++begin;
    std::size_t end = text.size();
    while (end > begin && IsEndDebris(text[end - 1]) && text[end - 1] != '.')
        --end;
    return text.substr(begin, end - begin);
}

std::string FirstOrEmpty(std::string_view a, std::string_view b) {
    std::string first = Value(a);
    return first.empty() ? Value(b) : first;
}

std::string OrDefault(std::string value, std::string_view fallback) {
    return value.empty() ? std::string(fallback) : value;
}

// "2/9" and "2" become "02"; a number is written without its leading zeros, at least two digits.
std::string TrackField(std::string_view tagged) {
    const std::string number = Value(tagged.substr(0, tagged.find('/')));
    bool digits = !number.empty();
    for (char c : number)
        digits = digits && IsDigit(c);
    if (!digits)
        return Value(tagged);
    const std::size_t firstNonZero = number.find_first_not_of('0');
    std::string plain = firstNonZero == std::string::npos ? "0" : number.substr(firstNonZero);
    if (plain.size() < 2)
        plain.insert(0, 2 - plain.size(), '0');
    return plain;
}

std::string DiscField(std::string_view tagged) {
    const std::string number = Value(tagged.substr(0, tagged.find('/')));
    bool digits = !number.empty();
    for (char c : number)
        digits = digits && IsDigit(c);
    if (!digits)
        return number;
    const std::size_t firstNonZero = number.find_first_not_of('0');
    return firstNonZero == std::string::npos ? "0" : number.substr(firstNonZero);
}

std::string YearField(std::string_view date) {
    for (std::size_t i = 0; i + 4 <= date.size(); ++i) {
        if (IsDigit(date[i]) && IsDigit(date[i + 1]) && IsDigit(date[i + 2]) &&
            IsDigit(date[i + 3]))
            return std::string(date.substr(i, 4));
    }
    return {};
}

// The folder levels of {folder}, each cleaned on its own; "." and ".." levels never survive.
std::vector<std::string> FolderLevels(std::string_view folder) {
    std::vector<std::string> levels;
    std::size_t start = 0;
    while (start <= folder.size()) {
        std::size_t end = folder.find('/', start);
        if (end == std::string_view::npos)
            end = folder.size();
        std::string level = TrimDebris(Value(folder.substr(start, end - start)));
        if (!level.empty())
            levels.push_back(std::move(level));
        start = end + 1;
    }
    return levels;
}

struct FieldValues {
    std::string artist, albumArtist, album, title, track, disc, year, genre, name, stem;
    std::vector<std::string> folder;

    explicit FieldValues(const NameSource& source) {
        const TrackTags& tags = source.tags;
        name = Value(source.name);
        stem = Value(source.stem);
        artist = OrDefault(FirstOrEmpty(tags.artist, tags.albumArtist), "Unknown Artist");
        albumArtist = OrDefault(FirstOrEmpty(tags.albumArtist, tags.artist), "Unknown Artist");
        album = OrDefault(Value(tags.album), "Unknown Album");
        title = OrDefault(Value(tags.title), name);
        track = TrackField(tags.track);
        disc = DiscField(tags.disc);
        year = YearField(tags.date);
        genre = Value(tags.genre);
        folder = FolderLevels(source.folder);
    }

    const std::string& text(std::string_view field) const {
        static const std::string none;
        if (field == "artist")
            return artist;
        if (field == "albumartist")
            return albumArtist;
        if (field == "album")
            return album;
        if (field == "title")
            return title;
        if (field == "track")
            return track;
        if (field == "disc")
            return disc;
        if (field == "year")
            return year;
        if (field == "genre")
            return genre;
        if (field == "name")
            return name;
        if (field == "stem")
            return stem;
        return none;
    }
};

// Puts one element together. A joiner is written only between two texts, so an empty field
// takes one of its separators with it.
class ElementBuilder {
public:
    void add(const std::string& text, bool literal) {
        if (text.empty())
            return;
        if (literal && IsJoiner(text)) {
            if (!out_.empty() && !pendingJoiner_)
                pendingJoiner_ = text;
            return;
        }
        if (pendingJoiner_)
            out_ += *pendingJoiner_;
        pendingJoiner_.reset();
        out_ += text;
    }

    std::string take() {
        std::string done = std::move(out_);
        out_.clear();
        pendingJoiner_.reset();
        return done;
    }

private:
    std::string out_;
    std::optional<std::string> pendingJoiner_;
};

void SetError(std::string* error, std::string text) {
    if (error)
        *error = std::move(text);
}

} // namespace

std::optional<NamePattern> NamePattern::Parse(const std::string& text, std::string* error) {
    if (text.find_first_not_of(" \t\r\n\v\f") == std::string::npos) {
        SetError(error, PK_TR("NamePattern", "the name pattern is empty"));
        return std::nullopt;
    }
    NamePattern pattern;
    pattern.text_ = text;
    std::string literal;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '}') {
            SetError(error, PK_TR("NamePattern", "a } without its { in the name pattern"));
            return std::nullopt;
        }
        if (c != '{') {
            literal += c;
            continue;
        }
        const std::size_t close = text.find('}', pos + 1);
        const std::size_t nextOpen = text.find('{', pos + 1);
        if (close == std::string::npos || nextOpen < close) {
            SetError(error, PK_TR("NamePattern", "a { without its } in the name pattern"));
            return std::nullopt;
        }
        const std::string name = text.substr(pos + 1, close - pos - 1);
        if (!IsKnownField(name)) {
            SetError(error, translation::Fill(
                                PK_TR("NamePattern", "unknown field {%1} in the name pattern"),
                                {Clean(name, false)}));
            return std::nullopt;
        }
        if (!literal.empty())
            pattern.pieces_.push_back({false, std::move(literal)});
        literal.clear();
        pattern.pieces_.push_back({true, name});
        pos = close;
    }
    if (!literal.empty())
        pattern.pieces_.push_back({false, std::move(literal)});

    // Only the literal text can climb out of the output folder: values are cleaned.
    if (text.front() == '/') {
        SetError(error, PK_TR("NamePattern", "the name pattern starts with /; it names a path "
                                             "below the output folder"));
        return std::nullopt;
    }
    bool climbs = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('/', start);
        if (end == std::string::npos)
            end = text.size();
        climbs = climbs || text.compare(start, end - start, "..") == 0;
        start = end + 1;
    }
    if (climbs) {
        SetError(error, PK_TR("NamePattern", "the name pattern names a parent folder (..)"));
        return std::nullopt;
    }
    return pattern;
}

std::vector<std::string> NamePattern::Render(const NameSource& source,
                                             std::size_t reservedBytes) const {
    const FieldValues values(source);
    std::vector<std::string> raw;
    ElementBuilder builder;
    for (const Piece& piece : pieces_) {
        if (piece.field && piece.text == "folder") {
            for (std::size_t i = 0; i < values.folder.size(); ++i) {
                if (i > 0)
                    raw.push_back(builder.take());
                builder.add(values.folder[i], false);
            }
            continue;
        }
        if (piece.field) {
            builder.add(values.text(piece.text), false);
            continue;
        }
        std::size_t start = 0;
        while (true) {
            const std::size_t slash = piece.text.find('/', start);
            const std::string part = piece.text.substr(start, slash - start);
            builder.add(Clean(part, false), true);
            if (slash == std::string::npos)
                break;
            raw.push_back(builder.take());
            start = slash + 1;
        }
    }
    raw.push_back(builder.take());

    const std::size_t lastLimit =
        reservedBytes < kMaxElementBytes ? kMaxElementBytes - reservedBytes : 1;
    const auto finish = [](const std::string& text, std::size_t limit) {
        return TrimDebris(CutUtf8(TrimDebris(Clean(text)), limit));
    };
    std::vector<std::string> elements;
    for (std::size_t i = 0; i + 1 < raw.size(); ++i) {
        std::string folder = finish(raw[i], kMaxElementBytes);
        if (!folder.empty())
            elements.push_back(std::move(folder));
    }
    std::string file = finish(raw.back(), lastLimit);
    for (const std::string& fallback : {values.name, values.stem, std::string("Untitled")}) {
        if (!file.empty())
            break;
        file = finish(fallback, lastLimit);
    }
    if (file.empty())
        file.assign(1, '_');
    elements.push_back(std::move(file));
    return elements;
}

const std::vector<std::string>& CommonNamePatterns() {
    static const std::vector<std::string> patterns = {
        "", "{stem}", "{artist}/{album}/{track} - {title}", "{artist} - {title}"};
    return patterns;
}
