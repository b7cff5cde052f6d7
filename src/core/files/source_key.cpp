#include "core/files/source_key.h"

#include <string_view>

std::string SourceKey(const std::string& path, const std::string& root) {
    std::string_view rest(path);
    if (!root.empty() && rest.starts_with(root) && rest.size() > root.size() &&
        (root.back() == '/' || rest[root.size()] == '/')) {
        rest.remove_prefix(root.size());
        while (rest.starts_with('/'))
            rest.remove_prefix(1);
        if (!rest.empty())
            return std::string(rest);
    }
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int ShareOf(const std::string& key, int shares) {
    if (shares <= 1)
        return 1;
    // FNV-1a: fixed constants, so shards started by different builds agree.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : key) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return static_cast<int>(hash % static_cast<std::uint64_t>(shares)) + 1;
}
